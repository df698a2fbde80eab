#include "platform/system/Module.h"

#include "platform/Errors.h"
#include "platform/system/Path.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct ModuleRecord {
    BuiltinModuleDefinition definition;
    bool registered = false;
    int loadCount = 0;
    int loadAttempts = 0; // LoadLibrary calls by this name, found or not
};

// Records are never destroyed, so a handle stays a valid address to check.
struct ModuleTable {
    std::recursive_mutex lock; // attach/detach may load other modules
    std::unordered_map<std::string, std::unique_ptr<ModuleRecord>> byName;
};

ModuleTable& Table() {
    static ModuleTable modules;
    return modules;
}

// "C:\x\KNMPDll.dll", "knmpdll" and "KNMPDLL.DLL" all name "knmpdll.dll".
std::string CanonicalName(const char* fileName) {
    std::string name = fileName;
    size_t slash = LastPathSeparator(name);
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (!name.empty() && name.back() == '.')
        name.pop_back(); // a trailing dot means "no extension"
    else if (name.find('.') == std::string::npos)
        name += ".dll";
    return name;
}

ModuleRecord* LoadedRecord(HMODULE module) {
    for (auto& [name, record] : Table().byName)
        if (reinterpret_cast<HMODULE>(record.get()) == module)
            return record->loadCount > 0 ? record.get() : nullptr;
    return nullptr;
}

DWORD CopyPath(const std::string& path, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= size) {
        memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    memcpy(buffer, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

} // namespace

bool RegisterBuiltinModule(const BuiltinModuleDefinition& definition) {
    if (definition.fileName.empty())
        return false;
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    std::unique_ptr<ModuleRecord>& record =
        Table().byName[CanonicalName(definition.fileName.c_str())];
    if (!record)
        record = std::make_unique<ModuleRecord>();
    if (record->loadCount > 0)
        return false;
    record->definition = definition;
    record->registered = true;
    return true;
}

bool UnregisterBuiltinModule(const char* fileName) {
    if (!fileName)
        return false;
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    auto found = Table().byName.find(CanonicalName(fileName));
    if (found == Table().byName.end() || !found->second->registered || found->second->loadCount > 0)
        return false;
    found->second->registered = false;
    return true;
}

bool FindBuiltinModule(LPCSTR fileName, BuiltinModuleDefinition& definition) {
    if (!fileName || !*fileName)
        return false;
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    auto found = Table().byName.find(CanonicalName(fileName));
    if (found == Table().byName.end() || !found->second->registered)
        return false;
    definition = found->second->definition;
    return true;
}

HMODULE LoadLibrary(LPCSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    std::unique_ptr<ModuleRecord>& found = Table().byName[CanonicalName(fileName)];
    if (!found)
        found = std::make_unique<ModuleRecord>();
    ++found->loadAttempts;
    if (!found->registered) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ModuleRecord& record = *found;
    if (record.loadCount++ == 0 && record.definition.attach)
        record.definition.attach();
    SetLastError(ERROR_SUCCESS);
    return reinterpret_cast<HMODULE>(&record);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    ModuleRecord* record = LoadedRecord(module);
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Small values are export ordinals, which built-in modules do not have.
    if (reinterpret_cast<uintptr_t>(procName) >= 0x10000)
        for (const BuiltinModuleExport& entry : record->definition.exports)
            if (entry.name && strcmp(entry.name, procName) == 0)
                return entry.address;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    ModuleRecord* record = LoadedRecord(module);
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--record->loadCount == 0 && record->definition.detach)
        record->definition.detach();
    return TRUE;
}

int BuiltinModuleLoadAttempts(LPCSTR fileName) {
    if (!fileName || !*fileName)
        return 0;
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    auto found = Table().byName.find(CanonicalName(fileName));
    return found == Table().byName.end() ? 0 : found->second->loadAttempts;
}

DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size) {
    std::string program = WindowsPath(ProgramPath());
    if (!module)
        return CopyPath(program, buffer, size);
    std::lock_guard<std::recursive_mutex> guard(Table().lock);
    ModuleRecord* record = LoadedRecord(module);
    if (!record) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    std::string folder = program.substr(0, LastPathSeparator(program) + 1);
    std::string name = record->definition.fileName;
    size_t slash = LastPathSeparator(name);
    return CopyPath(folder + (slash == std::string::npos ? name : name.substr(slash + 1)), buffer,
                    size);
}
