#include "knclientUI05/GameBoxes.h"

#include "knclientUI05/MsgBoxDlg.h"
#include "knclientUI05/SkinMsgBox.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/SkinSettings.h"

#include <cstdio>
#include <cstdlib>

namespace {

template <class Box> int RunBox(Box& box) {
    const int ended = box.DoModal();
    if (ended == -1)
        return -1;
    // With an input line the box ends with IDOK whatever was pressed: the
    // button is what the caller asked.
    return box.m_nResult != -1 ? box.m_nResult : ended;
}

template <class Box> char* JoinedInputs(const Box& box) {
    if (box.m_strInput1.IsEmpty() && box.m_strInput2.IsEmpty())
        return nullptr;
    const size_t size = size_t(box.m_strInput1.GetLength() + box.m_strInput2.GetLength()) + 1;
    char* joined = static_cast<char*>(malloc(size));
    if (joined != nullptr)
        snprintf(joined, size, "%s%s", box.m_strInput1.GetString(), box.m_strInput2.GetString());
    return joined;
}

template <class Box> int RunRequest(const GameBoxRequest& request) {
    const int seconds = int(request.seconds);
    if (request.inputs != nullptr) {
        Box box(TRUE, request.text, request.style, seconds);
        box.m_bSecondInput = request.secondInput;
        const int result = RunBox(box);
        *request.inputs = result == -1 ? nullptr : JoinedInputs(box);
        return result;
    }
    if (request.text == nullptr) {
        Box box(request.stringId, request.style, seconds);
        return RunBox(box);
    }
    Box box(request.text, request.style, seconds);
    return RunBox(box);
}

} // namespace

int RunGameBox(const GameBoxRequest& request) {
    if (theSkin.bSkinInUse) {
        const int result = RunRequest<CSkinMsgBox>(request);
        if (result != -1)
            return result;
        // A skin that cannot make its box (a missing background or close
        // button) must not swallow the question: the plain box asks it.
        DebugTrace("the skinned message box cannot be made; the plain box is shown");
    }
    return RunRequest<CMsgBoxDlg>(request);
}

void InstallGameBoxes() {
    SetGameBoxMaker(RunGameBox);
}
