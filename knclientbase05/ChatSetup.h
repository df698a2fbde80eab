#pragma once

// The framework's chat set-up for the older chat control, and a few small
// services of the same source: message-box forwarders, opening a document,
// display queries.

#include "platform/Types.h"

class CKNChat;

// Connects the control to the launch record's chat server, declares the
// columns (user name and nickname always; the short text and the number
// value when a caption id is given for them; a fifth column when a text is
// given) and enters the player's row. Nothing happens for a null control.
void SetupChatControl(CKNChat* chat, UINT caption3, UINT caption4, LPCSTR text5);

// The table number the framework's own login gave; 2 until it has run.
WORD GetFrameworkTableNumber();
void SetFrameworkTableNumber(WORD tableNumber);

int ShowGameMessage(LPCSTR text, UINT style);
int ShowGameMessageId(UINT stringId, UINT style);
// The shell's "open" of a file or address.
HINSTANCE OpenDocument(LPCSTR path);
// 1 for a desktop of 8 bits per pixel or fewer, or none at all.
int IsLowColorDisplay();
int GetFullScreenWidth();
int GetFullScreenHeight();
