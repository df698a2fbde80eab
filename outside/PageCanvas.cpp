// Drawing pages through the platform's GDI.

#include "outside/PageCanvas.h"

#include "outside/PageFetcher.h"
#include "outside/PageText.h"
#include "platform/CodePage.h"
#include "platform/text/Text.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

// Font sizes a page may ask for, in pixels: a huge glyph costs a huge bitmap.
constexpr int kMinFontPx = 6;
constexpr int kMaxFontPx = 96;
// Tiles of one background drawn at most; a tiny picture over a big box is
// left at that.
constexpr int kMaxTiles = 4096;
// A list marker is a bullet: one the size of a screen is not drawn.
constexpr int kMaxMarkerPx = 512;

COLORREF ColorOf(litehtml::web_color c) {
    return RGB(c.red, c.green, c.blue);
}

// Coordinates a page gives may be anything an int holds, and their sums
// more: they are worked out in 64 bits and held within a billion pixels of
// the page's origin, far past any screen, so later sums cannot overflow.
constexpr int64_t kFar = int64_t(1) << 30;

int Held(int64_t v) {
    return int(std::clamp(v, -kFar, kFar));
}

RECT Box(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return RECT{Held(left), Held(top), Held(right), Held(bottom)};
}

RECT RectOf(const litehtml::position& p) {
    return Box(p.x, p.y, int64_t(p.x) + p.width, int64_t(p.y) + p.height);
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

} // namespace

PageCanvas::PageCanvas(std::shared_ptr<PagePictures> pictures)
    : m_pictures(std::move(pictures)), m_measure(CreateCompatibleDC(nullptr)) {}

PageCanvas::~PageCanvas() {
    for (auto& [id, font] : m_fonts)
        DeleteObject(font.handle);
    DeleteDC(m_measure);
}

void PageCanvas::SetPage(const std::string& url) {
    m_page = url;
    m_base = url;
    m_title.clear();
    m_cursor.clear();
}

void PageCanvas::SetViewport(int width, int height) {
    m_width = width;
    m_height = height;
}

std::vector<std::string> PageCanvas::TakeWantedPictures() {
    return std::exchange(m_wanted, {});
}

std::string PageCanvas::TakeClickedLink() {
    return std::exchange(m_clicked, std::string());
}

void PageCanvas::BeginDraw(HDC hdc, const RECT& clip) {
    m_hdc = hdc;
    m_clips.assign(1, clip);
}

void PageCanvas::EndDraw() {
    m_hdc = nullptr;
    m_clips.clear();
}

std::string PageCanvas::Absolute(const char* src, const char* baseurl) const {
    const std::string base = baseurl && *baseurl ? PageFetcher::Resolve(m_base, baseurl) : m_base;
    return PageFetcher::Resolve(base.empty() ? m_base : base, src ? src : "");
}

const PagePictures::Picture* PageCanvas::Find(const char* src, const char* baseurl) const {
    return m_pictures->Find(Absolute(src, baseurl));
}

RECT PageCanvas::Visible(const RECT& r) const {
    return m_clips.empty() ? RECT{0, 0, 0, 0} : Intersect(r, m_clips.back());
}

void PageCanvas::Fill(const RECT& r, litehtml::web_color color) {
    const RECT visible = Visible(r);
    if (!m_hdc || color.alpha == 0 || Empty(visible))
        return;
    HBRUSH brush = CreateSolidBrush(ColorOf(color));
    FillRect(m_hdc, &visible, brush);
    DeleteObject(brush);
}

// Only the part inside the clip is drawn, from the matching part of the
// picture, so a picture stretched over a huge box costs no more than the
// screen it covers.
void PageCanvas::DrawPicture(const PagePictures::Picture& picture, const RECT& at) {
    const RECT visible = Visible(at);
    const int pw = picture.keptWidth, ph = picture.keptHeight;
    if (!m_hdc || !picture.kept || Empty(visible) || Empty(at) || pw <= 0 || ph <= 0)
        return;
    const double sx = double(pw) / (double(at.right) - at.left);
    const double sy = double(ph) / (double(at.bottom) - at.top);
    const LONG x0 = LONG((double(visible.left) - at.left) * sx);
    const LONG y0 = LONG((double(visible.top) - at.top) * sy);
    const LONG x1 = std::max(
        x0 + 1, LONG(std::min<double>(pw, (double(visible.right) - at.left) * sx + 0.999)));
    const LONG y1 = std::max(
        y0 + 1, LONG(std::min<double>(ph, (double(visible.bottom) - at.top) * sy + 0.999)));
    HDC source = CreateCompatibleDC(m_hdc);
    HGDIOBJ old = SelectObject(source, picture.kept);
    const int width = visible.right - visible.left, height = visible.bottom - visible.top;
    if (picture.alpha) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(m_hdc, visible.left, visible.top, width, height, source, x0, y0, x1 - x0,
                   y1 - y0, blend);
    } else {
        const int mode = SetStretchBltMode(m_hdc, COLORONCOLOR);
        StretchBlt(m_hdc, visible.left, visible.top, width, height, source, x0, y0, x1 - x0,
                   y1 - y0, SRCCOPY);
        SetStretchBltMode(m_hdc, mode);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

litehtml::uint_ptr PageCanvas::create_font(const char* face, int size, int weight,
                                           litehtml::font_style italic, unsigned int decoration,
                                           litehtml::font_metrics* fm) {
    // The first face of the list, without quotes; every face maps to the
    // installed CJK font.
    std::string name = face ? face : "";
    name = name.substr(0, name.find(','));
    name.erase(
        std::remove_if(name.begin(), name.end(), [](char c) { return c == '"' || c == '\''; }),
        name.end());
    const int px = std::clamp(size, kMinFontPx, kMaxFontPx);
    HFONT handle =
        CreateFont(-px, 0, 0, 0, std::clamp(weight, 100, 900), italic == litehtml::fontStyleItalic,
                   (decoration & litehtml::font_decoration_underline) != 0,
                   (decoration & litehtml::font_decoration_linethrough) != 0, DEFAULT_CHARSET,
                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                   platform::Utf8ToGbk(name).c_str());
    if (!handle)
        return 0;
    HGDIOBJ old = SelectObject(m_measure, handle);
    TEXTMETRIC tm{};
    GetTextMetrics(m_measure, &tm);
    SIZE x{};
    GetTextExtentPoint32(m_measure, "x", 1, &x);
    SelectObject(m_measure, old);
    Font font{handle, int(tm.tmAscent), int(tm.tmDescent)};
    if (fm) {
        fm->ascent = font.ascent;
        fm->descent = font.descent;
        fm->height = font.ascent + font.descent;
        fm->x_height = std::max(1, int(x.cy) / 2);
        fm->draw_spaces = false;
    }
    m_fonts[++m_lastFont] = font;
    return m_lastFont;
}

void PageCanvas::delete_font(litehtml::uint_ptr id) {
    auto found = m_fonts.find(id);
    if (found == m_fonts.end())
        return;
    DeleteObject(found->second.handle);
    m_fonts.erase(found);
}

int PageCanvas::text_width(const char* text, litehtml::uint_ptr id) {
    auto found = m_fonts.find(id);
    if (found == m_fonts.end() || !text)
        return 0;
    const std::string gbk = platform::Utf8ToGbk(text);
    HGDIOBJ old = SelectObject(m_measure, found->second.handle);
    SIZE size{};
    GetTextExtentPoint32(m_measure, gbk.c_str(), int(gbk.size()), &size);
    SelectObject(m_measure, old);
    return int(size.cx);
}

void PageCanvas::draw_text(litehtml::uint_ptr, const char* text, litehtml::uint_ptr id,
                           litehtml::web_color color, const litehtml::position& pos) {
    auto found = m_fonts.find(id);
    const RECT visible = Visible(RectOf(pos));
    if (!m_hdc || found == m_fonts.end() || !text || color.alpha == 0 || Empty(visible))
        return;
    const std::string gbk = platform::Utf8ToGbk(text);
    const int saved = SaveDC(m_hdc);
    IntersectClipRect(m_hdc, visible.left, visible.top, visible.right, visible.bottom);
    SelectObject(m_hdc, found->second.handle);
    SetTextColor(m_hdc, ColorOf(color));
    SetBkMode(m_hdc, TRANSPARENT);
    const RECT box = RectOf(pos);
    TextOut(m_hdc, box.left, box.bottom - found->second.ascent - found->second.descent, gbk.c_str(),
            int(gbk.size()));
    RestoreDC(m_hdc, saved);
}

int PageCanvas::pt_to_px(int pt) const {
    return pt * 96 / 72;
}

int PageCanvas::get_default_font_size() const {
    return 14;
}

const char* PageCanvas::get_default_font_name() const {
    return "宋体";
}

void PageCanvas::draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker& marker) {
    const RECT box = RectOf(marker.pos);
    if (!marker.image.empty()) {
        if (const PagePictures::Picture* picture = Find(marker.image.c_str(), marker.baseurl))
            DrawPicture(*picture, box);
        return;
    }
    if (marker.marker_type == litehtml::list_style_type_square) {
        Fill(box, marker.color);
        return;
    }
    if (marker.marker_type != litehtml::list_style_type_disc &&
        marker.marker_type != litehtml::list_style_type_circle)
        return; // numbered markers are drawn as text by the layout
    const RECT visible = Visible(box);
    if (!m_hdc || Empty(visible) || int64_t(box.right) - box.left > kMaxMarkerPx ||
        int64_t(box.bottom) - box.top > kMaxMarkerPx)
        return;
    const int saved = SaveDC(m_hdc);
    IntersectClipRect(m_hdc, visible.left, visible.top, visible.right, visible.bottom);
    HPEN pen = CreatePen(PS_SOLID, 1, ColorOf(marker.color));
    HBRUSH brush = marker.marker_type == litehtml::list_style_type_disc
                       ? CreateSolidBrush(ColorOf(marker.color))
                       : nullptr;
    SelectObject(m_hdc, pen);
    SelectObject(m_hdc, brush ? HGDIOBJ(brush) : GetStockObject(NULL_BRUSH));
    Ellipse(m_hdc, box.left, box.top, box.right, box.bottom);
    RestoreDC(m_hdc, saved);
    DeleteObject(pen);
    if (brush)
        DeleteObject(brush);
}

void PageCanvas::load_image(const char* src, const char* baseurl, bool) {
    const std::string url = Absolute(src, baseurl);
    if (!url.empty() && m_pictures->Ask(url))
        m_wanted.push_back(url);
}

void PageCanvas::get_image_size(const char* src, const char* baseurl, litehtml::size& size) {
    const PagePictures::Picture* picture = Find(src, baseurl);
    size.width = picture ? picture->width : 0;
    size.height = picture ? picture->height : 0;
}

void PageCanvas::draw_background(litehtml::uint_ptr, const litehtml::background_paint& bg) {
    const RECT clip = RectOf(bg.clip_box);
    Fill(clip, bg.color);
    const PagePictures::Picture* picture =
        bg.image.empty() ? nullptr : Find(bg.image.c_str(), bg.baseurl.c_str());
    const int w = bg.image_size.width, h = bg.image_size.height;
    if (!picture || !picture->kept || w <= 0 || h <= 0)
        return;
    // Tiles start from the picture's position and cover the clip box in the
    // directions the repeat allows.
    const bool acrossX = bg.repeat == litehtml::background_repeat_repeat ||
                         bg.repeat == litehtml::background_repeat_repeat_x;
    const bool acrossY = bg.repeat == litehtml::background_repeat_repeat ||
                         bg.repeat == litehtml::background_repeat_repeat_y;
    const RECT area = Visible(clip);
    if (Empty(area))
        return;
    int64_t x0 = Held(bg.position_x), y0 = Held(bg.position_y);
    if (acrossX)
        x0 -= ((x0 - area.left) / w + (x0 > area.left ? 1 : 0)) * w;
    if (acrossY)
        y0 -= ((y0 - area.top) / h + (y0 > area.top ? 1 : 0)) * h;
    const int64_t xEnd = acrossX ? area.right : x0 + 1, yEnd = acrossY ? area.bottom : y0 + 1;
    if ((xEnd - x0) / w * ((yEnd - y0) / h) > kMaxTiles)
        return;
    m_clips.push_back(Intersect(m_clips.back(), clip));
    for (int64_t y = y0; y < yEnd; y += h)
        for (int64_t x = x0; x < xEnd; x += w)
            DrawPicture(*picture, Box(x, y, x + w, y + h));
    m_clips.pop_back();
}

void PageCanvas::draw_borders(litehtml::uint_ptr, const litehtml::borders& borders,
                              const litehtml::position& pos, bool) {
    const auto shown = [](const litehtml::border& b) {
        return b.width > 0 && b.style != litehtml::border_style_none &&
               b.style != litehtml::border_style_hidden;
    };
    // Every style is drawn solid.
    const RECT r = RectOf(pos);
    if (shown(borders.top))
        Fill(Box(r.left, r.top, r.right, int64_t(r.top) + borders.top.width), borders.top.color);
    if (shown(borders.bottom))
        Fill(Box(r.left, int64_t(r.bottom) - borders.bottom.width, r.right, r.bottom),
             borders.bottom.color);
    if (shown(borders.left))
        Fill(Box(r.left, r.top, int64_t(r.left) + borders.left.width, r.bottom),
             borders.left.color);
    if (shown(borders.right))
        Fill(Box(int64_t(r.right) - borders.right.width, r.top, r.right, r.bottom),
             borders.right.color);
}

void PageCanvas::set_caption(const char* caption) {
    m_title = caption ? caption : "";
}

void PageCanvas::set_base_url(const char* base) {
    const std::string resolved = PageFetcher::Resolve(m_page, base ? base : "");
    if (!resolved.empty())
        m_base = resolved;
}

void PageCanvas::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void PageCanvas::on_anchor_click(const char* url, const litehtml::element::ptr&) {
    if (url && *url && *url != '#')
        m_clicked = Absolute(url, nullptr);
}

void PageCanvas::set_cursor(const char* cursor) {
    m_cursor = cursor ? cursor : "";
}

void PageCanvas::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    bool wordStart = true;
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (tt == litehtml::text_transform_uppercase ||
            (tt == litehtml::text_transform_capitalize && wordStart))
            c = char(std::toupper(u));
        else if (tt == litehtml::text_transform_lowercase)
            c = char(std::tolower(u));
        wordStart = std::isspace(u) != 0;
    }
}

// Style sheets of their own are not fetched: a page's <style> and style
// attributes apply.
void PageCanvas::import_css(litehtml::tstring& text, const litehtml::tstring&, litehtml::tstring&) {
    text.clear();
}

void PageCanvas::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&,
                          bool validX, bool validY) {
    RECT r = m_clips.empty() ? RectOf(pos) : Intersect(m_clips.back(), RectOf(pos));
    if (!m_clips.empty() && !validX) {
        r.left = m_clips.back().left;
        r.right = m_clips.back().right;
    }
    if (!m_clips.empty() && !validY) {
        r.top = m_clips.back().top;
        r.bottom = m_clips.back().bottom;
    }
    m_clips.push_back(r);
}

void PageCanvas::del_clip() {
    if (m_clips.size() > 1)
        m_clips.pop_back();
}

void PageCanvas::get_client_rect(litehtml::position& client) const {
    client = litehtml::position(0, 0, m_width, m_height);
}

std::shared_ptr<litehtml::element>
PageCanvas::create_element(const char*, const litehtml::string_map&,
                           const std::shared_ptr<litehtml::document>&) {
    return nullptr;
}

void PageCanvas::get_media_features(litehtml::media_features& media) const {
    media.type = litehtml::media_type_screen;
    media.width = m_width;
    media.height = m_height;
    media.device_width = GetSystemMetrics(SM_CXSCREEN);
    media.device_height = GetSystemMetrics(SM_CYSCREEN);
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void PageCanvas::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
    language = "zh";
    culture = "CN";
}

void PageCanvas::split_text(const char* text, const std::function<void(const char*)>& onWord,
                            const std::function<void(const char*)>& onSpace) {
    SplitPageText(text, onWord, onSpace);
}
