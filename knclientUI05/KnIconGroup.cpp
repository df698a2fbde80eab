// A module's icon group written as an .ico file: the group's directory with
// file offsets, then its RT_ICON images whole.

#include "knclientUI05/KnClientPublic.h"

#include "knclientUI05/IcoLayout.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileOps.h"
#include "platform/system/Module.h"
#include "platform/system/Path.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace ico;

// The bytes of a resource, empty when it is missing.
std::string ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindResource(module, name, type);
    if (!found)
        return {};
    const DWORD size = SizeofResource(module, found);
    HGLOBAL data = LoadResource(module, found);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    std::string copy = bytes ? std::string(bytes, size) : std::string();
    if (data)
        FreeResource(data);
    return copy;
}

// The .ico file of a group, or empty when the group or an image is missing.
std::string IcoFileOfGroup(HMODULE module, LPCSTR groupName) {
    const std::string group = ResourceBytes(module, groupName, RT_GROUP_ICON);
    const BYTE* p = reinterpret_cast<const BYTE*>(group.data());
    if (!IsIconHeader(p, group.size()))
        return {};
    const size_t count = ReadU16(p + 4);
    if (count == 0 || kHeaderSize + kGroupEntrySize * count > group.size())
        return {};
    std::vector<std::string> images;
    for (size_t i = 0; i < count; ++i) {
        const BYTE* entry = p + kHeaderSize + kGroupEntrySize * i;
        images.push_back(ResourceBytes(module, MAKEINTRESOURCE(ReadU16(entry + 12)), RT_ICON));
        if (images.back().empty())
            return {};
    }
    std::string file = group.substr(0, kHeaderSize);
    DWORD offset = DWORD(kHeaderSize + kFileEntrySize * count);
    for (size_t i = 0; i < count; ++i) {
        // The size recorded is the image's own, so the offsets agree with
        // the bytes written even when the group says otherwise.
        const char* entry = group.data() + kHeaderSize + kGroupEntrySize * i;
        file.append(entry, 8);
        PutU32(file, DWORD(images[i].size()));
        PutU32(file, offset);
        offset += DWORD(images[i].size());
    }
    for (const std::string& image : images)
        file += image;
    return file;
}

BOOL CollectGroupName(HMODULE, LPSTR, LPSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    // An id is kept as "#id", the form FindResource takes for a number.
    names->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<UINT_PTR>(name))
                                          : std::string(name));
    return TRUE;
}

} // namespace

BOOL SaveIconGroupToIcoFile(LPCSTR modulePath, LPCSTR groupName, LPCSTR outputPath) {
    if (!modulePath || !outputPath || !groupName)
        return FALSE;
    HMODULE module = LoadLibraryEx(modulePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return FALSE;
    const std::string file = IcoFileOfGroup(module, groupName);
    FreeLibrary(module);
    return !file.empty() && WriteFileAtomically(NativePath(outputPath), file);
}

BOOL SaveIconGroupByIndexToIcoFile(LPCSTR modulePath, int position, LPCSTR outputPath) {
    if (!modulePath || !outputPath)
        return FALSE;
    HMODULE module = LoadLibraryEx(modulePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return FALSE;
    std::vector<std::string> names;
    const BOOL listed = EnumResourceNames(module, RT_GROUP_ICON, CollectGroupName,
                                          reinterpret_cast<LONG_PTR>(&names));
    FreeLibrary(module);
    if (!listed || position < 0 || size_t(position) >= names.size())
        return FALSE;
    return SaveIconGroupToIcoFile(modulePath, names[size_t(position)].c_str(), outputPath);
}
