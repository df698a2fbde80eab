// Icons and resource cursors: the system's shared icons, a module's icon and
// cursor groups, and LoadImage of icons and cursors from modules and files.

#include "platform/Errors.h"
#include "platform/images/Picture.h"
#include "platform/resources/AniCursor.h"
#include "platform/resources/IconObject.h"
#include "platform/resources/Resource.h"
#include "platform/resources/ResourceModule.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"
#include "platform/window/SystemMetrics.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string_view>

namespace platform {

namespace {

struct SystemIconFile {
    int id;
    std::string_view bytes;
};

const SystemIconFile kSystemIcons[] = {
#include "SystemIcons.inc"
};

// One of our system icons, read from its .ico bytes.
HICON SystemIcon(uintptr_t id) {
    for (const SystemIconFile& file : kSystemIcons) {
        if (uintptr_t(file.id) != id)
            continue;
        IconParts parts;
        const auto* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
        return IconFileFrame(bytes, file.bytes.size(), 0, 0, parts, nullptr)
                   ? MakeIcon(std::move(parts))
                   : nullptr;
    }
    return nullptr;
}

std::mutex& SharedLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

// An icon or cursor of a module's group: the group's entry nearest cx x cy
// (0: the system size), made at that size.
HICON GroupShape(ResourceModuleData& data, LPCSTR name, bool cursor, int cx, int cy, UINT flags) {
    const ResourceId groupType{WORD(cursor ? 12 : 14), {}}, imageType{WORD(cursor ? 1 : 3), {}};
    const ModuleResource* group = FindModuleResource(data, groupType, ResourceIdFromArgument(name));
    if (!group) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(group->bytes.data());
    const int id = LookupIconIdInGroup(bytes, group->bytes.size(), !cursor, cx, cy);
    const ModuleResource* image =
        id ? FindModuleResource(data, imageType, ResourceId{WORD(id), {}}, group->language)
           : nullptr;
    if (!image) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image->bytes.data())),
                                    DWORD(image->bytes.size()), !cursor, 0x30000, cx, cy,
                                    flags | LR_DEFAULTSIZE);
}

// A module's icon or cursor at the system size, made once and kept with the
// module.
HICON SharedGroupShape(HINSTANCE module, LPCSTR name, bool cursor) {
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data || !name)
        return nullptr;
    std::pair<ResourceId, ResourceId> key{ResourceId{WORD(cursor ? 12 : 14), {}},
                                          ResourceIdFromArgument(name)};
    std::lock_guard<std::mutex> guard(SharedLock());
    if (auto made = data->shapes.find(key); made != data->shapes.end())
        return static_cast<HICON>(made->second);
    HICON handle = GroupShape(*data, name, cursor, 0, 0, LR_SHARED);
    if (handle)
        data->shapes[key] = handle;
    return handle;
}

// An .ico or .cur file's entry nearest cx x cy, or a whole .ani file.
HICON FileShape(LPCSTR path, bool cursor, int cx, int cy, UINT flags) {
    std::string bytes;
    if (!ReadWholeFile(NativePath(path), bytes, kMaxPictureFileBytes)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    IconParts parts;
    std::string why;
    if (cursor && LooksLikeAniCursor(data, bytes.size())) {
        if (!ParseAniCursor(data, bytes.size(), parts, &why)) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        return MakeIcon(std::move(parts));
    }
    const int pickX = cx ? cx : GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
    const int pickY = cy ? cy : GetSystemMetrics(cursor ? SM_CYCURSOR : SM_CYICON);
    if (!IconFileFrame(data, bytes.size(), pickX, pickY, parts, &why) || parts.isIcon == cursor) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (flags & LR_DEFAULTSIZE) {
        cx = pickX;
        cy = pickY;
    }
    return MakeIconAtSize(std::move(parts), cx, cy);
}

} // namespace

HCURSOR LoadModuleCursor(HINSTANCE module, LPCSTR name) {
    return reinterpret_cast<HCURSOR>(SharedGroupShape(module, name, true));
}

HANDLE LoadIconImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    const bool cursor = type == IMAGE_CURSOR;
    if (flags & LR_LOADFROMFILE)
        return FileShape(name, cursor, cx, cy, flags);
    if (!module)
        return cursor ? HANDLE(LoadCursor(nullptr, name)) : HANDLE(LoadIcon(nullptr, name));
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data || !name) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if ((flags & LR_SHARED) && cx == 0 && cy == 0)
        return SharedGroupShape(module, name, cursor);
    HICON made = GroupShape(*data, name, cursor, cx, cy, flags);
    if (made && (flags & LR_SHARED))
        MarkIconShared(made);
    return made;
}

} // namespace platform

using namespace platform;

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
    return instance ? LoadModuleCursor(instance, name) : LoadStandardCursor(name);
}

HICON LoadIcon(HINSTANCE module, LPCSTR name) {
    if (module)
        return SharedGroupShape(module, name, false);
    const uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (!IS_INTRESOURCE(name) || id < 32512 || id > 32516)
        return nullptr;
    static std::map<uintptr_t, HICON> system;
    std::lock_guard<std::mutex> guard(SharedLock());
    HICON& handle = system[id];
    if (!handle) {
        handle = SystemIcon(id);
        MarkIconShared(handle);
    }
    return handle;
}

HANDLE LoadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name || cx < 0 || cy < 0 || type > IMAGE_CURSOR) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (type == IMAGE_BITMAP)
        return platform::LoadBitmapImage(name, cx, cy, flags);
    return LoadIconImage(instance, name, type, cx, cy, flags);
}
