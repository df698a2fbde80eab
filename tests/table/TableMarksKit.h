#pragma once

// The seat marks and text animations without a table window: the marks made
// over the headless sprite window of CardTableTest, on its stepped clock and
// with its layout and window-fields record, from the default theme or one
// a test gives. What the marks ask of the window stands in: their host
// finds room where it is asked, and the panes they call on are a recording
// view.

#include "RecordingView.h"
#include "TableWindowKit.h"
#include "table/panes/MarkHost.h"
#include "table/panes/TableMarks.h"

#include <string>

namespace table_test {

// The window's side of the marks: the room it finds is where it is asked
// for, or moved by shift where a test says so; sounds and the settling of
// the other pictures are the window's, and go nowhere here.
class StandInMarkHost : public CMarkHost {
public:
    POINT shift{0, 0};

    CSpritePos ClearPlace(const CSpritePos& at, SIZE, int, TableRoomFor) override {
        CSpritePos room = at;
        room.x += shift.x;
        room.y += shift.y;
        return room;
    }
    void PlayGameSound(LPCSTR) override {}
    void SettleTablePictures() override {}
};

// The marks at my seat 0 of a player, the seats running the usual way round.
class TableMarksTest : public CardTableTest {
protected:
    void SetUp() override {
        CardTableTest::SetUp();
        UseTheme(kLayoutFile);
    }

    // The theme the text sprites are read from, its pictures in the folder
    // of its name, as the window gives it.
    void UseTheme(const std::string& themeFile) {
        marks.SetTheme(themeFile.c_str(), CGameWnd::BitmapFolderOf(themeFile.c_str()));
    }

    // What the sprite window draws of an id (null when it has no sprite).
    SPRITEINFO* Sprite(int id) { return wnd.GetSpriteAt(wnd.FindSpritePos(id)); }
    bool Shown(int id) { return Sprite(id) != nullptr && Sprite(id)->nChannel >= 0; }
    // The client point of a sprite's top left.
    POINT At(int id) {
        return Sprite(id) != nullptr ? POINT{Sprite(id)->x, Sprite(id)->y} : POINT{-9999, -9999};
    }
    SIZE SizeOf(int id) {
        return wnd.GetImageList().GetAt(Sprite(id)->posImage)->GetSize(Sprite(id));
    }

    StandInMarkHost host;
    RecordingView panes;
    CTableMarks marks{theBoard, wnd, host, fields, panes};
};

} // namespace table_test
