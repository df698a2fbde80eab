#pragma once

// The skinned dialog's frame steps its files share: placing the caption
// buttons at the skin's offsets, and maximising or restoring by the skin's
// own button.

#include "knclientUI05/KNGameDialog.h"

void PlaceCaptionButtons(CKNGameDialog& dialog, int windowWidth);
// With setPicture the maximise button shows its restore picture while zoomed.
void ToggleMaximise(CKNGameDialog& dialog, BOOL setPicture);
