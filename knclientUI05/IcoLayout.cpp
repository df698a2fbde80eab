#include "knclientUI05/IcoLayout.h"

namespace ico {

namespace {

// Every image of the directory has bytes, inside the file and after the
// directory.
bool DirectorySound(const std::string& file, unsigned& count) {
    const BYTE* p = reinterpret_cast<const BYTE*>(file.data());
    if (!IsIconHeader(p, file.size()))
        return false;
    count = ReadU16(p + 4);
    if (kHeaderSize + kFileEntrySize * count > file.size())
        return false;
    for (unsigned i = 0; i < count; ++i) {
        const BYTE* entry = p + kHeaderSize + kFileEntrySize * i;
        const DWORD size = ReadU32(entry + 8), offset = ReadU32(entry + 12);
        if (size == 0 || offset < kHeaderSize + kFileEntrySize * count || offset > file.size() ||
            size > file.size() - offset)
            return false;
    }
    return true;
}

} // namespace

std::string Header(unsigned count) {
    std::string out;
    PutU16(out, 0);
    PutU16(out, 1);
    PutU16(out, count);
    return out;
}

bool AppendImage(const std::string& old, const std::string& entry, const std::string& image,
                 std::string& result) {
    unsigned count = 0;
    const bool empty = old.size() <= kHeaderSize;
    if (!empty && !DirectorySound(old, count))
        return false;
    // The count and every offset must still fit their fields.
    const size_t oldSize = empty ? kHeaderSize : old.size();
    if (count >= 0xFFFF || entry.size() != 12 ||
        oldSize + kFileEntrySize + image.size() > 0xFFFFFFFFu)
        return false;
    const BYTE* p = reinterpret_cast<const BYTE*>(old.data());
    result = Header(count + 1);
    for (unsigned i = 0; i < count; ++i) {
        const BYTE* was = p + kHeaderSize + kFileEntrySize * i;
        result.append(reinterpret_cast<const char*>(was), 12);
        PutU32(result, ReadU32(was + 12) + DWORD(kFileEntrySize));
    }
    result += entry;
    PutU32(result, DWORD(oldSize + kFileEntrySize));
    if (!empty)
        result.append(old, kHeaderSize + kFileEntrySize * count, std::string::npos);
    result += image;
    return true;
}

} // namespace ico
