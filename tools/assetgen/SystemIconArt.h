#pragma once

// The system's shared icons, drawn by us: the application (a small window),
// hand/error (a white cross on red), question and asterisk/information
// (white marks on blue) and exclamation/warning (a black mark on a yellow
// triangle). 32 x 32, straight alpha.

#include "platform/gdi/PixelImage.h"

// id is 32512 (application) to 32516 (asterisk), the IDI_ numbers.
platform::PixelImage SystemIconPicture(int id);
