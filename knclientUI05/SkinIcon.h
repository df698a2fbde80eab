#pragma once

// The icon a skin value names, as the skinned message and wait boxes load
// it.

#include "platform/CString.h"
#include "platform/resources/Icon.h"

// Loaded at 64 x 64: a resource id of the theme library in its mode, else a
// file in the skin picture folder. Null when it does not load (or the path
// would be too long).
HICON LoadSkinIcon(const CString& value);
