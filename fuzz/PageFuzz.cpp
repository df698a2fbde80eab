// Arbitrary bytes as a page the quick-buy pop-up is sent, or as random
// markup built from pieces they pick: converted from the charset the first
// byte picks, screened and laid out at a width the second byte picks as the
// page control's layout thread does, and drawn through our GDI. A page ends screened
// out or drawn, never in a crash, a hang or a read outside its bytes.

#include "outside/PageCanvas.h"
#include "outside/PageDefaults.h"
#include "outside/PagePictures.h"
#include "outside/PageText.h"
#include "outside/PageView.h"

#include <litehtml/litehtml.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

// Pieces of markup that random bytes pick from, so the layout meets tables,
// floats, lists, huge sizes and broken nesting, not only text.
const char* const kPieces[] = {
    "<div>",
    "</div>",
    "<p>",
    "</p>",
    "<table>",
    "</table>",
    "<tr>",
    "</tr>",
    "<td>",
    "</td>",
    "<th rowspan=7>",
    "<td colspan=99999>",
    "<table border=1 cellspacing=60 width=150%>",
    "<tbody>",
    "<caption>",
    "<ul>",
    "<ol start=-5>",
    "<li>",
    "</li>",
    "</ul>",
    "<b>",
    "</b>",
    "<i>",
    "</i>",
    "<a href=x>",
    "</a>",
    "<br>",
    "<hr>",
    "<pre>",
    "</pre>",
    "<center>",
    "<font size=7 color=red>",
    "<h1>",
    "</h1>",
    "<img src=a.png>",
    "<img width=100000 height=3>",
    "<span style='font-size:100000px'>",
    "<div style='width:2147483000px;margin:-99999999px'>",
    "<div style='float:left;width:50%'>",
    "<div style='float:right;clear:both'>",
    "<div style='position:absolute;left:-5px;top:99999px'>",
    "<div style='position:fixed'>",
    "<div style='display:inline-block;padding:30%'>",
    "<div style='display:table-cell'>",
    "<span style='display:block'>",
    "<div style='overflow:hidden;height:3px'>",
    "<div style='white-space:nowrap'>",
    "<div style='line-height:0;border:9999px solid'>",
    "<style>div{margin:-10px;border:3px dotted blue}td{width:1px}</style>",
    "<div style='background:url(a.png) repeat-x'>",
    "<li style='list-style:square'>",
    "<div style='text-transform:uppercase;text-align:justify'>",
    "<html>",
    "<body>",
    "<title>",
    "</title>",
    "<!--",
    "-->",
    "<![CDATA[",
    "&amp;",
    "&#x10FFFF;",
    "<",
    ">",
    "大字",
    "text ",
    " ",
    "\t",
    "\n",
    "<sub>",
    "<sup>",
    "<q>",
    "<select><option>",
};

std::string Markup(const uint8_t* data, size_t size) {
    std::string markup;
    for (size_t i = 0; i < size; ++i)
        markup += kPieces[data[i] % (sizeof kPieces / sizeof kPieces[0])];
    return markup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    static const char* const kTypes[] = {"text/html", "text/html; charset=gbk",
                                         "text/html; charset=utf-8", "text/html; charset=big5",
                                         "text/html; charset=bogus"};
    const std::string type = kTypes[data[0] % 5];
    const int width = 1 + data[1] * 4;
    // The first byte's top bit: the bytes as they are, or as markup pieces.
    const std::string body = data[0] & 0x80
                                 ? Markup(data + 2, size - 2)
                                 : std::string(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string text = PageTextToUtf8(body, type);

    static litehtml::context* context = [] {
        auto* c = new litehtml::context;
        c->load_master_stylesheet(kPageDefaultStyle);
        return c;
    }();
    const std::unique_ptr<PageView> view =
        LayOutPage(*context, text, "http://127.0.0.1/page", width, 300, PageCosts{},
                   std::make_shared<PagePictures>(PageCosts{}.keptPictureBytes), true);
    if (!view->document)
        return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, 300);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT clip{0, 0, width, 300};
    view->canvas->BeginDraw(dc, clip);
    litehtml::position where(0, 0, width, 300);
    view->document->draw(litehtml::uint_ptr(dc), 0, 0, &where);
    view->canvas->EndDraw();
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
