#pragma once

// The object behind an HFONT, and how the text calls find the font a DC has
// selected.

#include "platform/gdi/DeviceContext.h"
#include "platform/text/Font.h"
#include "platform/text/FontEngine.h"

namespace platform {

class FontObject : public GdiObject {
public:
    FontObject(const LOGFONT& font, std::shared_ptr<FontInstance> instance)
        : GdiObject(GdiKind::Font), logFont(font), instance(std::move(instance)) {}
    int Describe(int size, void* buffer) const override;

    LOGFONT logFont;
    std::shared_ptr<FontInstance> instance;
};

inline FontObject* LookupFont(HFONT font) {
    return Lookup<FontObject>(font, GdiKind::Font);
}

// What a LOGFONT asks of the font engine.
FontRequest RequestFor(const LOGFONT& font);

// The font a DC draws with: its selected one, else the system font.
FontObject& FontOf(DeviceContext& dc);

} // namespace platform
