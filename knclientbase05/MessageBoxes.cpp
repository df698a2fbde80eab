#include "knclientbase05/MessageBoxes.h"

#include "knclientbase05/DrawUtilities.h"
#include "knclientbase05/SkinSettings.h"
#include "platform/controls/MessageBox.h"

namespace {

constexpr UINT kSecondInputBit = 0x80000000;

GameBoxMaker boxMaker = nullptr;

int RunBox(const GameBoxRequest& request) {
    if (boxMaker != nullptr)
        return boxMaker(request);
    if (request.inputs != nullptr)
        *request.inputs = nullptr;
    return -1;
}

void ShowSkinNotice(LPCSTR text) {
    GameMessageBox(text, MB_OK, 0);
}

// A skin that cannot be used is told to the user in a message box.
const struct SkinNoticeInstaller {
    SkinNoticeInstaller() { SetSkinNoticeFunction(ShowSkinNotice); }
} installSkinNotice;

} // namespace

GameBoxMaker SetGameBoxMaker(GameBoxMaker maker) {
    const GameBoxMaker previous = boxMaker;
    boxMaker = maker;
    return previous;
}

int GameMessageBox(LPCSTR text, UINT style, UINT seconds) {
    GameBoxRequest request;
    request.text = text != nullptr ? text : "";
    request.style = style;
    request.seconds = seconds;
    return RunBox(request);
}

int GameMessageBoxId(UINT stringId, UINT style, UINT seconds) {
    GameBoxRequest request;
    request.stringId = stringId;
    request.style = style;
    request.seconds = seconds;
    return RunBox(request);
}

int GameMessageBoxOwner(LPCSTR text, UINT style, UINT seconds, char** texts) {
    CancelMainWindowModes();
    GameBoxRequest request;
    request.text = text != nullptr ? text : "";
    request.style = style & ~kSecondInputBit;
    request.seconds = seconds;
    request.inputs = texts;
    request.secondInput = (style & kSecondInputBit) != 0;
    return RunBox(request);
}

int CloseMenusAndMessageBox(LPCSTR text, UINT style, UINT seconds) {
    CancelMainWindowModes();
    return GameMessageBox(text, style, seconds);
}

int CloseMenusAndMessageBoxId(UINT stringId, UINT style, UINT seconds) {
    CancelMainWindowModes();
    return GameMessageBoxId(stringId, style, seconds);
}
