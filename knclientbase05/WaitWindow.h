#pragma once

// The wait window the entry into a game shows while it connects: one line
// of text, no cancel button. The windows themselves are the UI kit's, a
// layer above: the library's start-up hands its maker in. Without a maker
// there is no window and the progress goes to the log only.

#include "platform/Types.h"

#include <memory>

class CWaitWindow {
public:
    virtual ~CWaitWindow() = default;
    // Shows (or re-fits the window to) the string resource's text.
    virtual void ShowText(UINT stringId) = 0;
};

// A new window, or null.
typedef CWaitWindow* (*WaitWindowMaker)();
// Null takes the maker away again. Gives the maker it replaces.
WaitWindowMaker SetWaitWindowMaker(WaitWindowMaker maker);
// Destroying the window closes it.
std::unique_ptr<CWaitWindow> MakeWaitWindow();
