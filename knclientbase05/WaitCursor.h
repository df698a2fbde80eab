#pragma once

// The application's wait cursor for as long as the object lives, so every
// way out of a blocking exchange puts the previous cursor back.

#include "platform/window/Cursor.h"

class CWaitCursorScope {
public:
    CWaitCursorScope() : m_previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursorScope() { SetCursor(m_previous); }
    CWaitCursorScope(const CWaitCursorScope&) = delete;
    CWaitCursorScope& operator=(const CWaitCursorScope&) = delete;

private:
    HCURSOR m_previous;
};
