// The resource calls: the resource handle and its search, strings, bitmaps,
// raw resources and dialog templates.

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/images/Picture.h"
#include "platform/resources/Resource.h"
#include "platform/resources/ResourceModule.h"
#include "platform/system/Module.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

using namespace platform;

namespace {

struct ResourceSearch {
    std::mutex lock;
    HINSTANCE resourceHandle = nullptr;
    bool resourceHandleSet = false;
    std::vector<HINSTANCE> joined; // CDynLinkLibrary modules, oldest first
};

ResourceSearch& Search() {
    static auto* search = new ResourceSearch;
    return *search;
}

// The search order: the resource handle, then the joined modules, newest
// first.
std::vector<HINSTANCE> SearchOrder() {
    ResourceSearch& search = Search();
    std::lock_guard<std::mutex> guard(search.lock);
    std::vector<HINSTANCE> order{search.resourceHandleSet ? search.resourceHandle
                                                          : AfxGetInstanceHandle()};
    order.insert(order.end(), search.joined.rbegin(), search.joined.rend());
    return order;
}

const ModuleResource* FindIn(HINSTANCE module, LPCSTR name, LPCSTR type, int language = -1) {
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data || !name || !type)
        return nullptr;
    return FindModuleResource(*data, ResourceIdFromArgument(type), ResourceIdFromArgument(name),
                              language);
}

const std::string* FindString(HINSTANCE module, UINT id) {
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data)
        return nullptr;
    auto found = data->strings.find(id);
    return found == data->strings.end() ? nullptr : &found->second;
}

const DialogTemplate* FindDialog(HINSTANCE module, LPCSTR name) {
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data || !name)
        return nullptr;
    auto found = data->dialogs.find(ResourceIdFromArgument(name));
    return found == data->dialogs.end() ? nullptr : &found->second;
}

const std::string* SearchString(UINT id) {
    for (HINSTANCE module : SearchOrder())
        if (const std::string* text = FindString(module, id))
            return text;
    return nullptr;
}

} // namespace

HINSTANCE AfxGetInstanceHandle() {
    // The program's own module holds no resources of its own here.
    static char programModule;
    return reinterpret_cast<HINSTANCE>(&programModule);
}

HINSTANCE AfxGetResourceHandle() {
    return SearchOrder().front();
}

void AfxSetResourceHandle(HINSTANCE module) {
    ResourceSearch& search = Search();
    std::lock_guard<std::mutex> guard(search.lock);
    search.resourceHandle = module;
    search.resourceHandleSet = true;
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
    std::vector<HINSTANCE> order = SearchOrder();
    for (HINSTANCE module : order) {
        bool found = type == RT_DIALOG   ? FindDialog(module, name) != nullptr
                     : type == RT_STRING ? IS_INTRESOURCE(name) &&
                                               FindString(module, UINT(ULONG_PTR(name))) != nullptr
                                         : FindIn(module, name, type) != nullptr;
        if (found)
            return module;
    }
    return order.front();
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE module) : m_hResource(module) {
    ResourceSearch& search = Search();
    std::lock_guard<std::mutex> guard(search.lock);
    search.joined.push_back(module);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    ResourceSearch& search = Search();
    std::lock_guard<std::mutex> guard(search.lock);
    auto found = std::find(search.joined.rbegin(), search.joined.rend(), m_hResource);
    if (found != search.joined.rend())
        search.joined.erase(std::next(found).base());
}

namespace {

// Copies at most size - 1 bytes, never half of a double-byte character.
int CopyString(const std::string& text, LPSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    size_t length = 0;
    while (length < text.size()) {
        size_t step = size_t(std::max(1, GbkCharLength(text, length)));
        if (length + step > size_t(size - 1))
            break;
        length += step;
    }
    memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return int(length);
}

} // namespace

int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int size) {
    const std::string* text = FindString(module, id);
    if (!text) {
        if (buffer && size > 0)
            buffer[0] = '\0';
        return 0;
    }
    return CopyString(*text, buffer, size);
}

int AfxLoadString(UINT id, LPSTR buffer, int size) {
    const std::string* text = SearchString(id);
    if (!text) {
        if (buffer && size > 0)
            buffer[0] = '\0';
        return 0;
    }
    return CopyString(*text, buffer, size);
}

BOOL CString::LoadString(UINT id) {
    const std::string* text = SearchString(id);
    *this = text ? text->c_str() : "";
    return text && !text->empty() ? TRUE : FALSE;
}

HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name) {
    const ModuleResource* resource = FindIn(module, name, RT_BITMAP);
    PixelImage image;
    if (!resource ||
        !DecodePicture(resource->fileBytes.data(), resource->fileBytes.size(), image, nullptr))
        return nullptr;
    return CreateBitmapFromImage(image);
}

namespace {

HRSRC Found(const ModuleResource* resource) {
    if (!resource)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return reinterpret_cast<HRSRC>(const_cast<ModuleResource*>(resource));
}

} // namespace

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) {
    return Found(FindIn(module, name, type));
}

HRSRC FindResourceEx(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    return Found(FindIn(module, name, type, language));
}

BOOL EnumResourceNames(HMODULE module, LPCSTR type, ENUMRESNAMEPROC callback, LONG_PTR param) {
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data || !type || !callback) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Text names first, in order, then numbers upwards; each name once
    // whatever languages it has.
    const ResourceId wanted = ResourceIdFromArgument(type);
    std::vector<const ModuleResource*> names;
    for (const auto& [key, resource] : data->resources)
        if (key.type == wanted && (names.empty() || !(names.back()->name == key.name)))
            names.push_back(&resource);
    if (names.empty()) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    for (const ModuleResource* resource : names) {
        LPSTR name = resource->name.text.empty() ? MAKEINTRESOURCE(resource->name.number)
                                                 : const_cast<LPSTR>(resource->name.text.c_str());
        if (!callback(module, const_cast<LPSTR>(type), name, param)) {
            SetLastError(ERROR_RESOURCE_ENUM_USER_STOP);
            return FALSE;
        }
    }
    return TRUE;
}

HMODULE LoadLibraryEx(LPCSTR fileName, HANDLE file, DWORD flags) {
    const DWORD known = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE |
                        LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE;
    if (file || (flags & ~known)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Our modules are all in the program already: as data or as code, the
    // handle is the one LoadLibrary gives, and its resources are found alike.
    return LoadLibrary(fileName);
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    return resource;
}

LPVOID LockResource(HGLOBAL data) {
    if (!data)
        return nullptr;
    return const_cast<char*>(static_cast<ModuleResource*>(data)->bytes.data());
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? DWORD(reinterpret_cast<ModuleResource*>(resource)->bytes.size()) : 0;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE; // resources stay with their module, as on Win32
}

bool FindDialogTemplate(HINSTANCE module, LPCSTR name, DialogTemplate& result) {
    const DialogTemplate* found = FindDialog(module, name);
    if (!found)
        return false;
    result = *found;
    return true;
}

bool LoadDialogTemplate(LPCSTR name, DialogTemplate& result, HINSTANCE* foundIn) {
    for (HINSTANCE module : SearchOrder())
        if (FindDialogTemplate(module, name, result)) {
            if (foundIn)
                *foundIn = module;
            return true;
        }
    return false;
}
