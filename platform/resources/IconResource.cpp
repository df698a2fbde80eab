// Icons and cursors from resource bytes and the choice of an icon group's
// entry.

#include "platform/Errors.h"
#include "platform/resources/AniCursor.h"
#include "platform/resources/IconObject.h"
#include "platform/resources/ResourceIconFile.h"
#include "platform/window/SystemMetrics.h"

namespace platform {

namespace {

constexpr size_t kGroupHeader = 6;
constexpr size_t kGroupEntry = 14;

uint16_t U16(const uint8_t* bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

int DepthOfColourCount(int colours) {
    return colours == 2 ? 1 : colours == 16 ? 4 : 8;
}

} // namespace

IconParts PartsFromImage(IconImage image, bool isIcon, POINT hotSpot) {
    IconParts parts;
    parts.isIcon = isIcon;
    parts.width = image.width;
    parts.height = image.height;
    parts.hotSpot = hotSpot;
    parts.bitCount = image.bitCount;
    parts.hasAlpha = image.hasAlpha;
    parts.monochrome = image.monochrome;
    parts.colour = std::move(image.colour);
    parts.andMask = std::move(image.andMask);
    return parts;
}

int LookupIconIdInGroup(const uint8_t* group, size_t size, bool icon, int cx, int cy) {
    if (!group || size < kGroupHeader || U16(group, 0) != 0 || U16(group, 2) != (icon ? 1 : 2))
        return 0;
    const size_t count = U16(group, 4);
    if (count == 0 || kGroupHeader + count * kGroupEntry > size)
        return 0;
    if (cx == 0)
        cx = GetSystemMetrics(icon ? SM_CXICON : SM_CXCURSOR);
    if (cy == 0)
        cy = GetSystemMetrics(icon ? SM_CYICON : SM_CYCURSOR);
    std::vector<IconCandidate> candidates;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* at = group + kGroupHeader + i * kGroupEntry;
        IconCandidate candidate{};
        if (icon) {
            candidate.width = at[0] ? at[0] : 256;
            candidate.height = at[1] ? at[1] : 256;
            candidate.bitCount = U16(at, 6) ? U16(at, 6) : DepthOfColourCount(at[2]);
        } else { // cursor entries hold WORD sizes, the height doubled
            candidate.width = U16(at, 0);
            candidate.height = U16(at, 2) / 2;
            candidate.bitCount = U16(at, 6);
        }
        candidates.push_back(candidate);
    }
    const int best = PickIconCandidate(candidates, cx, cy);
    return U16(group + kGroupHeader + size_t(best) * kGroupEntry, 12);
}

} // namespace platform

using namespace platform;

HICON CreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD version, int cx, int cy,
                               UINT flags) {
    if (!bits || size == 0 || (version != 0x30000 && version != 0x20000) || cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    IconParts parts;
    std::string why;
    if (LooksLikeAniCursor(bits, size)) {
        if (!ParseAniCursor(bits, size, parts, &why)) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        return MakeIcon(std::move(parts));
    }
    POINT hotSpot{0, 0};
    if (!icon) { // a cursor resource starts with its hot spot
        if (size < 4) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        hotSpot = POINT{U16(bits, 0), U16(bits, 2)};
        bits += 4;
        size -= 4;
    }
    IconImage image;
    if (!DecodeIconImage(bits, size, image, &why) ||
        (!icon && (hotSpot.x >= image.width || hotSpot.y >= image.height))) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    parts = PartsFromImage(std::move(image), icon != FALSE, hotSpot);
    if (flags & LR_DEFAULTSIZE) {
        cx = cx ? cx : GetSystemMetrics(icon ? SM_CXICON : SM_CXCURSOR);
        cy = cy ? cy : GetSystemMetrics(icon ? SM_CYICON : SM_CYCURSOR);
    }
    HICON made = MakeIconAtSize(std::move(parts), cx, cy);
    if (made && (flags & LR_SHARED))
        MarkIconShared(made);
    return made;
}

HICON CreateIconFromResource(PBYTE bits, DWORD size, BOOL icon, DWORD version) {
    return CreateIconFromResourceEx(bits, size, icon, version, 0, 0, LR_DEFAULTSIZE);
}

int LookupIconIdFromDirectoryEx(PBYTE group, BOOL icon, int cx, int cy, UINT) {
    if (!group)
        return 0;
    // The caller vouches for the whole group: header, then count entries.
    const size_t size = kGroupHeader + size_t(U16(group, 4)) * kGroupEntry;
    return LookupIconIdInGroup(group, size, icon != FALSE, cx, cy);
}

int LookupIconIdFromDirectory(PBYTE group, BOOL icon) {
    return LookupIconIdFromDirectoryEx(group, icon, 0, 0, 0);
}
