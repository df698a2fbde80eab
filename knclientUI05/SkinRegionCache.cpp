#include "knclientUI05/SkinRegionCache.h"

#include "knclientbase05/GrowPtrArray.h"
#include "platform/Crt.h"
#include "platform/gdi/Gdi.h"

#include <cstring>
#include <new>

namespace {

struct RegionEntry {
    char name[64];
    HRGN region;
};

// Regions live as long as the library; the entries are never freed one by
// one, but all of them, regions too, go when the library does.
class RegionEntries : public CGrowPtrArray {
public:
    RegionEntries() : CGrowPtrArray(10) {}
    ~RegionEntries() override {
        for (int i = 0; i < GetSize(); ++i) {
            auto* entry = static_cast<RegionEntry*>(GetAt(i));
            DeleteObject(entry->region);
            delete entry;
        }
    }
};

CGrowPtrArray& Entries() {
    static RegionEntries entries;
    return entries;
}

} // namespace

HRGN FindSkinRegion(LPCSTR name) {
    if (name == nullptr)
        return nullptr;
    CGrowPtrArray& entries = Entries();
    // Newest first.
    for (int i = entries.GetSize() - 1; i >= 0; --i) {
        auto* entry = static_cast<RegionEntry*>(entries.GetAt(i));
        if (entry != nullptr && _stricmp(entry->name, name) == 0)
            return entry->region;
    }
    return nullptr;
}

BOOL CacheSkinRegion(LPCSTR name, HRGN region) {
    // A longer name would be cut and could share another background's shape.
    if (name == nullptr || region == nullptr || strlen(name) > 63)
        return FALSE;
    auto* entry = new (std::nothrow) RegionEntry{};
    if (entry == nullptr)
        return FALSE;
    strcpy(entry->name, name);
    entry->region = region;
    if (!Entries().Add(entry)) {
        delete entry;
        return FALSE;
    }
    return TRUE;
}

int SkinRegionCount() {
    return Entries().GetSize();
}
