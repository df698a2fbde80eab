#include "platform/system/Registry.h"

#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"
#include "platform/system/RegistryTree.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

struct OpenKey {
    size_t root = 0;
    std::vector<std::string> path;
    REGSAM access = 0;
};

// Which file the tree was read from, to notice another process's rewrite.
struct FileIdentity {
    std::string path;
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileIdentity& other) const {
        return path == other.path && present == other.present && device == other.device &&
               inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct RegistryState {
    std::mutex lock;
    RegistryTree tree;
    bool loaded = false;
    // The file was there but refused as too large: it is kept aside before
    // it is written over.
    bool unreadable = false;
    FileIdentity loadedFrom;
    std::unordered_map<HKEY, std::unique_ptr<OpenKey>> handles;
};

RegistryState& State() {
    static RegistryState registry;
    return registry;
}

FileIdentity Identify(const std::string& path) {
    FileIdentity identity;
    identity.path = path;
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        identity.present = true;
        identity.device = info.st_dev;
        identity.inode = info.st_ino;
        identity.size = info.st_size;
        identity.modified = info.st_mtim;
    }
    return identity;
}

// One registry call: the process lock, the file lock (shared to read,
// exclusive to change), and a tree that matches the file.
class Session {
public:
    explicit Session(bool changing)
        : m_guard(State().lock), m_path(ConfigFolder() + "/registry.txt"), m_fileLock(changing) {
        Refresh();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    RegistryTree& Tree() { return State().tree; }

    LSTATUS Save() {
        RegistryState& registry = State();
        if (registry.unreadable) {
            rename(m_path.c_str(), (m_path + ".unreadable").c_str());
        } else if (registry.tree.RejectedLines() > 0) {
            // Keep what could not be read before it is written over.
            std::string old;
            if (ReadWholeFile(m_path, old, platform::kMaxIniFileBytes))
                WriteFileAtomically(m_path + ".unreadable", old);
        }
        if (!WriteFileAtomically(m_path, registry.tree.Serialize())) {
            LSTATUS error = static_cast<LSTATUS>(ErrorFromErrno(errno));
            registry.loaded = false; // memory and file now differ: read the file again
            return error;
        }
        registry.tree.ForgetRejectedLines();
        registry.unreadable = false;
        registry.loadedFrom = Identify(m_path);
        return ERROR_SUCCESS;
    }

private:
    void Refresh() {
        RegistryState& registry = State();
        FileIdentity current = Identify(m_path);
        if (registry.loaded && current == registry.loadedFrom)
            return;
        std::string text;
        registry.unreadable = false;
        if (current.present && !ReadWholeFile(m_path, text, platform::kMaxIniFileBytes)) {
            registry.unreadable = errno == EFBIG;
            text.clear();
        }
        registry.tree.Parse(text);
        registry.loaded = true;
        registry.loadedFrom = current;
    }

    std::lock_guard<std::mutex> m_guard;
    std::string m_path;
    SettingsLock m_fileLock;
};

std::vector<std::string> SplitKeyPath(LPCSTR subKey) {
    std::vector<std::string> parts;
    if (!subKey)
        return parts;
    std::string part;
    for (const char* c = subKey;; ++c) {
        if (*c == '\\' || *c == '\0') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
            if (*c == '\0')
                break;
        } else {
            part.push_back(*c);
        }
    }
    return parts;
}

// The open key behind a handle; the predefined roots are always open.
bool Describe(HKEY key, OpenKey& open) {
    auto raw = reinterpret_cast<ULONG_PTR>(key);
    if (raw >= 0x80000000u && raw <= 0x80000002u) {
        open.root = raw - 0x80000000u;
        open.path.clear();
        open.access = KEY_ALL_ACCESS;
        return true;
    }
    auto found = State().handles.find(key);
    if (found == State().handles.end())
        return false;
    open = *found->second;
    return true;
}

RegistryKey* Walk(RegistryTree& tree, const OpenKey& open) {
    RegistryKey* node = &tree.Root(open.root);
    for (const std::string& name : open.path)
        if (!(node = node->Find(name)))
            return nullptr;
    return node;
}

// The node of a handle that needs `access`; the error otherwise.
LSTATUS OpenNode(Session& session, HKEY key, REGSAM access, RegistryKey*& node,
                 OpenKey* description = nullptr) {
    OpenKey open;
    if (!Describe(key, open))
        return ERROR_INVALID_HANDLE;
    if ((open.access & access) != access)
        return ERROR_ACCESS_DENIED;
    node = Walk(session.Tree(), open);
    if (!node)
        return ERROR_KEY_DELETED;
    if (description)
        *description = open;
    return ERROR_SUCCESS;
}

HKEY NewHandle(OpenKey open) {
    auto owned = std::make_unique<OpenKey>(std::move(open));
    HKEY handle = reinterpret_cast<HKEY>(owned.get());
    State().handles[handle] = std::move(owned);
    return handle;
}

REGSAM GrantedAccess(REGSAM asked) {
    return (asked & 0x02000000) ? KEY_ALL_ACCESS : asked; // MAXIMUM_ALLOWED
}

LSTATUS CopyName(const std::string& name, LPSTR buffer, LPDWORD size) {
    if (!buffer || !size)
        return ERROR_INVALID_PARAMETER;
    if (*size <= name.size())
        return ERROR_MORE_DATA;
    memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

LSTATUS CopyData(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (type)
        *type = value.type;
    if (!dataSize)
        return ERROR_SUCCESS;
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (data && *dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data)
        memcpy(data, value.data.data(), needed);
    *dataSize = needed;
    return ERROR_SUCCESS;
}

} // namespace

LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Session session(false);
    RegistryKey* node = nullptr;
    OpenKey open;
    if (LSTATUS error = OpenNode(session, key, 0, node, &open))
        return error;
    for (const std::string& name : SplitKeyPath(subKey)) {
        if (!(node = node->Find(name)))
            return ERROR_FILE_NOT_FOUND;
        open.path.push_back(name);
    }
    open.access = GrantedAccess(access);
    *result = NewHandle(std::move(open));
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access,
                       LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    Session session(true);
    RegistryKey* node = nullptr;
    OpenKey open;
    std::vector<std::string> names = SplitKeyPath(subKey);
    if (LSTATUS error = OpenNode(session, key, names.empty() ? 0 : KEY_CREATE_SUB_KEY, node, &open))
        return error;
    bool created = false;
    for (const std::string& name : names) {
        bool added = false;
        node = node->FindOrAdd(name, added);
        created = created || added;
        open.path.push_back(name);
    }
    if (created)
        if (LSTATUS error = session.Save())
            return error;
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    open.access = GrantedAccess(access);
    *result = NewHandle(std::move(open));
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKey(HKEY key, LPCSTR subKey, PHKEY result) {
    return RegOpenKeyEx(key, subKey, 0, KEY_ALL_ACCESS, result);
}

LSTATUS RegCreateKey(HKEY key, LPCSTR subKey, PHKEY result) {
    return RegCreateKeyEx(key, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

LSTATUS RegCloseKey(HKEY key) {
    std::lock_guard<std::mutex> guard(State().lock);
    OpenKey open;
    if (!Describe(key, open))
        return ERROR_INVALID_HANDLE;
    State().handles.erase(key); // a predefined root is not in the table: nothing to do
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                        LPDWORD dataSize) {
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    Session session(false);
    RegistryKey* node = nullptr;
    if (LSTATUS error = OpenNode(session, key, KEY_QUERY_VALUE, node))
        return error;
    RegistryValue* value = node->FindValue(valueName ? valueName : "");
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    return CopyData(*value, type, data, dataSize);
}

LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                      DWORD dataSize) {
    if (!data && dataSize > 0)
        return ERROR_INVALID_PARAMETER;
    Session session(true);
    RegistryKey* node = nullptr;
    if (LSTATUS error = OpenNode(session, key, KEY_SET_VALUE, node))
        return error;
    node->SetValue(valueName ? valueName : "", type,
                   std::string(reinterpret_cast<const char*>(data), dataSize));
    return session.Save();
}

LSTATUS RegSetValue(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD) {
    if (type != REG_SZ || !data)
        return ERROR_INVALID_PARAMETER;
    HKEY target = nullptr;
    if (LSTATUS error = RegCreateKey(key, subKey, &target))
        return error;
    // Like Windows, the text's own length counts, not the size given.
    LSTATUS result = RegSetValueEx(target, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                   static_cast<DWORD>(strlen(data) + 1));
    RegCloseKey(target);
    return result;
}

LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName) {
    Session session(true);
    RegistryKey* node = nullptr;
    if (LSTATUS error = OpenNode(session, key, KEY_SET_VALUE, node))
        return error;
    if (!node->RemoveValue(valueName ? valueName : ""))
        return ERROR_FILE_NOT_FOUND;
    return session.Save();
}

LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey) {
    std::vector<std::string> names = SplitKeyPath(subKey);
    if (names.empty())
        return ERROR_INVALID_PARAMETER;
    Session session(true);
    RegistryKey* parent = nullptr;
    if (LSTATUS error = OpenNode(session, key, 0, parent))
        return error;
    for (size_t i = 0; i + 1 < names.size(); ++i)
        if (!(parent = parent->Find(names[i])))
            return ERROR_FILE_NOT_FOUND;
    RegistryKey* doomed = parent->Find(names.back());
    if (!doomed)
        return ERROR_FILE_NOT_FOUND;
    if (!doomed->subkeys.empty())
        return ERROR_ACCESS_DENIED;
    parent->Remove(names.back());
    return session.Save();
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPSTR keyClass,
                     LPDWORD classSize, PFILETIME lastWriteTime) {
    Session session(false);
    RegistryKey* node = nullptr;
    if (LSTATUS error = OpenNode(session, key, KEY_ENUMERATE_SUB_KEYS, node))
        return error;
    if (index >= node->subkeys.size())
        return ERROR_NO_MORE_ITEMS;
    auto entry = node->subkeys.begin();
    std::advance(entry, index);
    if (LSTATUS error = CopyName(entry->second->name, name, nameSize))
        return error;
    if (keyClass && classSize && *classSize > 0) {
        keyClass[0] = '\0';
        *classSize = 0;
    }
    if (lastWriteTime)
        *lastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPDWORD type,
                     LPBYTE data, LPDWORD dataSize) {
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    Session session(false);
    RegistryKey* node = nullptr;
    if (LSTATUS error = OpenNode(session, key, KEY_QUERY_VALUE, node))
        return error;
    if (index >= node->values.size())
        return ERROR_NO_MORE_ITEMS;
    const RegistryValue& value = node->values[index];
    if (LSTATUS error = CopyName(value.name, name, nameSize))
        return error;
    return CopyData(value, type, data, dataSize);
}
