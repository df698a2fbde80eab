#pragma once

// MCI command strings for MIDI sequences, played by the synthesiser
// (platform/MidiSynth.h) into the mixer:
//   open <file> [type sequencer] [alias <name>] [shareable] [wait]
//   play <name> [from <ms>] [notify]     from where it stopped, or from <ms>
//   pause <name>, resume <name>, stop <name>, close <name>, close all
//   setaudio <name> volume to <0..1000>
//   status <name> mode | length | position   (milliseconds)
// A file that is not a MIDI file this layer can check whole is refused at
// open. "play ... notify" posts MM_MCINOTIFY to the callback window when the
// sequence has played to its end (MCI_NOTIFY_SUCCESSFUL); a stop or close
// before then posts MCI_NOTIFY_ABORTED, another play MCI_NOTIFY_SUPERSEDED,
// and a pause keeps the notice for the end. lParam is the device id. One
// sequence plays at a time, as on one MIDI port. Every command is listed for
// tests; a refused file's reason goes to the debug output.

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
#define MCIERR_BAD_INTEGER 270
#define MCIERR_MISSING_PARAMETER 273
#define MCIERR_UNSUPPORTED_FUNCTION 274
#define MCIERR_FILE_NOT_FOUND 275
#define MCIERR_OUTOFRANGE 282
#define MCIERR_DUPLICATE_ALIAS 289
#define MCIERR_INVALID_FILE 296
#define MCIERR_SEQ_PORT_INUSE 337
#define MCIERR_SEQ_NOMIDIPRESENT 343

// 0 on success, else an MCIERR_ value. status answers in the answer buffer;
// every other command leaves it empty.
MCIERROR mciSendString(LPCSTR command, LPSTR answer, UINT answerSize, HWND callback);
#define mciSendStringA mciSendString

namespace platform {
// The commands sent, oldest first, and the aliases open now.
std::vector<std::string> SentMciCommands();
std::vector<std::string> OpenMciDevices();
void ClearMciCommands();
} // namespace platform
