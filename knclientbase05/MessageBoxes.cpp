#include "knclientbase05/MessageBoxes.h"

#include "knclientUI05/MsgBoxDlg.h"
#include "knclientbase05/DrawUtilities.h"
#include "knclientbase05/SkinPaths.h"
#include "platform/controls/MessageBox.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr UINT kSecondInputBit = 0x80000000;

// The skinned box takes theSkin.bSkinInUse once it exists; until then every
// box is the plain one.
int RunBox(CMsgBoxDlg& box) {
    const int ended = box.DoModal();
    if (ended == -1)
        return -1;
    // With an input line the box ends with IDOK whatever was pressed: the
    // button is what the caller asked.
    return box.m_nResult != -1 ? box.m_nResult : ended;
}

char* JoinedInputs(const CMsgBoxDlg& box) {
    if (box.m_strInput1.IsEmpty() && box.m_strInput2.IsEmpty())
        return nullptr;
    const size_t size = size_t(box.m_strInput1.GetLength() + box.m_strInput2.GetLength()) + 1;
    char* joined = static_cast<char*>(malloc(size));
    if (joined != nullptr)
        snprintf(joined, size, "%s%s", box.m_strInput1.GetString(), box.m_strInput2.GetString());
    return joined;
}

void ShowSkinNotice(LPCSTR text) {
    GameMessageBox(text, MB_OK, 0);
}

// A skin that cannot be used is told to the user in a message box.
const struct SkinNoticeInstaller {
    SkinNoticeInstaller() { SetSkinNoticeFunction(ShowSkinNotice); }
} installSkinNotice;

} // namespace

int GameMessageBox(LPCSTR text, UINT style, UINT seconds) {
    CMsgBoxDlg box(text, style, int(seconds));
    return RunBox(box);
}

int GameMessageBoxId(UINT stringId, UINT style, UINT seconds) {
    CMsgBoxDlg box(stringId, style, int(seconds));
    return RunBox(box);
}

int GameMessageBoxOwner(LPCSTR text, UINT style, UINT seconds, char** texts) {
    CancelMainWindowModes();
    CMsgBoxDlg box(texts != nullptr, text, style, int(seconds));
    if (style & kSecondInputBit)
        box.m_bSecondInput = TRUE;
    const int result = RunBox(box);
    if (texts != nullptr)
        *texts = result == -1 ? nullptr : JoinedInputs(box);
    return result;
}

int CloseMenusAndMessageBox(LPCSTR text, UINT style, UINT seconds) {
    CancelMainWindowModes();
    return GameMessageBox(text, style, seconds);
}

int CloseMenusAndMessageBoxId(UINT stringId, UINT style, UINT seconds) {
    CancelMainWindowModes();
    return GameMessageBoxId(stringId, style, seconds);
}
