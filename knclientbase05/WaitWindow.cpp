#include "knclientbase05/WaitWindow.h"

namespace {

WaitWindowMaker waitWindowMaker = nullptr;

} // namespace

WaitWindowMaker SetWaitWindowMaker(WaitWindowMaker maker) {
    const WaitWindowMaker previous = waitWindowMaker;
    waitWindowMaker = maker;
    return previous;
}

std::unique_ptr<CWaitWindow> MakeWaitWindow() {
    return std::unique_ptr<CWaitWindow>(waitWindowMaker != nullptr ? waitWindowMaker() : nullptr);
}
