#include "knclientbase05/PlayerIcons.h"

#include "knclientbase05/GameRegistry.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

namespace {

typedef HICON (*GetIconFunction)(int index);

// Loads the library, asks it for the icon and hands it to use; the library
// is freed on every path.
template <typename Use> auto WithPeopleIcon(int index, Use use) -> decltype(use(HICON())) {
    if (index < 0)
        return {};
    HMODULE library = LoadLibrary(GetShareFolder() + "\\people.dll");
    if (library == nullptr)
        return {};
    decltype(use(HICON())) result{};
    auto getIcon = reinterpret_cast<GetIconFunction>(GetProcAddress(library, "GetIcon"));
    if (getIcon != nullptr) {
        if (HICON icon = getIcon(index))
            result = use(icon);
    }
    FreeLibrary(library);
    return result;
}

} // namespace

BOOL DrawPlayerIcon(HDC hdc, int x, int y, int index) {
    return WithPeopleIcon(index, [&](HICON icon) {
        BOOL drawn = DrawIconEx(hdc, x, y, icon, 32, 32, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        return drawn;
    });
}

HICON GetPlayerIcon(int index) {
    // The library's icons are shared ones that outlive it, so the caller
    // can keep the handle itself; its DestroyIcon is then harmless.
    return WithPeopleIcon(index, [](HICON icon) { return icon; });
}
