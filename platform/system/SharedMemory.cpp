#include "platform/system/SharedMemory.h"

#include "platform/Errors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// Each process holding a block keeps a shared flock on it; whoever can take
// the lock exclusively is the last holder (or finds a dead process's block).
// Opening, creating and letting go run under one per-user lock, so that a
// block is never removed between another process's open and its flock.

namespace {

constexpr uint64_t kViewAlignment = 65536; // Windows' allocation granularity

class NameLock {
public:
    NameLock() {
        m_fd = shm_open(SharedMemoryName("\x01lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0)
            flock(m_fd, LOCK_EX);
    }
    ~NameLock() {
        if (m_fd >= 0)
            close(m_fd);
    }
    NameLock(const NameLock&) = delete;
    NameLock& operator=(const NameLock&) = delete;

private:
    int m_fd = -1;
};

bool IsLastHolder(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// The block's descriptor; shared by its handle and its views.
struct SharedRegion {
    int fd = -1;
    std::string shmName; // empty for a block of this process alone
    bool writable = false;

    ~SharedRegion() {
        if (!shmName.empty()) {
            NameLock lock;
            if (IsLastHolder(fd))
                shm_unlink(shmName.c_str());
        }
        close(fd);
    }
};

class FileMapping;

// The live mapping handles, so a stale or foreign handle is refused.
struct MappingTable {
    std::mutex lock;
    std::set<const FileMapping*> live;
};

MappingTable& LiveMappings() {
    static MappingTable table;
    return table;
}

class FileMapping : public platform::KernelObject {
public:
    explicit FileMapping(std::shared_ptr<SharedRegion> region) : m_region(std::move(region)) {
        std::lock_guard<std::mutex> guard(LiveMappings().lock);
        LiveMappings().live.insert(this);
    }
    const std::shared_ptr<SharedRegion>& Region() const { return m_region; }

    // The mapping behind a handle, with a reference the caller releases.
    static FileMapping* Acquire(HANDLE handle) {
        auto* mapping = static_cast<const FileMapping*>(handle);
        std::lock_guard<std::mutex> guard(LiveMappings().lock);
        if (!LiveMappings().live.count(mapping))
            return nullptr;
        auto* live = const_cast<FileMapping*>(mapping);
        live->AddRef();
        return live;
    }

protected:
    ~FileMapping() override {
        std::lock_guard<std::mutex> guard(LiveMappings().lock);
        LiveMappings().live.erase(this);
    }

private:
    std::shared_ptr<SharedRegion> m_region;
};

struct View {
    size_t length;
    std::shared_ptr<SharedRegion> region;
};

struct ViewTable {
    std::mutex lock;
    std::map<const void*, View> views;
};

ViewTable& LiveViews() {
    static ViewTable table;
    return table;
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

HANDLE Publish(int fd, const std::string& shmName, bool writable) {
    auto region = std::make_shared<SharedRegion>();
    region->fd = fd;
    region->shmName = shmName;
    region->writable = writable;
    return platform::ToHandle(new FileMapping(std::move(region)));
}

uint64_t Fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

} // namespace

std::string SharedMemoryName(const std::string& windowsName) {
    std::string name = windowsName;
    for (const char* prefix : {"Local\\", "Global\\"})
        if (name.rfind(prefix, 0) == 0)
            name.erase(0, std::char_traits<char>::length(prefix));
    std::string encoded;
    for (unsigned char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '_' || c == '.' || c == '-';
        if (plain) {
            encoded.push_back(static_cast<char>(c));
        } else {
            char code[4];
            snprintf(code, sizeof code, "%%%02X", c);
            encoded += code;
        }
    }
    if (encoded.size() > 180) {
        char hash[24];
        snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(Fnv1a(name)));
        encoded = encoded.substr(0, 160) + hash;
    }
    return "/pellor-" + std::to_string(getuid()) + "-" + encoded;
}

HANDLE CreateFileMapping(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD sizeHigh,
                         DWORD sizeLow, LPCSTR name) {
    if (file != INVALID_HANDLE_VALUE)
        return Fail(ERROR_INVALID_HANDLE); // mappings of disk files are not needed here
    uint64_t size = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
    if (size == 0 || size > static_cast<uint64_t>(INT64_MAX))
        return Fail(ERROR_INVALID_PARAMETER);
    bool writable = (protect & (PAGE_READWRITE | PAGE_WRITECOPY)) != 0;

    if (!name || !*name) {
        int fd = memfd_create("pellor-mapping", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) {
            DWORD error = ErrorFromErrno(errno);
            if (fd >= 0)
                close(fd);
            return Fail(error);
        }
        SetLastError(ERROR_SUCCESS);
        return Publish(fd, std::string(), writable);
    }

    std::string shmName = SharedMemoryName(name);
    NameLock lock;
    bool existed = false;
    int fd = shm_open(shmName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        fd = shm_open(shmName.c_str(), O_RDWR | O_CLOEXEC, 0600);
        existed = fd >= 0 && !IsLastHolder(fd);
        if (fd >= 0 && !existed && ftruncate(fd, 0) != 0) { // a dead process's block: start anew
            close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return Fail(ErrorFromErrno(errno));
    if (!existed && ftruncate(fd, static_cast<off_t>(size)) != 0) {
        DWORD error = ErrorFromErrno(errno);
        shm_unlink(shmName.c_str());
        close(fd);
        return Fail(error);
    }
    flock(fd, LOCK_SH);
    HANDLE handle = Publish(fd, shmName, writable);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

HANDLE OpenFileMapping(DWORD access, BOOL, LPCSTR name) {
    if (!name || !*name)
        return Fail(ERROR_INVALID_PARAMETER);
    bool writable = (access & (FILE_MAP_WRITE | FILE_MAP_COPY)) != 0;
    std::string shmName = SharedMemoryName(name);
    NameLock lock;
    int fd = shm_open(shmName.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC, 0);
    if (fd < 0)
        return Fail(ErrorFromErrno(errno));
    if (IsLastHolder(fd)) { // nobody holds it: left behind by a process that died
        shm_unlink(shmName.c_str());
        close(fd);
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    flock(fd, LOCK_SH);
    SetLastError(ERROR_SUCCESS);
    return Publish(fd, shmName, writable);
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                     SIZE_T bytes) {
    FileMapping* object = FileMapping::Acquire(mapping);
    if (!object)
        return Fail(ERROR_INVALID_HANDLE);
    std::shared_ptr<SharedRegion> region = object->Region();
    object->Release();
    bool copy = (access & FILE_MAP_COPY) && !(access & FILE_MAP_WRITE);
    bool write = (access & FILE_MAP_WRITE) != 0;
    if (write && !region->writable)
        return Fail(ERROR_ACCESS_DENIED);
    uint64_t offset = (static_cast<uint64_t>(offsetHigh) << 32) | offsetLow;
    if (offset % kViewAlignment != 0)
        return Fail(ERROR_MAPPED_ALIGNMENT);
    struct stat info;
    if (fstat(region->fd, &info) != 0)
        return Fail(ErrorFromErrno(errno));
    uint64_t size = static_cast<uint64_t>(info.st_size);
    if (offset >= size || (bytes != 0 && bytes > size - offset))
        return Fail(ERROR_ACCESS_DENIED); // beyond the block: would fault on use
    size_t length = bytes != 0 ? bytes : static_cast<size_t>(size - offset);
    int protection = PROT_READ | ((write || copy) ? PROT_WRITE : 0);
    void* address = mmap(nullptr, length, protection, copy ? MAP_PRIVATE : MAP_SHARED, region->fd,
                         static_cast<off_t>(offset));
    if (address == MAP_FAILED)
        return Fail(ErrorFromErrno(errno));
    std::lock_guard<std::mutex> guard(LiveViews().lock);
    LiveViews().views[address] = View{length, region};
    SetLastError(ERROR_SUCCESS);
    return address;
}

BOOL UnmapViewOfFile(LPCVOID baseAddress) {
    View view;
    {
        std::lock_guard<std::mutex> guard(LiveViews().lock);
        auto found = LiveViews().views.find(baseAddress);
        if (found == LiveViews().views.end()) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        view = std::move(found->second);
        LiveViews().views.erase(found);
    }
    munmap(const_cast<void*>(baseAddress), view.length);
    return TRUE; // the region goes with its last view or handle, outside the table's lock
}
