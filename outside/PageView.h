#pragma once

// A page read and laid out: its markup screened against what a page may
// cost, made into a litehtml document on a canvas of its own, and laid out at
// the control's width. Made, laid out and drawn on the page control's layout
// thread (outside/PageLayout.h).

#include "platform/gdi/Gdi.h"

#include <map>
#include <memory>
#include <string>

class PageCanvas;
class PagePictures;
namespace litehtml {
class context;
class document;
} // namespace litehtml

// What a page may cost to lay out and keep.
struct PageCosts {
    int elements = 5000;
    int pieces = 50000; // words and blanks
    int depth = 200;
    int nestedBoxes = 10; // floats, inline blocks, table cells inside each other
    size_t keptPictureBytes = size_t(32) << 20; // one page's pictures as drawn
};

// A page read and laid out, with the canvas it is drawn on.
struct PageView {
    std::shared_ptr<PagePictures> pictures;
    std::unique_ptr<PageCanvas> canvas;
    std::shared_ptr<litehtml::document> document;
    std::string reason; // not empty: the page may not be shown, and why

    ~PageView();
};

// Reads markup into a view laid out at a width. A page of theirs is screened
// first, and refused (reason set, no document) past the costs.
std::unique_ptr<PageView> LayOutPage(litehtml::context& context, const std::string& markup,
                                     const std::string& url, int width, int height,
                                     const PageCosts& costs, std::shared_ptr<PagePictures> pictures,
                                     bool theirs);

// The largest size at which the page draws each of its pictures, by address.
std::map<std::string, SIZE> DrawnPictureSizes(PageView& view);
