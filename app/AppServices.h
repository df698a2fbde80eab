#pragma once
// What the shell adds to its services for start-up and tests: the clock of
// the log's time stamps, the presenter behind ShowMessageBox, and the system
// line written into the chat control. The services themselves are declared
// in sprite/AppServices.h.

#include "sprite/AppServices.h"

#include <ctime>
#include <functional>

// The time stamped on log lines; an empty function restores the real clock.
void SetLogClock(std::function<time_t()> now);

// What ShowMessageBox shows the text with. Until one is set (or after null)
// the text is only logged and the answer is IDCANCEL, so no question is
// taken as agreed to.
using MessageBoxPresenter = int (*)(const CString& text);
void SetMessageBoxPresenter(MessageBoxPresenter presenter);

// The chat control's member that appends marked-up text.
constexpr long kChatAppendTextId = 75;
// "\r\n<s=10,c=#00#00#FF,b>" then the text: a bold blue system line.
CString ChatSysLine(LPCSTR text);
// Appends the system line to the chat control; nothing when there is none.
void AppendChatSysText(HWND chatCtrl, LPCSTR text);
