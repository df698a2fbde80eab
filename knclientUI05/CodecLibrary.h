#pragma once

// The binding of one codec library loaded by name on first use: its module,
// a failure remembered for good, a lock of its own, and its exports resolved
// in table order. Once loaded it stays loaded; once failed (missing, or
// short of a required export) it is never tried again and every call
// through it gives 0.

#include "platform/system/Module.h"
#include "platform/system/Thread.h"

#include <atomic>
#include <mutex>

// The folder the codec libraries are loaded from; empty (the default, and
// nothing sets it) loads the bare file name.
extern char g_szCodecLibraryFolder[MAX_PATH];

class CodecLibrary {
public:
    static constexpr int kMaxExports = 21;

    // names: the exports in resolving order; the first `required` must exist.
    CodecLibrary(const char* fileName, const char* const* names, int count, int required);
    CodecLibrary(const CodecLibrary&) = delete;
    CodecLibrary& operator=(const CodecLibrary&) = delete;

    // 1 when the library is (now) loaded, 0 when it is unavailable.
    int Load();
    // The export, or null (not loaded, or not offered).
    FARPROC Export(int index) const;
    bool Loaded() const { return m_module.load() != nullptr; }
    bool Failed() const { return m_failed.load(); }

    // Loads when needed and calls the export; 0 when the library is unavailable.
    template <typename Proc, typename... Args> auto Call(int index, Args... args) {
        using Result = decltype(reinterpret_cast<Proc>(FARPROC())(args...));
        if (!Load())
            return Result();
        return reinterpret_cast<Proc>(Export(index))(args...);
    }

private:
    const char* m_fileName;
    const char* const* m_names;
    int m_count;
    int m_required;
    std::atomic<HMODULE> m_module{nullptr};
    std::atomic<bool> m_failed{false};
    std::once_flag m_lockMade;
    CRITICAL_SECTION m_lock;
    FARPROC m_exports[kMaxExports] = {};
};
