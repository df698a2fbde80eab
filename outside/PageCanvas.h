#pragma once

// What a page is drawn on: litehtml's container over the platform's GDI.
// Text goes through our fonts (the page's UTF-8 as GBK, so a character GBK
// lacks shows as '?'), pictures from the page's picture store (drawn once
// they have arrived), backgrounds, borders and list markers through GDI
// fills. The page's layout thread makes, lays out and draws it; the
// pictures the page names and the link clicked are kept for it to take.
// Sizes the page asks for are held to what can be drawn.

#include "outside/PagePictures.h"
#include "platform/gdi/Gdi.h"

#include <litehtml/litehtml.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class PageCanvas final : public litehtml::document_container {
public:
    explicit PageCanvas(std::shared_ptr<PagePictures> pictures);
    ~PageCanvas();
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;

    // The page's address (relative references resolve against it) and the
    // control's size; both before the page is made.
    void SetPage(const std::string& url);
    void SetViewport(int width, int height);
    const std::string& Title() const { return m_title; }
    bool OverLink() const { return m_cursor == "pointer"; }
    // An address the page names, made absolute.
    std::string Absolute(const char* src, const char* baseurl) const;

    // The pictures named since the last call that nobody asked for yet.
    std::vector<std::string> TakeWantedPictures();
    // The link clicked since the last call, or empty.
    std::string TakeClickedLink();
    // A link clicked or a picture named waits to be taken.
    bool HasNews() const { return !m_clicked.empty() || !m_wanted.empty(); }

    // Draws into hdc; litehtml's draw calls come back here.
    void BeginDraw(HDC hdc, const RECT& clip);
    void EndDraw();

    // litehtml::document_container
    litehtml::uint_ptr create_font(const char* face, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr font) override;
    int text_width(const char* text, litehtml::uint_ptr font) override;
    void draw_text(litehtml::uint_ptr hdc, const char* text, litehtml::uint_ptr font,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const char* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const char* src, const char* baseurl, bool redraw) override;
    void get_image_size(const char* src, const char* baseurl, litehtml::size& size) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& pos, bool root) override;
    void set_caption(const char* caption) override;
    void set_base_url(const char* base) override;
    void link(const std::shared_ptr<litehtml::document>& doc,
              const litehtml::element::ptr& el) override;
    void on_anchor_click(const char* url, const litehtml::element::ptr& el) override;
    void set_cursor(const char* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius,
                  bool validX, bool validY) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element>
    create_element(const char* tag, const litehtml::string_map& attributes,
                   const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;
    void split_text(const char* text, const std::function<void(const char*)>& onWord,
                    const std::function<void(const char*)>& onSpace) override;

private:
    struct Font {
        HFONT handle;
        int ascent;
        int descent;
    };
    const PagePictures::Picture* Find(const char* src, const char* baseurl) const;
    // The part of r inside the current clip; empty when none.
    RECT Visible(const RECT& r) const;
    void Fill(const RECT& r, litehtml::web_color color);
    void DrawPicture(const PagePictures::Picture& picture, const RECT& at);

    std::shared_ptr<PagePictures> m_pictures;
    std::vector<std::string> m_wanted;
    std::string m_clicked;
    HDC m_measure;
    HDC m_hdc = nullptr;
    std::vector<RECT> m_clips; // the innermost last; the paint's clip first
    std::map<litehtml::uint_ptr, Font> m_fonts;
    litehtml::uint_ptr m_lastFont = 0;
    std::string m_page;
    std::string m_base;
    std::string m_title;
    std::string m_cursor;
    int m_width = 0;
    int m_height = 0;
};
