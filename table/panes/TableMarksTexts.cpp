// The table's named text sprites: each is described by a "SPRITE_<name>"
// section of the theme file (its picture's resource section, an optional
// motion path, centring, layer, repeat and auto-free), made on demand and
// placed by the seat it belongs to.

#include "table/panes/TableMarks.h"

#include "game/GameLogic.h"
#include "platform/system/Profile.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/GifSpriteImage.h"
#include "sprite/SpriteWnd.h"
#include "table/common/GameWndActionRules.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/common/TableWndFields.h"

#include <utility>

namespace {

struct TextSprite {
    const char* name;
    int id;
    BOOL pointRulesOnly; // only at tables that declare points
};

const TextSprite kTextSprites[] = {
    {"等待", kWaitSprite, FALSE},
    {"标志", kFlashSprite, FALSE},
    {"预点", kPrePointSprite, TRUE},
    {"明点", kOpenPointSprite, TRUE},
    {"洗牌", kShuffleSprite, FALSE},
    {"革命", kRevolutionSprite, FALSE},
    {"进贡", kTributeSprite, FALSE},
    {"头科", kTouKeSprite, FALSE},
    {"烧牌One", kBurnOneSprite, FALSE},
    {"烧牌Two", kBurnTwoSprite, FALSE},
    {"烧牌Three", kBurnThreeSprite, FALSE},
    {"串三户", kChuanSanHuSprite, FALSE},
    {"胜利", kWinSprite, FALSE},
    {"失败", kLoseSprite, FALSE},
    {"兑换", kExchangeSprite, FALSE},
    {"升级", kUpgradeSprite, FALSE},
};

constexpr uint32_t kPointRule = 0x1;
// Between my texts and my buttons below them.
constexpr int kTextGap = 4;

CString SectionOf(LPCSTR name) {
    return CString("SPRITE_") + name;
}

} // namespace

POSITION CTableMarks::AddSpriteByName(LPCSTR name, int id, BOOL show, int param) {
    if (name == nullptr || name[0] == '\0')
        return nullptr;
    if (id != -1) {
        if (POSITION pos = m_wnd.FindSpritePos(id)) {
            m_wnd.PlaySprite(pos, FALSE, 0, -1, -1, TRUE);
            return pos;
        }
    }
    const CString section = SectionOf(name);
    LPCSTR file = m_strThemeFile;
    char resource[MAX_PATH] = {};
    GetPrivateProfileString(section, "resource", "", resource, sizeof resource, file);
    if (resource[0] == '\0') {
        WriteLog("The theme has no text sprite \"%s\"", name);
        return nullptr;
    }
    const int imageId = int(GetPrivateProfileInt(resource, "ID", -1, file));
    POSITION image = imageId != -1 ? m_wnd.GetImageList().Find(imageId) : nullptr;
    if (image == nullptr) {
        CGifSpriteImage* gif = NewGifSpriteImage(resource, file, m_strBitmapFolder, FALSE);
        if (gif == nullptr) {
            WriteLog("The picture of text sprite \"%s\" does not load", name);
            return nullptr;
        }
        image = m_wnd.GetImageList().Add(gif);
    }
    const SIZE size = m_wnd.GetImageList().GetAt(image)->GetSize(nullptr);
    const BOOL center = GetPrivateProfileInt(section, "center", 0, file) != 0;
    char path[MAX_PATH] = {};
    GetPrivateProfileString(section, "path", "", path, sizeof path, file);
    CSpriteLine* line = nullptr;
    if (path[0] != '\0') {
        // A motion path file beside the theme's pictures, in the section of the sprite.
        const CString pathFile = m_strBitmapFolder + "\\" + path;
        line = LoadSpriteLine(section, pathFile);
        if (line == nullptr)
            WriteLog("The path \"%s\" of text sprite \"%s\" does not load", path, name);
    }
    if (line == nullptr) {
        line = new CFixedLine;
        line->Init(0, 0, 4, 0, 0, 4, 1, -1, 255, 255);
    }
    if (center) {
        line->m_from.x -= size.cx / 2;
        line->m_from.y -= size.cy / 2;
        line->m_to.x -= size.cx / 2;
        line->m_to.y -= size.cy / 2;
    }
    const int layer = int(GetPrivateProfileInt(section, "layer", 0, file));
    const int repeat = int(GetPrivateProfileInt(section, "repeat", 0, file));
    const BOOL autoFree = GetPrivateProfileInt(section, "autofree", 1, file) != 0;
    POSITION pos = m_wnd.AddSprite(image, line, id, layer, repeat, param, name, autoFree);
    if (pos != nullptr && show)
        m_wnd.PlaySprite(pos, FALSE, 0, -1, -1, TRUE);
    return pos;
}

BOOL CTableMarks::CreateTextSprites() {
    const BOOL pointRules = (m_board.GetRuleFlags() & kPointRule) != 0;
    for (const TextSprite& t : kTextSprites) {
        if (t.pointRulesOnly && !pointRules)
            continue;
        if (m_wnd.FindSpritePos(t.id) != nullptr)
            continue;
        if (AddSpriteByName(t.name, t.id, FALSE, 0) == nullptr)
            return FALSE;
    }
    return TRUE;
}

POSITION CTableMarks::PlaceNamedSprite(LPCSTR name, int id, const CSpritePos& at, int endEvent,
                                       BOOL centreOnPoint, SpriteDone onEnd) {
    POSITION pos = m_wnd.FindSpritePos(id);
    if (pos == nullptr)
        pos = AddSpriteByName(name, id, FALSE, 0);
    SPRITEINFO* s = pos != nullptr ? m_wnd.GetSpriteAt(pos) : nullptr;
    if (s == nullptr)
        return nullptr;
    CSpritePos point = at;
    const SIZE size = m_wnd.GetImageList().GetAt(s->posImage)->GetSize(s);
    const BOOL center =
        centreOnPoint || GetPrivateProfileInt(SectionOf(name), "center", 0, m_strThemeFile) != 0;
    if (center) {
        point.x -= size.cx / 2;
        point.y -= size.cy / 2;
    }
    point = ClearPlace(point, size, id, TableRoomFor::kText);
    auto* line = new CFixedLine;
    line->Init(point.x, point.y, point.anchor, point.x, point.y, point.anchor, 1, -1, 255, 255);
    // Shown once; the end event, when asked, says the animation is over.
    const BOOL notify = endEvent >= 0;
    if (!m_wnd.SetSpriteLine(pos, line, notify, notify ? endEvent : 0, -1, 1, TRUE,
                             std::move(onEnd)))
        return nullptr;
    return pos;
}

SIZE CTableMarks::NamedSpriteSize(LPCSTR name, int id) {
    POSITION pos = m_wnd.FindSpritePos(id);
    if (pos == nullptr)
        pos = AddSpriteByName(name, id, FALSE, 0);
    SPRITEINFO* s = pos != nullptr ? m_wnd.GetSpriteAt(pos) : nullptr;
    return s != nullptr ? m_wnd.GetImageList().GetAt(s->posImage)->GetSize(s) : SIZE{0, 0};
}

CSpritePos CTableMarks::TextAnimationPlace(int seat, SIZE size) const {
    const int view = m_fields.viewpoint.ViewOf(seat);
    const CSpritePos at = m_fields.SeatPlace(seat);
    switch (view) {
    case 0: {
        // Mine stand above my buttons, just clear of them: over them they
        // would hide the buttons I am about to press.
        if (m_fields.pLayout == nullptr)
            return PosAt(-93, -200, 7);
        const int buttonsTop =
            ResolvePos(m_fields.pLayout->m_buttonsEx[CGameLayout::BX_TAKEOUT].m_pos).y;
        const int centre = buttonsTop - kTextGap - size.cy + size.cy / 2;
        return PosAt(-93, centre - TableClientSize().cy, 7);
    }
    case 1:
    case 2:
        return PosAt(at.x + 120, at.y - 30, at.anchor);
    case 3:
        return PosAt(at.x - 33, at.y + 150, at.anchor);
    default:
        return PosAt(at.x - 190, at.y - 30, at.anchor);
    }
}

POSITION CTableMarks::PlaceSeatText(LPCSTR name, int id, int seat, int endEvent, SpriteDone onEnd) {
    if (!IsSeat(seat))
        return nullptr;
    return PlaceNamedSprite(name, id, TextAnimationPlace(seat, NamedSpriteSize(name, id)), endEvent,
                            FALSE, std::move(onEnd));
}

void CTableMarks::ShowRevolutionMark(int seat) {
    PlaceSeatText("革命", kRevolutionSprite, seat);
}

void CTableMarks::ShowOpenPointMark(int seat) {
    PlaceSeatText("明点", kOpenPointSprite, seat);
}

void CTableMarks::ShowPrePointMark(int seat) {
    PlaceSeatText("预点", kPrePointSprite, seat);
}

void CTableMarks::ShowTributeMark(int seat) {
    // Only my own tribute is announced.
    if (IsSeat(seat) && seat == m_fields.viewpoint.nMySeat)
        PlaceSeatText("进贡", kTributeSprite, seat);
}

void CTableMarks::ShowTouKeMark() {
    // Over the seat that finished first, as the other seat texts stand.
    const std::vector<int>& places = m_board.GetPlaces();
    PlaceSeatText("头科", kTouKeSprite,
                  places.empty() ? m_fields.viewpoint.nMySeat : places.front());
}

void CTableMarks::ShowResultBanner(LPCSTR name, int id, int paneTop) {
    POSITION pos = m_wnd.FindSpritePos(id);
    if (pos == nullptr)
        pos = AddSpriteByName(name, id, FALSE, 0);
    SPRITEINFO* sprite = pos != nullptr ? m_wnd.GetSpriteAt(pos) : nullptr;
    if (sprite == nullptr)
        return;
    // Above the pane, so that it covers none of the rows: my own among them.
    const SIZE size = m_wnd.GetImageList().GetAt(sprite->posImage)->GetSize(sprite);
    PlaceNamedSprite(name, id, PosAt(0, paneTop - size.cy / 2 - 4, 4), -1, TRUE);
}

void CTableMarks::PlayUpgradeAnim(int seat) {
    if (!IsSeat(seat))
        return;
    const CSpritePos at = m_fields.SeatPlace(seat);
    PlaceNamedSprite("升级", kUpgradeSprite, PosAt(at.x - 5, at.y - 13, at.anchor), -1);
}

BOOL CTableMarks::ShowShuffleMark(SpriteDone startDeal) {
    POSITION pos = AddSpriteByName("洗牌", kShuffleSprite, FALSE, 0);
    if (pos == nullptr)
        return FALSE;
    // Played once along its path; its end deals the cards.
    return m_wnd.PlaySprite(pos, TRUE, kShuffleEnd, -1, 1, TRUE, std::move(startDeal));
}
