#pragma once

// Every private window message of the program, one name per id, in one
// list; the test run refuses two messages of one id. Senders and receivers
// by message:
//   WM_DEAL_CARD, WM_DEAL_DONE    deal pacing window to the table window:
//                                 wParam the card code (-1 another seat's),
//                                 lParam the seat; the deal is done
//   WM_SPRITEBUTTON_PRESS, _HOVER a sprite button to its owner: wParam the
//                                 item id; lParam 1 press, 0 release / 0
//                                 enter, 1 leave
//   WM_LOADING_STEP               the loading splash's own step
//   WM_PLAY_RECORD                the unattended play's own step
//   WM_TABLE_LEAVE                main window to the table window: leave
//                                 (panes removed, WM_CLOSE to the main window)
//   WM_CHAT_OWN_LINE, _RECEIVED   main window to the table window: lParam a
//                                 line I sent / the chat pane received
//   WM_GAME_RECORD                network client to the table window, sent:
//                                 wParam length, lParam the record
//   WM_SHELL_RESORT               dialogs to the main window: wParam 0 shows
//                                 the start buttons again, 1 re-sorts my hand
//                                 (lParam the new card order)
//   WM_LEAVE_TABLE                posted to the main window: leave the table
//                                 and close
//   WM_GUESS_RESULT               table window to the betting dialog: wParam
//                                 the beans won (0 or less: lost), lParam the
//                                 drawn card index 0..53
//   WM_SKIN_ENABLEBUTTON          to the skinned window: wParam a user
//                                 button's index, lParam its enabled flag
//   WM_SKIN_SHOWBUTTON            wParam the index, lParam non-zero shows it
//   WM_SKIN_USERBUTTON            from the skin: user button wParam clicked
//   WM_SKIN_ALTLOOK               wParam non-zero: the chat area hidden

#include "platform/Types.h"

#define PELLOR_WINDOW_MESSAGES(MESSAGE)                                                            \
    MESSAGE(WM_DEAL_CARD, 0x49C)                                                                   \
    MESSAGE(WM_DEAL_DONE, 0x49D)                                                                   \
    MESSAGE(WM_SPRITEBUTTON_PRESS, 0x54E)                                                          \
    MESSAGE(WM_SPRITEBUTTON_HOVER, 0x54F)                                                          \
    MESSAGE(WM_LOADING_STEP, 0x505)                                                                \
    MESSAGE(WM_PLAY_RECORD, 0x601)                                                                 \
    MESSAGE(WM_TABLE_LEAVE, 0x6A6)                                                                 \
    MESSAGE(WM_CHAT_OWN_LINE, 0x6A7)                                                               \
    MESSAGE(WM_CHAT_RECEIVED, 0x6A8)                                                               \
    MESSAGE(WM_GAME_RECORD, 0x1005)                                                                \
    MESSAGE(WM_SHELL_RESORT, 0x1006)                                                               \
    MESSAGE(WM_LEAVE_TABLE, 0x1007)                                                                \
    MESSAGE(WM_GUESS_RESULT, 0x1008)                                                               \
    MESSAGE(WM_SKIN_ENABLEBUTTON, 0x5523)                                                          \
    MESSAGE(WM_SKIN_SHOWBUTTON, 0x5524)                                                            \
    MESSAGE(WM_SKIN_USERBUTTON, 0x5525)                                                            \
    MESSAGE(WM_SKIN_ALTLOOK, 0x5526)

#define PELLOR_DECLARE_MESSAGE(name, id) constexpr UINT name = id;
PELLOR_WINDOW_MESSAGES(PELLOR_DECLARE_MESSAGE)
#undef PELLOR_DECLARE_MESSAGE

struct WindowMessageName {
    UINT id;
    const char* name;
};

#define PELLOR_NAME_MESSAGE(name, id) {id, #name},
constexpr WindowMessageName kWindowMessages[] = {PELLOR_WINDOW_MESSAGES(PELLOR_NAME_MESSAGE)};
#undef PELLOR_NAME_MESSAGE
