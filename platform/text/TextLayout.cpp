#include "platform/text/TextLayout.h"

#include "platform/CodePage.h"
#include "platform/text/Text.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::string_view kEllipsis = "...";
constexpr int kTabStopChars = 8;

// '&' marks the next character as the one to underline; "&&" is a plain '&'.
// Without DT_HIDEPREFIX the last marked character is kept for underlining.
std::string StripPrefixes(std::string_view text, bool hide, long& underlined) {
    std::string out;
    out.reserve(text.size());
    underlined = -1;
    for (size_t i = 0; i < text.size();) {
        int bytes = GbkCharLength(text, i);
        if (text[i] == '&') {
            ++i;
            if (i >= text.size())
                break;
            bytes = GbkCharLength(text, i);
            if (text[i] != '&' && !hide)
                underlined = long(out.size());
        }
        out.append(text.substr(i, size_t(bytes)));
        i += size_t(bytes);
    }
    return out;
}

struct Range {
    size_t begin;
    size_t end;
};

// A paragraph cut into lines no wider than width where it can be.
void WrapParagraph(FontInstance& font, std::string_view text, Range paragraph, int width,
                   const LineStyle& style, bool breakWords, std::vector<Range>& lines) {
    std::vector<PlacedChar> chars;
    WalkLine(font, text.substr(paragraph.begin, paragraph.end - paragraph.begin), style,
             [&](const PlacedChar& c) { chars.push_back(c); });
    size_t n = chars.size();
    auto offset = [&](size_t index) {
        return paragraph.begin +
               (index < n ? chars[index].offset : paragraph.end - paragraph.begin);
    };
    auto isSpace = [&](size_t index) { return chars[index].code == U' '; };
    size_t i = 0;
    if (n == 0)
        lines.push_back(paragraph);
    while (i < n) {
        int startX = chars[i].x;
        size_t breakEnd = 0, breakNext = 0; // a place to end the line, and where the next begins
        size_t j = i;
        for (; j < n; ++j) {
            if (isSpace(j)) {
                if (j > i && !isSpace(j - 1)) {
                    breakEnd = j;
                    breakNext = j;
                    while (breakNext < n && isSpace(breakNext))
                        ++breakNext;
                }
                continue; // spaces may run past the edge; they are dropped at a break
            }
            if (j > i && !isSpace(j - 1) && (chars[j].bytes == 2 || chars[j - 1].bytes == 2)) {
                breakEnd = j;
                breakNext = j;
            }
            if (j > i && chars[j].x + chars[j].advance - startX > width)
                break;
        }
        if (j == n) {
            lines.push_back({offset(i), offset(n)});
            break;
        }
        if (breakEnd > i) {
            lines.push_back({offset(i), offset(breakEnd)});
            i = breakNext;
        } else if (breakWords) {
            lines.push_back({offset(i), offset(j)});
            i = j;
        } else { // the word stays whole: the line ends where the word does
            size_t k = j + 1;
            while (k < n && !isSpace(k) && chars[k].bytes == 1 && chars[k - 1].bytes == 1)
                ++k;
            lines.push_back({offset(i), offset(k)});
            i = k;
            while (i < n && isSpace(i))
                ++i;
        }
    }
}

// Cuts whole characters off the end until the line and "..." fit in width.
void AddEllipsis(FontInstance& font, LaidOutLine& line, int width, const LineStyle& style) {
    int room = width - LineWidth(font, kEllipsis, style);
    size_t keep = 0;
    WalkLine(font, line.text, style, [&](const PlacedChar& c) {
        if (c.x + c.advance <= room && keep == c.offset)
            keep = c.offset + size_t(c.bytes);
    });
    line.text.resize(keep);
    line.text += kEllipsis;
    if (line.underlinedChar >= long(keep))
        line.underlinedChar = -1;
}

} // namespace

TextLayout LayOutText(FontInstance& font, std::string_view text, int width, UINT format) {
    TextLayout layout;
    if (text.empty())
        return layout;
    if (format & DT_EXPANDTABS)
        layout.style.tabWidth = kTabStopChars * font.Metrics().averageCharWidth;
    long underlined = -1;
    std::string plain = (format & DT_NOPREFIX)
                            ? std::string(text)
                            : StripPrefixes(text, format & DT_HIDEPREFIX, underlined);
    std::vector<Range> ranges;
    if (format & DT_SINGLELINE) {
        ranges.push_back({0, plain.size()});
    } else {
        // Paragraphs end at "\r\n", "\n" or "\r".
        size_t begin = 0;
        for (size_t i = 0; i <= plain.size();) {
            bool end = i == plain.size();
            if (!end && plain[i] != '\r' && plain[i] != '\n') {
                i += size_t(GbkCharLength(plain, i));
                continue;
            }
            Range paragraph{begin, i};
            if (format & DT_WORDBREAK)
                WrapParagraph(font, plain, paragraph, width, layout.style, format & DT_EDITCONTROL,
                              ranges);
            else
                ranges.push_back(paragraph);
            if (end)
                break;
            i += (plain[i] == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n') ? 2 : 1;
            begin = i;
        }
    }
    for (const Range& range : ranges) {
        LaidOutLine line;
        line.text = plain.substr(range.begin, range.end - range.begin);
        if (underlined >= long(range.begin) && underlined < long(range.end))
            line.underlinedChar = underlined - long(range.begin);
        line.width = LineWidth(font, line.text, layout.style);
        if ((format & DT_END_ELLIPSIS) && line.width > width) {
            AddEllipsis(font, line, width, layout.style);
            line.width = LineWidth(font, line.text, layout.style);
        }
        layout.widest = std::max(layout.widest, line.width);
        layout.lines.push_back(std::move(line));
    }
    return layout;
}

} // namespace platform
