#pragma once

// The records of the sprite window: one per sprite, one per animation channel,
// one per entry of a sprite group. They live only in memory.

#include "platform/PtrList.h"
#include "platform/Types.h"

#include <functional>

class CSpriteLine;

// What a play or a group does when it ends: it runs where the end event is
// handed to the window, and is dropped when the play ends without notice (a
// quiet stop, a restart, the window's destruction).
using SpriteDone = std::function<void()>;

struct SPRITEINFO {
    int nUser[3];       // caller words: the first from AddSprite's value; images read them
    POSITION posImage;  // in the window's image list
    CSpriteLine* pLine; // owned by the sprite
    int z;
    int nPasses; // 0 = endless, n = end after n traversals or frame cycles
    int x;       // the sprite's point, client coordinates
    int y;
    BYTE alpha;    // 255 = opaque
    int nInterval; // the line's next step in ticks; -1 = arrived
    int nChannel;  // -1 = not playing
    char szName[52];
    BOOL bAutoRemove;
    int nId;
    BOOL bShown;
};

enum SpriteNotifyMode { kNotifyNone = 0, kNotifyWindow = 1, kNotifyGroup = 100 };

struct SPRITEWND_CHANNEL {
    POSITION posSprite; // null = free
    int nPassesDone;
    BYTE step;  // 0..255 along the line, 255 = at its end
    int nFrame; // -1 before the first frame
    int nNotifyParam;
    int nNotifyMode;
};

struct SPRITEGROUPITEM {
    POSITION posSprite;
    CSpriteLine* pLine; // given to the sprite when the entry starts; null = keep its line
    int z;              // -1 = keep
    BYTE waitFor[30];   // indexes of other entries; 0xFF = none
    BYTE waitCount;
    int nWaitMode; // 0 all listed ended, 1 any ended, 2 all started, 3 any started
    int nDelay;    // ticks
    int nEndValue; // handed to OnGroupItemEnd
};

enum GroupEntryState { kEntryIdle = 0, kEntryDelayed = 1, kEntryPlaying = 2, kEntryEnded = 3 };
