#pragma once

// What a socket hands the notices about other players to when a prompt
// window is attached to it: the client UI kit's rising prompt window takes
// the text and shows it over the table.

#include "platform/Types.h"

class CPromptTarget {
public:
    virtual ~CPromptTarget() = default;
    // FALSE for an empty text.
    virtual BOOL ShowPrompt(LPCSTR text) = 0;
};
