#pragma once

// The sound plug-in's interface: the object the "KNSound.dll" module creates
// through its export "CreateSoundObject", and the event sink through which
// the plug-in talks back to the table window. The table window's host calls
// only these operations.

#include "platform/Types.h"

// What the plug-in hands back: type 1 a text to show (data: a
// tagSOUNDTEXTEVENT), type 2 128 bytes for the other seats (data: the bytes).
class CEventSink {
public:
    virtual int OnSinkEvent(int type, int value, void* data, int size) = 0;

protected:
    ~CEventSink() = default;
};

enum { kSoundEventText = 1, kSoundEventPeerData = 2, kSoundPeerDataSize = 128 };

struct tagSOUNDTEXTEVENT {
    DWORD dwValue;
    DWORD dwFlags; // bit 0: show the text
    const char* pszText;
};

// Commands of IKNSoundObject::Command.
enum {
    kSoundCommandPosition = 1,   // data: int[2] screen point, size 8
    kSoundCommandThemeFile = 2,  // data: path of the theme sound settings
    kSoundCommandSink = 3,       // data: the CEventSink
    kSoundCommandPlayerInfo = 4, // data: WORD (flag << 8) | seat
};

class IKNSoundObject {
public:
    virtual void Release() = 0;
    virtual int Command(int command, void* data, int size) = 0;
    virtual int Setup(const char* product, int first, int second) = 0;
    virtual int ShowPanel(int value, int mode) = 0;
    virtual int OnPeerData(const void* data) = 0;

protected:
    virtual ~IKNSoundObject() = default;
};

// The module's export.
typedef IKNSoundObject* (*CreateSoundObjectProc)(const char* product, DWORD flags, HWND owner);
