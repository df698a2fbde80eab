#include "sprite/SkinFrame.h"

#include "platform/system/Profile.h"
#include "sprite/AppServices.h"
#include "sprite/GdiRoutines.h"
#include "sprite/LayoutValues.h"

#include <cstdio>

const char* const CSkinFrame::kFramePieceKeys[kFramePieceCount] = {
    "bmp_titleleft",    "bmp_titlecenter",   "bmp_titlecenterA", "bmp_titleright",
    "bmp_titleleftNA",  "bmp_titlecenterNA", "bmp_titlerightNA", "bmp_titlerightA",
    "bmp_left",         "bmp_right",         "bmp_rightA",       "bmp_bottomleft",
    "bmp_bottomcenter", "bmp_bottomcenterA", "bmp_bottomright",  "bmp_bottomrightA",
};

namespace {

// "x,y"; the automatic place when the text is not two numbers.
POINT ParsePlace(const CString& text) {
    int x = 0, y = 0;
    if (sscanf(text, "%d,%d", &x, &y) != 2)
        return POINT{CSkinFrame::kAutoPlace, CSkinFrame::kAutoPlace};
    return POINT{x, y};
}

} // namespace

CSkinFrame::ButtonArt CSkinFrame::LoadButton(LPCSTR file, LPCSTR section, LPCSTR key,
                                             const CString& pos) {
    ButtonArt art;
    art.pos = ParsePlace(pos);
    HBITMAP bitmap = LoadThemeBitmap(file, section, key, m_strBitmapFolder);
    if (!bitmap) {
        WriteLog("Frame skin: [%s] %s has no picture; the button is left out", section, key);
        return art;
    }
    art.strip = std::make_shared<CBitmap>();
    art.strip->Attach(bitmap);
    const CSize size = GetHBitmapSize(bitmap);
    art.frameWidth = size.cx / 4;
    art.height = size.cy;
    return art;
}

BOOL CSkinFrame::LoadSkin(LPCSTR layoutFile, LPCSTR bitmapFolder) {
    m_strBitmapFolder = bitmapFolder ? bitmapFolder : "";
    BOOL complete = TRUE;
    for (int i = 0; i < kFramePieceCount; ++i) {
        m_strPieces[i] = ReadLayoutText(layoutFile, "FRAME", kFramePieceKeys[i], "");
        m_bmpPieces[i].DeleteObject();
        if (HBITMAP piece =
                LoadThemeBitmap(layoutFile, "FRAME", kFramePieceKeys[i],
                                m_strBitmapFolder.IsEmpty() ? nullptr : (LPCSTR)m_strBitmapFolder))
            m_bmpPieces[i].Attach(piece);
        if (!m_bmpPieces[i].GetSafeHandle()) {
            // Going on draws the frame without this piece rather than no frame.
            WriteLog("Frame skin: [FRAME] %s \"%s\" did not load", kFramePieceKeys[i],
                     (LPCSTR)m_strPieces[i]);
            complete = FALSE;
        }
    }
    m_nButtonInter = int(GetPrivateProfileInt("DEFAULT", "BUTTON_INTER", 0, layoutFile));
    const CString first = ReadLayoutText(layoutFile, "DEFAULT", "OFFSET_1STBTN", "", 20);
    int x = 0, y = 0;
    if (sscanf(first, "%d,%d", &x, &y) == 2)
        m_ptFirstButton = POINT{x, y};
    // Each colour that is missing or unreadable takes the one read before it.
    m_clrTransparent =
        ReadLayoutColor(layoutFile, "FRAME", "color_transparent", RGB(255, 255, 255));
    m_nRoundMax = int(GetPrivateProfileInt("FRAME", "roundmax", 0, layoutFile));
    m_clrKey = ReadLayoutColor(layoutFile, "DEFAULT", "KEYCOLOR", m_clrTransparent);
    m_clrText = ReadLayoutColor(layoutFile, "FRAME", "TextColor", m_clrKey);
    m_clrTextInactive = ReadLayoutColor(layoutFile, "FRAME", "TextColorNA", m_clrText);
    m_strFontName = ReadLayoutText(layoutFile, "FRAME", "font_name", "宋体");
    m_nFontSize = int(GetPrivateProfileInt("FRAME", "font_size", 16, layoutFile));

    m_strClose = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_close", "");
    m_strMax = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_max", "");
    m_strRestore = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_restore", "");
    m_strMin = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_min", "");
    m_strPosClose = ReadLayoutText(layoutFile, "SYS_BUTTON", "pos_close", "1000,1000", 20);
    m_strPosMax = ReadLayoutText(layoutFile, "SYS_BUTTON", "pos_max", "1000,1000", 20);
    m_strPosMin = ReadLayoutText(layoutFile, "SYS_BUTTON", "pos_min", "1000,1000", 20);
    m_sysButtons[SYS_CLOSE] = LoadButton(layoutFile, "SYS_BUTTON", "bmp_close", m_strPosClose);
    m_sysButtons[SYS_MAX] = LoadButton(layoutFile, "SYS_BUTTON", "bmp_max", m_strPosMax);
    m_sysButtons[SYS_RESTORE] = LoadButton(layoutFile, "SYS_BUTTON", "bmp_restore", m_strPosMax);
    m_sysButtons[SYS_MIN] = LoadButton(layoutFile, "SYS_BUTTON", "bmp_min", m_strPosMin);

    m_userButtons.clear();
    int count = int(GetPrivateProfileInt("USER_BUTTON", "count", 0, layoutFile));
    if (count > kMaxUserButtons)
        WriteLog("Frame skin: %d user buttons asked for, %d kept", count, kMaxUserButtons);
    count = count < 0 ? 0 : (count > kMaxUserButtons ? kMaxUserButtons : count);
    for (int i = 0; i < count; ++i) {
        CString key;
        UserButton button;
        key.Format("bmp_user%d", i);
        button.bitmap = ReadLayoutText(layoutFile, "USER_BUTTON", key, "");
        button.art = LoadButton(layoutFile, "USER_BUTTON", key, "");
        key.Format("pos_user%d", i);
        button.pos = ReadLayoutText(layoutFile, "USER_BUTTON", key, "1000,1000", 20);
        button.art.pos = ParsePlace(button.pos);
        key.Format("group_user%d", i);
        button.group = ReadLayoutText(layoutFile, "USER_BUTTON", key, "", 200);
        key.Format("tip_user%d", i);
        button.tip = ReadLayoutText(layoutFile, "USER_BUTTON", key, "", 50);
        m_userButtons.push_back(button);
    }
    return complete;
}

CSize CSkinFrame::PieceSize(int piece) const {
    if (piece < 0 || piece >= kFramePieceCount)
        return CSize();
    return GetBitmapSize(m_bmpPieces[piece]);
}

int CSkinFrame::GetFrameSize(int which) const {
    switch (which) {
    case 0:
        return PieceSize(LEFT).cx;
    case 1:
        return PieceSize(TITLE_CENTER).cy;
    case 2:
        return PieceSize(RIGHT).cx;
    case 3:
        return PieceSize(BOTTOM_CENTER).cy;
    default:
        return 0;
    }
}
