#pragma once

// Telling, without opening a file, that it is still what was read: for
// readers that keep what they made of a file (parsed settings, decoded
// pictures) and must see a change made to it since, as a fresh read would.

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// Null when the file cannot be looked at. A Linux path.
std::optional<FileStamp> StampOfFile(const std::string& path);

// Whether a read can stand for later ones: file systems keep times to a
// coarse grain (a clock tick), so a file changed a moment ago could change
// again, to the same size, without its stamp showing it. Such a file is
// read afresh until its last change lies a while back.
bool IsSettledStamp(const FileStamp& stamp);
// How long that is (2 s unless changed: tests shorten it to see values kept).
void SetFileSettleTime(int64_t nanoseconds);

// What was made of files, each kept while its file stays as it was read;
// the oldest goes first once `capacity` are kept. Any thread.
template <typename Value> class StampedFileCache {
public:
    explicit StampedFileCache(size_t capacity) : m_capacity(capacity) {}

    // The value kept under key (a caller's name for one making of one file),
    // made afresh when none is kept or its file changed: resolve() gives the
    // file's path, make(path) reads it and gives null when it cannot. A kept
    // value costs one look at its file.
    template <typename Resolve, typename Make>
    std::shared_ptr<const Value> Get(const std::string& key, Resolve resolve, Make make) {
        if (std::shared_ptr<const Value> kept = Find(key))
            return kept;
        const std::string path = resolve();
        const std::optional<FileStamp> before = StampOfFile(path);
        std::shared_ptr<const Value> value = make(path);
        // Kept only when nothing changed the file while it was read.
        if (value && before && IsSettledStamp(*before) && StampOfFile(path) == before) {
            std::lock_guard<std::mutex> guard(m_lock);
            std::erase_if(m_entries, [&](const Entry& entry) { return entry.key == key; });
            m_entries.push_front(Entry{key, path, *before, value});
            if (m_entries.size() > m_capacity)
                m_entries.pop_back();
        }
        return value;
    }

    void Clear() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_entries.clear();
    }

private:
    struct Entry {
        std::string key;
        std::string path;
        FileStamp stamp;
        std::shared_ptr<const Value> value;
    };

    std::shared_ptr<const Value> Find(const std::string& key) {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->key != key)
                continue;
            if (StampOfFile(it->path) == it->stamp)
                return it->value;
            m_entries.erase(it);
            return nullptr;
        }
        return nullptr;
    }

    size_t m_capacity;
    std::mutex m_lock;
    std::list<Entry> m_entries;
};
