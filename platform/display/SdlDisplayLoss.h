#pragma once

// What the SDL display does with the errors of its X server.
//
// When the server goes away under it (the desktop session ended, the server
// was killed) the process ends at once with a line on the error output. Left
// to Xlib, the process would exit through its static destructors, whose SDL
// and X calls on the dead connection spin for ever.
//
// A request the server refuses (a window that is gone by the time SDL's
// wake-up reaches it, as tips and pop-ups come and go under a busy table)
// is told on the error output and the program goes on. Left to Xlib, such
// an error ends the program on the spot.

namespace platform {

// Call once SDL's video has started; does nothing unless it runs on X.
void HandleXServerErrors();

} // namespace platform
