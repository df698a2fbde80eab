#pragma once

// The words the table draws, read as a person reads them: the text a text
// sprite shows, and the floating notices up now by their sprite ids.

#include "sprite/SpriteWnd.h"
#include "sprite/TextImage.h"
#include "table/common/GameWndIds.h"

#include <map>
#include <string>

namespace table_test {

// The sprite of the id while it is drawn; null else.
inline SPRITEINFO* DrawnSprite(CSpriteWnd& wnd, int id) {
    const POSITION pos = wnd.FindSpritePos(id);
    SPRITEINFO* s = pos != nullptr ? wnd.GetSpriteAt(pos) : nullptr;
    return s != nullptr && s->nChannel >= 0 && s->bShown ? s : nullptr;
}

// The words a text sprite draws; empty while it does not show.
inline std::string DrawnWords(CSpriteWnd& wnd, int id) {
    SPRITEINFO* s = DrawnSprite(wnd, id);
    auto* text =
        s != nullptr ? dynamic_cast<CTextImage*>(wnd.GetImageList().GetAt(s->posImage)) : nullptr;
    return text != nullptr ? text->GetText() : "";
}

// The notices drawn now, with or without words: their words by sprite id.
inline std::map<int, std::string> DrawnNotices(CSpriteWnd& wnd) {
    std::map<int, std::string> notices;
    for (int id = kFirstNoticeId; id <= kLastNoticeId; ++id)
        if (DrawnSprite(wnd, id) != nullptr)
            notices[id] = DrawnWords(wnd, id);
    return notices;
}

// The sprite id of the notice drawn with the words; -1 while none is.
inline int DrawnNotice(CSpriteWnd& wnd, const std::string& words) {
    for (const auto& [id, drawn] : DrawnNotices(wnd))
        if (drawn == words)
            return id;
    return -1;
}

} // namespace table_test
