// Registered hot keys and their delivery.

#include "platform/window/HotKey.h"

#include "platform/window/Input.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>
#include <vector>

using namespace platform;

namespace {

struct HotKey {
    HWND hwnd;
    int id;
    UINT modifiers; // MOD_ALT | MOD_CONTROL | MOD_SHIFT
    UINT vk;
};

constexpr UINT kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT;

std::vector<HotKey>& HotKeys() {
    static std::vector<HotKey> keys;
    return keys;
}

UINT ModifiersDown() {
    UINT modifiers = 0;
    if (GetKeyState(VK_MENU) & 0x8000)
        modifiers |= MOD_ALT;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        modifiers |= MOD_CONTROL;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        modifiers |= MOD_SHIFT;
    return modifiers;
}

} // namespace

namespace platform {

bool DeliverHotKey(UINT vk) {
    auto& keys = HotKeys();
    // Registrations of windows that are gone lapse.
    std::erase_if(keys, [](const HotKey& key) { return !IsWindow(key.hwnd); });
    const UINT modifiers = ModifiersDown();
    for (const HotKey& key : keys) {
        if (key.vk == vk && key.modifiers == modifiers) {
            PostMessage(key.hwnd, WM_HOTKEY, WPARAM(key.id), MAKELPARAM(modifiers, vk));
            return true;
        }
    }
    return false;
}

} // namespace platform

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    if (!IsWindow(hwnd) || vk == 0 || vk > 0xFF)
        return FALSE;
    auto& keys = HotKeys();
    std::erase_if(keys, [](const HotKey& key) { return !IsWindow(key.hwnd); });
    modifiers &= kModifierMask;
    for (const HotKey& key : keys)
        if ((key.hwnd == hwnd && key.id == id) || (key.vk == vk && key.modifiers == modifiers))
            return FALSE;
    keys.push_back(HotKey{hwnd, id, modifiers, vk});
    return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
    auto& keys = HotKeys();
    const size_t before = keys.size();
    std::erase_if(keys, [&](const HotKey& key) { return key.hwnd == hwnd && key.id == id; });
    return keys.size() != before;
}
