#include "platform/system/FileVersion.h"

#include "platform/Errors.h"
#include "platform/system/IniFile.h"
#include "platform/system/Module.h"

#include <cstdio>
#include <cstring>
#include <string>

// Block layout: magic, total size, the fixed information, the translation,
// the item count, then per item: u16 name size, u16 value size (both with
// their NUL), name, value.

namespace {

constexpr DWORD kMagic = 0x52455650; // "PVER"
constexpr DWORD kChineseSimplified = 0x0804;
constexpr DWORD kGbkCodePage = 936;
constexpr size_t kHeaderSize = 8;
constexpr size_t kFixedOffset = kHeaderSize;
constexpr size_t kTranslationOffset = kFixedOffset + sizeof(VS_FIXEDFILEINFO);
constexpr size_t kCountOffset = kTranslationOffset + 4;
constexpr size_t kItemsOffset = kCountOffset + 4;

void putDword(std::string& block, DWORD value) {
    block.append(reinterpret_cast<char*>(&value), 4);
}

DWORD getDword(const BYTE* block, size_t offset) {
    DWORD value;
    memcpy(&value, block + offset, 4);
    return value;
}

WORD getWord(const BYTE* block, size_t offset) {
    WORD value;
    memcpy(&value, block + offset, 2);
    return value;
}

bool buildBlock(LPCSTR fileName, std::string& block) {
    BuiltinModuleDefinition module;
    if (!FindBuiltinModule(fileName, module)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    if (!module.hasVersionInfo) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return false;
    }
    const WORD* v = module.version;
    VS_FIXEDFILEINFO fixed{};
    fixed.dwSignature = VS_FFI_SIGNATURE;
    fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
    fixed.dwFileVersionMS = fixed.dwProductVersionMS = (DWORD(v[0]) << 16) | v[1];
    fixed.dwFileVersionLS = fixed.dwProductVersionLS = (DWORD(v[2]) << 16) | v[3];
    fixed.dwFileFlagsMask = 0x3F;
    fixed.dwFileOS = 0x40004; // NT, 32-bit Windows
    std::string name = module.fileName;
    bool program = name.size() > 4 && EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".exe");
    fixed.dwFileType = program ? VFT_APP : VFT_DLL;

    block.clear();
    putDword(block, kMagic);
    putDword(block, 0); // total size, set below
    block.append(reinterpret_cast<const char*>(&fixed), sizeof fixed);
    putDword(block, kChineseSimplified | (kGbkCodePage << 16));
    putDword(block, 0);
    DWORD count = 0;
    for (const auto& [item, value] : module.versionStrings) {
        if (item.size() >= 0xFFFF || value.size() >= 0xFFFF)
            continue;
        WORD sizes[2] = {static_cast<WORD>(item.size() + 1), static_cast<WORD>(value.size() + 1)};
        block.append(reinterpret_cast<const char*>(sizes), sizeof sizes);
        block.append(item.c_str(), item.size() + 1);
        block.append(value.c_str(), value.size() + 1);
        ++count;
    }
    DWORD total = static_cast<DWORD>(block.size());
    memcpy(&block[4], &total, 4);
    memcpy(&block[kCountOffset], &count, 4);
    return true;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The value of a string-table item, with its size (NUL included).
bool findString(const BYTE* block, size_t total, const std::string& item, size_t& offset,
                size_t& size) {
    DWORD count = getDword(block, kCountOffset);
    size_t at = kItemsOffset;
    for (DWORD i = 0; i < count; ++i) {
        if (at + 4 > total)
            return false;
        size_t nameSize = getWord(block, at);
        size_t valueSize = getWord(block, at + 2);
        at += 4;
        if (nameSize == 0 || valueSize == 0 || at + nameSize + valueSize > total)
            return false;
        std::string name(reinterpret_cast<const char*>(block + at), nameSize - 1);
        if (block[at + nameSize - 1] == '\0' && block[at + nameSize + valueSize - 1] == '\0' &&
            EqualsIgnoringAsciiCase(name, item)) {
            offset = at + nameSize;
            size = valueSize;
            return true;
        }
        at += nameSize + valueSize;
    }
    return false;
}

} // namespace

DWORD GetFileVersionInfoSize(LPCSTR fileName, LPDWORD handle) {
    if (handle)
        *handle = 0;
    std::string block;
    if (!buildBlock(fileName, block))
        return 0;
    return static_cast<DWORD>(block.size());
}

BOOL GetFileVersionInfo(LPCSTR fileName, DWORD, DWORD size, LPVOID data) {
    std::string block;
    if (!data || !buildBlock(fileName, block)) {
        if (!data)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size_t copied = block.size() < size ? block.size() : size;
    memcpy(data, block.data(), copied);
    if (copied >= kHeaderSize) {
        DWORD total = static_cast<DWORD>(copied); // queries stay inside what was copied
        memcpy(static_cast<BYTE*>(data) + 4, &total, 4);
    }
    return TRUE;
}

BOOL VerQueryValue(LPCVOID blockPointer, LPCSTR subBlock, LPVOID* buffer, UINT* length) {
    if (length)
        *length = 0;
    if (!blockPointer || !subBlock || !buffer)
        return FALSE;
    auto* block = static_cast<const BYTE*>(blockPointer);
    size_t total = getDword(block, 4);
    if (getDword(block, 0) != kMagic || total < kItemsOffset)
        return FALSE;
    std::string query = subBlock;
    size_t offset = 0;
    size_t size = 0;
    if (query == "\\") {
        offset = kFixedOffset;
        size = sizeof(VS_FIXEDFILEINFO);
    } else if (EqualsIgnoringAsciiCase(query, "\\VarFileInfo\\Translation")) {
        offset = kTranslationOffset;
        size = 4;
    } else if (startsWithIgnoringCase(query, "\\StringFileInfo\\")) {
        std::string rest = query.substr(16);
        char language[16];
        DWORD translation = getDword(block, kTranslationOffset);
        snprintf(language, sizeof language, "%04x%04x\\", translation & 0xFFFF, translation >> 16);
        if (!startsWithIgnoringCase(rest, language) ||
            !findString(block, total, rest.substr(9), offset, size))
            return FALSE;
    } else {
        return FALSE;
    }
    *buffer = const_cast<BYTE*>(block + offset);
    if (length)
        *length = static_cast<UINT>(size);
    return TRUE;
}
