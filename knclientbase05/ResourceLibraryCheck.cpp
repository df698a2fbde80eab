#include "knclientbase05/ResourceLibraryCheck.h"

#include "knclientbase05/AppProfile.h"
#include "knclientbase05/CodePageConverter.h"
#include "knclientbase05/KNpubParse.h"
#include "knclientbase05/KNpubText.h"
#include "knclientbase05/NoticeText.h"
#include "knclientbase05/PathCut.h"
#include "outside/CrtArguments.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileVersion.h"
#include "platform/system/Module.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

tagPROGRAMIDENTITY theProgramIdentity;

namespace {

constexpr char kResourceSuffix[] = "Resource";
constexpr size_t kResourceSuffixLength = sizeof kResourceSuffix - 1;
constexpr size_t kGameNameLimit = 128;
constexpr size_t kVersionStringSize = 256;
constexpr size_t kMessageSize = 512;

constexpr char kNotFound[] = "%s_Res.dll not found !";
constexpr char kNotValid[] = "%s_Res.dll is not a valid resource file !";
constexpr char kIncorrect[] = "Incorrect version of %s_Res.dll !";
constexpr char kTooOld[] = "Too old version of %s_Res.dll !";
constexpr char kOutOfMemory[] = "Out off memory when version compare!";

// The game's name, bounded, for the library's file name and the messages.
void BoundedGameName(LPCSTR gameName, char name[kGameNameLimit]) {
    CopyBoundedText(name, kGameNameLimit, gameName, gameName != nullptr ? strlen(gameName) : 0);
}

int Refuse(const char* format, LPCSTR gameName) {
    char name[kGameNameLimit];
    BoundedGameName(gameName, name);
    char message[kMessageSize];
    FormatNotice(message, sizeof message, format, name);
    AfxMessageBox(message, MB_ICONHAND);
    return 0;
}

// "<folder>\<game>_Res.dll"; false when it would not fit (a cut name would
// name another file).
bool LibraryPath(const char* folder, LPCSTR gameName, char out[MAX_PATH]) {
    const int written = snprintf(out, MAX_PATH, "%s\\%s_Res.dll", folder, gameName);
    return written > 0 && written < MAX_PATH;
}

HMODULE LoadFromFolder(const char* folder, LPCSTR gameName, char* path) {
    char candidate[MAX_PATH];
    if (folder == nullptr || *folder == '\0' || !LibraryPath(folder, gameName, candidate))
        return nullptr;
    const HMODULE module = LoadLibrary(candidate);
    if (module != nullptr && path != nullptr)
        memcpy(path, candidate, strlen(candidate) + 1);
    return module;
}

// The program's own file as the command line names it, with ".exe" added
// when its file name (not a folder on the way) has no extension.
void ProgramPath(char out[MAX_PATH]) {
    const char* first = (__argc > 0 && __argv != nullptr) ? __argv[0] : nullptr;
    if (first != nullptr && *first != '\0')
        CopyBoundedText(out, MAX_PATH, first, strlen(first));
    else
        GetModuleFileName(nullptr, out, MAX_PATH);
    const char* name = out;
    for (const char* c = out; *c != '\0'; ++c)
        if (*c == '\\' || *c == '/' || *c == ':')
            name = c + 1;
    if (strchr(name, '.') == nullptr)
        AppendBoundedText(out, MAX_PATH, ".exe");
}

struct VersionBlock {
    std::unique_ptr<BYTE[]> data;
    VS_FIXEDFILEINFO fixed{};
    DWORD translation = 0;
};

enum class BlockRead { kRead, kMissing, kNoMemory };

BlockRead ReadVersionBlock(const char* path, VersionBlock& block) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(path, &handle);
    if (size == 0)
        return BlockRead::kMissing;
    block.data.reset(new (std::nothrow) BYTE[size]);
    if (!block.data)
        return BlockRead::kNoMemory;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfo(path, handle, size, block.data.get()) ||
        !VerQueryValue(block.data.get(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length) ||
        fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return BlockRead::kMissing;
    block.fixed = *fixed;
    WORD* pair = nullptr;
    if (VerQueryValue(block.data.get(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<LPVOID*>(&pair), &length) &&
        pair != nullptr && length >= 4)
        block.translation = DWORD(pair[0]) | (DWORD(pair[1]) << 16);
    return BlockRead::kRead;
}

// An item of the block's string table in its first translation, cut to fit
// at a character boundary; empty when absent.
void ReadVersionItem(const VersionBlock& block, const char* item, char* out, size_t size) {
    out[0] = '\0';
    char query[96];
    snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s",
             unsigned(block.translation & 0xFFFF), unsigned(block.translation >> 16), item);
    char* value = nullptr;
    UINT length = 0;
    if (VerQueryValue(block.data.get(), query, reinterpret_cast<LPVOID*>(&value), &length) &&
        value != nullptr)
        CopyBoundedText(out, size, value, length);
}

void FormatVersion(DWORD high, DWORD low, char* out, size_t size) {
    snprintf(out, size, "%d.%02d.%d.%d", int(high >> 16), int(high & 0xFFFF), int(low >> 16),
             int(low & 0xFFFF));
}

uint64_t VersionNumber(DWORD high, DWORD low) {
    return (uint64_t(high) << 32) | low;
}

// "a,b,c,d" as a << 48 | b << 32 | c << 16 | d; each part kept to 16 bits.
uint64_t ParseMinimumVersion(LPCSTR text) {
    uint64_t minimum = 0;
    const char* next = text;
    for (int part = 0; part < 4; ++part) {
        int value = 0;
        if (next != nullptr)
            next = NextInt(next, &value);
        const uint64_t word = value < 0 ? 0 : value > 0xFFFF ? 0xFFFF : uint64_t(value);
        minimum = (minimum << 16) | word;
    }
    return minimum;
}

// The library's internal name is the program's followed by "Resource";
// single-byte letters are compared without regard to case.
bool InternalNamesMatch(const char* program, const char* library) {
    const size_t programLength = strlen(program);
    const size_t libraryLength = strlen(library);
    if (libraryLength < programLength + kResourceSuffixLength)
        return false;
    const size_t suffixAt = libraryLength - kResourceSuffixLength;
    // The suffix must start a character, not end one.
    if (CutAtCharacter(library, libraryLength, suffixAt) != suffixAt)
        return false;
    return SameNameNoCase(library, program, programLength) &&
           SameNameNoCase(library + suffixAt, kResourceSuffix, kResourceSuffixLength + 1);
}

void RecordSystemVersion() {
    theProgramIdentity.osVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    GetVersionExA(&theProgramIdentity.osVersion);
}

// The library passed: it becomes the source of all resources.
int Accept(HMODULE library) {
    AfxSetResourceHandle(library);
    InitCodePageConverter();
    RecordSystemVersion();
    return 1;
}

int Reject(HMODULE library, const char* format, LPCSTR gameName) {
    FreeLibrary(library);
    return Refuse(format, gameName);
}

// The checks by version blocks; a null minimum asks for equal versions.
int CheckByVersionBlocks(LPCSTR gameName, LPCSTR minimum) {
    char name[kGameNameLimit];
    BoundedGameName(gameName, name);
    char programPath[MAX_PATH];
    ProgramPath(programPath);
    char libraryPath[MAX_PATH];
    const HMODULE library = LoadResourceLibrary(name, libraryPath);
    if (library == nullptr)
        return Refuse(kNotFound, name);

    VersionBlock program, resources;
    const BlockRead programRead = ReadVersionBlock(programPath, program);
    const BlockRead libraryRead = ReadVersionBlock(libraryPath, resources);
    if (programRead == BlockRead::kNoMemory || libraryRead == BlockRead::kNoMemory) {
        FreeLibrary(library);
        AfxMessageBox(kOutOfMemory, MB_ICONHAND);
        return 0;
    }
    if (programRead != BlockRead::kRead || libraryRead != BlockRead::kRead)
        return Reject(library, kNotValid, name);

    const VS_FIXEDFILEINFO& own = program.fixed;
    const VS_FIXEDFILEINFO& lib = resources.fixed;
    if (minimum == nullptr) {
        if (own.dwFileVersionMS != lib.dwFileVersionMS ||
            own.dwFileVersionLS != lib.dwFileVersionLS)
            return Reject(library, kIncorrect, name);
    } else if (VersionNumber(lib.dwFileVersionMS, lib.dwFileVersionLS) <
               ParseMinimumVersion(minimum)) {
        return Reject(library, kTooOld, name);
    }

    tagPROGRAMIDENTITY& id = theProgramIdentity;
    id.dwProgramVersionMS = own.dwFileVersionMS;
    id.dwProgramVersionLS = own.dwFileVersionLS;
    id.dwLibraryVersionMS = lib.dwFileVersionMS;
    id.dwLibraryVersionLS = lib.dwFileVersionLS;
    FormatVersion(own.dwFileVersionMS, own.dwFileVersionLS, id.szProgramVersion,
                  sizeof id.szProgramVersion);
    FormatVersion(lib.dwFileVersionMS, lib.dwFileVersionLS, id.szLibraryVersion,
                  sizeof id.szLibraryVersion);
    FormatDisplayVersion(WORD(own.dwFileVersionMS >> 16), WORD(own.dwFileVersionMS),
                         WORD(own.dwFileVersionLS), id.szDisplayVersion,
                         sizeof id.szDisplayVersion);
    id.dwProgramTranslation = program.translation;
    id.dwLibraryTranslation = resources.translation;
    ReadVersionItem(program, "InternalName", id.szProgramInternalName,
                    sizeof id.szProgramInternalName);
    ReadVersionItem(resources, "InternalName", id.szLibraryInternalName,
                    sizeof id.szLibraryInternalName);
    if (!InternalNamesMatch(id.szProgramInternalName, id.szLibraryInternalName))
        return Reject(library, kIncorrect, name);

    ReadVersionItem(program, "SpecialBuild", id.szSpecialBuild, sizeof id.szSpecialBuild);
    ReadVersionItem(resources, "FileDescription", id.szDescription, sizeof id.szDescription);
    ReadVersionItem(resources, "ProductName", id.szProductName, sizeof id.szProductName);
    ReadVersionItem(resources, "CompanyName", id.szCompanyName, sizeof id.szCompanyName);
    ReadVersionItem(resources, "LegalCopyright", id.szLegalCopyright, sizeof id.szLegalCopyright);
    ReadVersionItem(resources, "Comments", id.szComments, sizeof id.szComments);
    return Accept(library);
}

} // namespace

void FormatDisplayVersion(WORD major, WORD minor, WORD revision, char* out, size_t size) {
    if (revision == 255)
        snprintf(out, size, "%d.%02d", major, minor);
    else
        snprintf(out, size, "%d.%02d Beta%d", major, minor, revision);
}

HMODULE LoadResourceLibrary(LPCSTR gameName, char* path) {
    if (gameName == nullptr || *gameName == '\0')
        return nullptr;
    char folder[MAX_PATH] = "";
    GetModuleFileName(nullptr, folder, sizeof folder);
    CutPathAtLastSeparator(folder);
    HMODULE module = LoadFromFolder(folder, gameName, path);
    if (module == nullptr)
        module = LoadFromFolder(GetAppProfileString("", "Path", ""), gameName, path);
    return module;
}

int CheckResourceLibrary(LPCSTR gameName, UINT versionStringId) {
    char name[kGameNameLimit];
    BoundedGameName(gameName, name);
    char expected[kVersionStringSize] = "";
    AfxLoadString(versionStringId, expected, sizeof expected);
    const HMODULE library = LoadResourceLibrary(name, nullptr);
    if (library == nullptr)
        return Refuse(kNotFound, name);
    char actual[kVersionStringSize] = "";
    if (LoadString(library, versionStringId, actual, sizeof actual) <= 0)
        return Reject(library, kNotValid, name);
    if (strcmp(expected, actual) != 0)
        return Reject(library, kIncorrect, name);
    return Accept(library);
}

int CheckResourceLibraryVersion(LPCSTR gameName) {
    return CheckByVersionBlocks(gameName, nullptr);
}

int CheckResourceLibraryMinVersion(LPCSTR gameName, LPCSTR minimum) {
    return CheckByVersionBlocks(gameName, minimum);
}

BOOL ReleaseCodePageConverter() {
    if (theCodePage.hLibrary == nullptr)
        return FALSE;
    const BOOL freed = FreeLibrary(theCodePage.hLibrary);
    theCodePage.hLibrary = nullptr;
    theCodePage.pTranCodePage = nullptr;
    theCodePage.pTranDatCodePage = nullptr;
    theCodePage.pTranStrCodePage = nullptr;
    return freed;
}

void GetGameFileVersion(LPCSTR gameName, DWORD* high, DWORD* low, char* text) {
    if (gameName == nullptr)
        return;
    const CString folder = GetAppProfileString("", "Path", "");
    if (folder.IsEmpty())
        return;
    const char last = folder.GetString()[folder.GetLength() - 1];
    const char* separator = last == '\\' || last == '/' ? "" : "\\";
    VersionBlock block;
    char path[MAX_PATH];
    // A name cut to fit would be another file's: such a path is not read.
    const auto read = [&](const char* suffix) {
        const int written = snprintf(path, sizeof path, "%s%s%s%s", folder.GetString(), separator,
                                     gameName, suffix);
        return written > 0 && written < int(sizeof path) &&
               ReadVersionBlock(path, block) == BlockRead::kRead;
    };
    if (!read(".exe") && !read("_Res.dll"))
        return;
    if (high != nullptr)
        *high = block.fixed.dwFileVersionMS;
    if (low != nullptr)
        *low = block.fixed.dwFileVersionLS;
    if (text != nullptr)
        FormatVersion(block.fixed.dwFileVersionMS, block.fixed.dwFileVersionLS, text, 24);
}
