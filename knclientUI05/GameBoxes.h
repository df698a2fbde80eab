#pragma once

// The UI kit's side of the network layer's message boxes: builds the box a
// request asks for and runs it.

#include "knclientbase05/MessageBoxes.h"

int RunGameBox(const GameBoxRequest& request);

// Makes RunGameBox the network layer's box maker; the library's start-up
// calls it.
void InstallGameBoxes();
