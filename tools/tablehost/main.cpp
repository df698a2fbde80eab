// tablehost: the local table host as a program of its own. It serves one
// table on loopback until it is killed; see --help.

#include "platform/window/Messages.h"
#include "tools/tablehost/HostOptions.h"

#include <cstdio>
#include <ctime>
#include <memory>

int main(int argc, char** argv) {
    HostCommandLine commandLine;
    std::string error;
    if (!ParseHostCommandLine(argc, argv, commandLine, error)) {
        fprintf(stderr, "tablehost: %s\n%s", error.c_str(), kHostUsage);
        return 2;
    }
    if (commandLine.help) {
        fputs(kHostUsage, stdout);
        return 0;
    }
    FILE* log = nullptr;
    if (commandLine.logPath == "-") {
        log = stderr;
    } else if (!commandLine.logPath.empty()) {
        log = fopen(commandLine.logPath.c_str(), "a");
        if (log == nullptr) {
            fprintf(stderr, "tablehost: cannot open log file %s\n", commandLine.logPath.c_str());
            return 2;
        }
    }
    if (log != nullptr) {
        commandLine.host.log = [log](const std::string& line) {
            const time_t now = time(nullptr);
            char stamp[32];
            strftime(stamp, sizeof stamp, "%H:%M:%S", localtime(&now));
            fprintf(log, "%s %s\n", stamp, line.c_str());
            fflush(log);
        };
    }
    AfxSocketInit();
    auto host = std::make_unique<CTableHost>(commandLine.host);
    if (!host->Start()) {
        fprintf(stderr, "tablehost: cannot listen on port %u\n", commandLine.host.port);
        return 1;
    }
    // Ready: scripts wait for this line before they start a client.
    printf("tablehost listening on 127.0.0.1:%u\n", host->Port());
    if (host->P80Port() != 0)
        printf("tablehost P80 port 127.0.0.1:%u\n", host->P80Port());
    fflush(stdout);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0))
        DispatchMessage(&msg);
    return 0;
}
