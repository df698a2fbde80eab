#pragma once

// The colour-key regions of the skinned dialogs' backgrounds, one per
// background name (letter case ignored) for the life of the library.

#include "platform/Types.h"

// The cached region of the name, or null. The cache keeps ownership.
HRGN FindSkinRegion(LPCSTR name);
// Takes the region over; FALSE when it cannot be kept (a name longer than
// 63 characters, or no memory): the caller keeps the region then.
BOOL CacheSkinRegion(LPCSTR name, HRGN region);
int SkinRegionCount();
