#include "sprite/SkinFrame.h"

#include "platform/system/Profile.h"
#include "sprite/LayoutValues.h"

const char* const CSkinFrame::kFramePieceKeys[kFramePieceCount] = {
    "bmp_titleleft",    "bmp_titlecenter",   "bmp_titlecenterA", "bmp_titleright",
    "bmp_titleleftNA",  "bmp_titlecenterNA", "bmp_titlerightNA", "bmp_titlerightA",
    "bmp_left",         "bmp_right",         "bmp_rightA",       "bmp_bottomleft",
    "bmp_bottomcenter", "bmp_bottomcenterA", "bmp_bottomright",  "bmp_bottomrightA",
};

namespace {
// The user buttons a frame may carry; more would not fit a title bar.
constexpr int kMaxUserButtons = 16;
} // namespace

BOOL CSkinFrame::LoadSkin(LPCSTR layoutFile, LPCSTR bitmapFolder) {
    m_strBitmapFolder = bitmapFolder ? bitmapFolder : "";
    BOOL complete = TRUE;
    for (int i = 0; i < kFramePieceCount; ++i) {
        m_strPieces[i] = ReadLayoutText(layoutFile, "FRAME", kFramePieceKeys[i], "");
        complete = complete && !m_strPieces[i].IsEmpty();
    }
    m_clrTransparent =
        ReadLayoutColor(layoutFile, "FRAME", "color_transparent", RGB(255, 255, 255));
    m_nRoundMax = int(GetPrivateProfileInt("FRAME", "roundmax", 0, layoutFile));
    m_clrText = ReadLayoutColor(layoutFile, "FRAME", "TextColor", RGB(255, 255, 255));
    m_clrTextInactive = ReadLayoutColor(layoutFile, "FRAME", "TextColorNA", m_clrText);
    m_strFontName = ReadLayoutText(layoutFile, "FRAME", "font_name", "宋体");
    m_nFontSize = int(GetPrivateProfileInt("FRAME", "font_size", 16, layoutFile));

    m_strClose = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_close", "");
    m_strMax = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_max", "");
    m_strRestore = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_restore", "");
    m_strMin = ReadLayoutText(layoutFile, "SYS_BUTTON", "bmp_min", "");
    m_strPosClose = ReadLayoutText(layoutFile, "SYS_BUTTON", "pos_close", "1000,1000");
    m_strPosMax = ReadLayoutText(layoutFile, "SYS_BUTTON", "pos_max", "1000,1000");
    m_strPosMin = ReadLayoutText(layoutFile, "SYS_BUTTON", "pos_min", "1000,1000");

    m_userButtons.clear();
    int count = int(GetPrivateProfileInt("USER_BUTTON", "count", 0, layoutFile));
    count = count < 0 ? 0 : (count > kMaxUserButtons ? kMaxUserButtons : count);
    for (int i = 0; i < count; ++i) {
        CString key;
        UserButton button;
        key.Format("bmp_user%d", i);
        button.bitmap = ReadLayoutText(layoutFile, "USER_BUTTON", key, "");
        key.Format("pos_user%d", i);
        button.pos = ReadLayoutText(layoutFile, "USER_BUTTON", key, "1000,1000");
        key.Format("group_user%d", i);
        button.group = ReadLayoutText(layoutFile, "USER_BUTTON", key, "");
        key.Format("tip_user%d", i);
        button.tip = ReadLayoutText(layoutFile, "USER_BUTTON", key, "");
        m_userButtons.push_back(button);
    }
    return complete;
}
