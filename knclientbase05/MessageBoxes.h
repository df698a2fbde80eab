#pragma once

// The network layer's message boxes: the skinned box when a skin is in use,
// else the library's plain box; each runs modally and gives the button
// pressed (IDOK, IDCANCEL, IDYES, ...), or -1 when the box cannot be made.
// seconds: the box closes itself after that many seconds with its default
// button; 0 never.

#include "platform/Types.h"

// What the library's notices go through when the client has set no tip
// callbacks of its own: the text and string-id front ends below fit them.
typedef int (*TipTextCallback)(LPCSTR text, UINT style, UINT seconds);
typedef int (*TipIdCallback)(UINT stringId, UINT style, UINT seconds);

int GameMessageBox(LPCSTR text, UINT style, UINT seconds);
int GameMessageBoxId(UINT stringId, UINT style, UINT seconds);
// With texts given, the box carries an input line; *texts then receives its
// two input controls' texts joined (malloc'd: the caller frees it), or null
// when both are empty. Bit 31 of the style puts the line in the second
// input control. Gives the button pressed.
int GameMessageBoxOwner(LPCSTR text, UINT style, UINT seconds, char** texts);
// Closes menus and captures of the main window's children first.
int CloseMenusAndMessageBox(LPCSTR text, UINT style, UINT seconds);
int CloseMenusAndMessageBoxId(UINT stringId, UINT style, UINT seconds);
