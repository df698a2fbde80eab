#pragma once

// The network layer's message boxes: the skinned box when a skin is in use,
// else the library's plain box; each runs modally and gives the button
// pressed (IDOK, IDCANCEL, IDYES, ...), or -1 when the box cannot be made.
// seconds: the box closes itself after that many seconds with its default
// button; 0 never.
//
// The boxes themselves are the UI kit's, a layer above this one: the
// library's start-up hands its box maker in with SetGameBoxMaker. Until then
// every box is one that cannot be made.

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

// One box to show, as the front ends above ask for it.
struct GameBoxRequest {
    LPCSTR text = nullptr; // null: the string resource stringId
    UINT stringId = 0;
    UINT style = 0; // without the second-input bit
    UINT seconds = 0;
    // Non-null: the box carries an input line and this receives the joined
    // input texts (or null), as GameMessageBoxOwner gives them.
    char** inputs = nullptr;
    BOOL secondInput = FALSE;
};

// Runs the box modally; gives the button pressed, or -1 when the box cannot
// be made (and then sets *inputs to null).
typedef int (*GameBoxMaker)(const GameBoxRequest& request);
// Null takes the maker away again. Gives the maker it replaces.
GameBoxMaker SetGameBoxMaker(GameBoxMaker maker);
