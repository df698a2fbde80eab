#include "knclientUI05/GameBoxes.h"

#include "knclientUI05/MsgBoxDlg.h"

#include <cstdio>
#include <cstdlib>

namespace {

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

} // namespace

int RunGameBox(const GameBoxRequest& request) {
    const int seconds = int(request.seconds);
    if (request.inputs != nullptr) {
        CMsgBoxDlg box(TRUE, request.text, request.style, seconds);
        box.m_bSecondInput = request.secondInput;
        const int result = RunBox(box);
        *request.inputs = result == -1 ? nullptr : JoinedInputs(box);
        return result;
    }
    if (request.text == nullptr) {
        CMsgBoxDlg box(request.stringId, request.style, seconds);
        return RunBox(box);
    }
    CMsgBoxDlg box(request.text, request.style, seconds);
    return RunBox(box);
}

void InstallGameBoxes() {
    SetGameBoxMaker(RunGameBox);
}
