#pragma once

// The program brought up in a benchmark's own process, as AppBench and
// RecordLatencyBench do: a program folder of its own (the build's assets
// linked in, a settings file that may be written, the log this run's own),
// the headless display, and the launch record pointing at a table host in
// the same process. The application and its client are the program's single
// global objects, so a process starts the program once.

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "outside/CrtArguments.h"
#include "platform/DisplayDriver.h"
#include "platform/display/Display.h"
#include "platform/net/Winsock.h"
#include "platform/window/DisplayInstall.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace bench_program {

inline double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

class InProcessProgram {
public:
    InProcessProgram() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "pellor-bench-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        for (const fs::directory_entry& entry : fs::directory_iterator(PELLOR_ASSET_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name == "pellor2.ini")
                fs::copy_file(entry.path(), m_folder + "/" + name);
            else if (name != "Pellor" && name != "snapshot" && name != "Pellor2.log")
                fs::create_symlink(entry.path(), m_folder + "/" + name);
        }
        fs::create_directory(m_folder + "/config");
        setenv("PELLOR_CONFIG_DIR", (m_folder + "/config").c_str(), 1);
        SetExeFolderOverride((m_folder + "/").c_str());
        platform::StartDisplay(platform::DisplayKind::Headless);
        AfxSocketInit();
    }
    ~InProcessProgram() {
        theApp.ExitInstance();
        platform::SetDisplayDriver(nullptr);
        platform::StopDisplay();
        SetExeFolderOverride(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    InProcessProgram(const InProcessProgram&) = delete;
    InProcessProgram& operator=(const InProcessProgram&) = delete;

    // Draws through this driver instead of the display's own (which must
    // outlive the program); before the program starts.
    void UseDriver(platform::DisplayDriver* driver) { platform::SetDisplayDriver(driver); }

    // The launch record for the seat (from 1; above 6 watches) at the host's
    // port, unattended: questions are answered OK.
    void Launch(int seat, UINT port) {
        m_texts = {"Pellor",    std::to_string(seat), "bench", "Bench",     "ticket", "0",   "room",
                   "127.0.0.1", std::to_string(port), "extra", "127.0.0.1", "7002",   "lv1", "0"};
        m_pointers.clear();
        for (std::string& text : m_texts)
            m_pointers.push_back(text.data());
        m_pointers.push_back(nullptr);
        __argc = int(m_texts.size());
        __argv = m_pointers.data();
        theApp.m_bUnattended = TRUE;
    }

private:
    std::string m_folder;
    std::vector<std::string> m_texts;
    std::vector<char*> m_pointers;
};

} // namespace bench_program
