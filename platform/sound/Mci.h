#pragma once

// MCI command strings for MIDI sequences: "open <file> type sequencer alias
// <name>", "play <name> [from <n>] [notify]", "stop <name>", "close <name>"
// and "close all". There is no synthesiser here: a sequence opens when its
// file exists and plays silently, ending at once, so "play ... notify" posts
// MM_MCINOTIFY (MCI_NOTIFY_SUCCESSFUL) to the callback window straight away.
// Every command is listed for tests.

#include "platform/Types.h"

#include <string>
#include <vector>

typedef DWORD MCIERROR;

#define MM_MCINOTIFY 0x03B9
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008

#define MCIERR_INVALID_DEVICE_ID 257
#define MCIERR_UNRECOGNIZED_KEYWORD 259
#define MCIERR_UNRECOGNIZED_COMMAND 261
#define MCIERR_INVALID_DEVICE_NAME 263
#define MCIERR_FILE_NOT_FOUND 275
#define MCIERR_MISSING_PARAMETER 273
#define MCIERR_DUPLICATE_ALIAS 289

// 0 on success, else an MCIERR_ value; the answer text is left empty.
MCIERROR mciSendString(LPCSTR command, LPSTR answer, UINT answerSize, HWND callback);
#define mciSendStringA mciSendString

namespace platform {
// The commands sent, oldest first, and the aliases open now.
std::vector<std::string> SentMciCommands();
std::vector<std::string> OpenMciDevices();
void ClearMciCommands();
} // namespace platform
