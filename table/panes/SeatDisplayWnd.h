#pragma once

// One seat's player picture: a hidden child of the table window that draws a
// 150 x 190 picture, chosen from the seat's user name, into the table's
// memory DC at the size of the seat's picture frame. A frame smaller than the
// picture shows its middle part; a larger one shows it centred.

#include "platform/window/Wnd.h"

class CSeatDisplayWnd : public CWnd {
public:
    enum {
        kPictureWidth = 150,
        kPictureHeight = 190,
        kFirstControlId = 27000,
        kNameRecordSize = 116,
        kDefaultFrameWidth = 71,
        kDefaultFrameHeight = 96,
    };

    CSeatDisplayWnd();

    // FALSE when the parent has no window.
    BOOL Create(LPCSTR userName, int value, CWnd* parent, int seat);
    void SetName(LPCSTR userName, int value);
    // Sets the name when it differs from the one held.
    void FollowName(LPCSTR userName, int value);
    // Draws the picture into the frame (frameWidth x frameHeight, 0 for the
    // defaults) at (x, y); nothing while there is no window.
    void Draw(HDC dc, int x, int y, int frameWidth, int frameHeight);

    // The offsets of the picture in a frame of that size; both are kept.
    static int HorizontalOffset(int frameWidth);
    static int VerticalOffset(int frameHeight);

    const char* GetNameRecord() const { return m_NameRecord; }
    int GetHorizontalOffset() const { return m_nHOffset; }
    int GetVerticalOffset() const { return m_nVOffset; }
    // Which of the pictures the name chose.
    int GetPictureIndex() const;

private:
    void PaintPicture(HDC dc, int left, int top) const;

    char m_NameRecord[kNameRecordSize];
    int m_nHOffset;
    int m_nVOffset;
};
