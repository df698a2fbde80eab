#include "knclientUI05/CodecLibrary.h"

#include <cstdio>

char g_szCodecLibraryFolder[MAX_PATH] = "";

CodecLibrary::CodecLibrary(const char* fileName, const char* const* names, int count, int required)
    : m_fileName(fileName), m_names(names), m_count(count < kMaxExports ? count : kMaxExports),
      m_required(required) {}

int CodecLibrary::Load() {
    if (m_module.load())
        return 1;
    if (m_failed.load())
        return 0;
    // The lock is made once whoever calls first (the first calls may race).
    std::call_once(m_lockMade, [this] { InitializeCriticalSection(&m_lock); });
    EnterCriticalSection(&m_lock);
    int result = 1;
    if (!m_module.load() && !m_failed.load()) {
        char path[MAX_PATH + 32];
        if (g_szCodecLibraryFolder[0])
            std::snprintf(path, sizeof path, "%s\\%s", g_szCodecLibraryFolder, m_fileName);
        else
            std::snprintf(path, sizeof path, "%s", m_fileName);
        HMODULE module = LoadLibrary(path);
        bool complete = module != nullptr;
        for (int i = 0; module && i < m_count; ++i) {
            m_exports[i] = GetProcAddress(module, m_names[i]);
            if (!m_exports[i] && i < m_required)
                complete = false;
        }
        if (complete) {
            m_module.store(module);
        } else {
            if (module)
                FreeLibrary(module);
            for (FARPROC& address : m_exports)
                address = nullptr;
            m_failed.store(true);
            result = 0;
        }
    } else {
        result = m_module.load() ? 1 : 0;
    }
    LeaveCriticalSection(&m_lock);
    return result;
}

FARPROC CodecLibrary::Export(int index) const {
    return m_module.load() && index >= 0 && index < m_count ? m_exports[index] : nullptr;
}
