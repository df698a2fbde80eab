// Reading a page into a document laid out at a width.

#include "outside/PageView.h"

#include "outside/PageCanvas.h"
#include "outside/PagePictures.h"
#include "outside/PageScreen.h"

#include <litehtml/litehtml.h>

#include <algorithm>
#include <strings.h>
#include <vector>

PageView::~PageView() {
    document.reset(); // it gives its fonts back to the canvas
    canvas.reset();
}

std::unique_ptr<PageView> LayOutPage(litehtml::context& context, const std::string& markup,
                                     const std::string& url, int width, int height,
                                     const PageCosts& costs, std::shared_ptr<PagePictures> pictures,
                                     bool theirs) {
    auto view = std::make_unique<PageView>();
    view->pictures = pictures;
    if (theirs) {
        view->reason = ScreenMarkup(markup, costs.elements, costs.pieces, costs.depth);
        if (!view->reason.empty())
            return view;
    }
    view->canvas = std::make_unique<PageCanvas>(pictures);
    view->canvas->SetPage(url);
    view->canvas->SetViewport(width, height);
    view->document =
        litehtml::document::createFromUTF8(markup.c_str(), view->canvas.get(), &context);
    if (!view->document) {
        view->reason = "网页无法排版";
        return view;
    }
    if (theirs)
        view->reason = ScreenLayout(*view->document, costs.nestedBoxes);
    if (!view->reason.empty()) {
        view->document.reset();
        return view;
    }
    view->document->render(std::max(1, width));
    return view;
}

std::map<std::string, SIZE> DrawnPictureSizes(PageView& view) {
    std::map<std::string, SIZE> drawn;
    if (!view.document)
        return drawn;
    std::vector<litehtml::element::ptr> pending{view.document->root()};
    while (!pending.empty()) {
        const litehtml::element::ptr el = pending.back();
        pending.pop_back();
        if (!el)
            continue;
        const char* tag = el->get_tagName();
        const char* src = el->get_attr("src");
        if (tag && src && strcasecmp(tag, "img") == 0) {
            const litehtml::position place = el->get_placement();
            SIZE& size = drawn[view.canvas->Absolute(src, nullptr)];
            size.cx = std::max<LONG>(size.cx, std::max(1, place.width));
            size.cy = std::max<LONG>(size.cy, std::max(1, place.height));
        }
        for (size_t k = 0; k < el->get_children_count(); ++k)
            pending.push_back(el->get_child(int(k)));
    }
    return drawn;
}
