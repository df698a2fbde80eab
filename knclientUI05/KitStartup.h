#pragma once

// The UI kit's windows that the network layer, a layer below, makes through
// makers the library's start-up installs (its message boxes: GameBoxes.h).

// The network layer's wait window: the skinned dialog while the library's
// skin is in use, else the plain one.
void InstallWaitWindows();

// Makes the network layer's web pop-ups quick-buy pop-ups.
void InstallQuickbuyPopup();
