// The page control's default style and error page.

#include "outside/PageDefaults.h"

const char kPageDefaultStyle[] = R"(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset,
h1, h2, h3, h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, header, footer,
section, article, nav, aside, main { display: block; }
head, script, style, title, meta, link, noscript, template { display: none; }
html { color: black; }
body { margin: 8px; background-color: white; line-height: normal; }
p, blockquote, ul, ol, dl, pre { margin-top: 1em; margin-bottom: 1em; }
h1 { font-size: 2em; margin: .67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: .75em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: .83em 0; font-weight: bold; }
h4 { margin: 1.12em 0; font-weight: bold; }
h5 { font-size: .83em; margin: 1.5em 0; font-weight: bold; }
h6 { font-size: .75em; margin: 1.67em 0; font-weight: bold; }
b, strong, th { font-weight: bold; }
i, em, cite, var, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
small { font-size: .83em; }
big { font-size: 1.17em; }
pre, tt, code, kbd, samp { font-family: monospace; }
pre { white-space: pre; }
center { text-align: center; }
br { display: block; }
img { display: inline-block; }
a:link, a:visited, a { color: #0000ee; text-decoration: underline; cursor: pointer; }
ul, ol, menu, dir { padding-left: 40px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
li { display: list-item; }
dd { margin-left: 40px; }
hr { border: 1px inset gray; margin: .5em auto; }
table { display: table; border-spacing: 2px; border-collapse: separate; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
table[border] { border: 1px solid #808080; }
table[border] td, table[border] th { border: 1px solid #808080; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }
input, select, button, textarea { display: inline-block; }
)";

const char kErrorPageTitle[] = "无法显示网页";

std::string EscapeMarkup(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string ErrorPageMarkup(const std::string& address, const std::string& reason) {
    return std::string("<html><head><meta charset=\"utf-8\"><title>") + kErrorPageTitle +
           "</title></head><body style=\"font-size:13px\">"
           "<h3 style=\"color:#a00000\">" +
           kErrorPageTitle +
           "</h3>"
           "<p>无法打开网页：<br>" +
           EscapeMarkup(address) +
           "</p>"
           "<p>原因：" +
           EscapeMarkup(reason) +
           "</p>"
           "<p>请稍后再试。</p></body></html>";
}
