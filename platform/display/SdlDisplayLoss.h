#pragma once

// What the SDL display does when its X server goes away under it (the
// desktop session ended, the server was killed): the process ends at once
// with a line on the error output. Left to Xlib, the process would exit
// through its static destructors, whose SDL and X calls on the dead
// connection spin for ever.

namespace platform {

// Call once SDL's video has started; does nothing unless it runs on X.
void EndProcessWhenTheXDisplayGoes();

} // namespace platform
