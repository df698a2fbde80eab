#include "knclientbase05/SocketStartup.h"

namespace {
WSADATA startupData = {};
} // namespace

int SocketStartup() {
    WSADATA reported = {};
    if (!AfxSocketInit(&reported))
        return 0;
    startupData = reported;
    return 1;
}

const WSADATA& GetSocketStartupData() {
    return startupData;
}
