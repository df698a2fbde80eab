#include "app/MessageText.h"

#include "app/GameSettings.h"

#include <algorithm>
#include <cstring>

namespace message_text {

const char* const kWealthPhrase = "若要获得更多的财富值请访问";

namespace {

bool IsLead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// The length of the character starting at text[i] (2 for a lead byte with a
// trail byte after it).
int CharLength(const char* text, int length, int i) {
    return IsLead(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
}

constexpr char kEllipsis[] = " ...";

} // namespace

CString FoldBlankLines(const CString& text) {
    CString folded = text;
    folded.Replace("\n\n", "\n");
    return folded;
}

bool IsLinkText(const CString& text) {
    return text.Find(WebLinkAddress(kLinkWealthHelp)) >= 0 || text.Find(kWealthPhrase) >= 0 ||
           text.Find(WebLinkAddress(kLinkCardShop)) >= 0;
}

CString InsertHelpAddress(const CString& text) {
    if (text.Find("http://") >= 0)
        return text;
    CString result = text;
    result.Remove(' ');
    result = FoldBlankLines(result);
    const CString phrase = kWealthPhrase;
    const CString line = phrase + ":\n" + WebLinkAddress(kLinkWealthHelp) + "\n";
    for (const CString& form : {phrase + ":", phrase + "：", phrase}) {
        const int at = result.Find(form);
        if (at < 0)
            continue;
        result = result.Left(at) + line + result.Mid(at + form.GetLength());
        break;
    }
    return FoldBlankLines(result);
}

// Full-width punctuation that closes a phrase ("，", "。", "！", "？", "、",
// "；", "：", "）", "》", "”"): a line never starts with it.
bool IsClosingPunctuation(const char* text, int length, int i) {
    if (i + 1 >= length)
        return false;
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA3)
        return trail == 0xAC || trail == 0xA1 || trail == 0xBF || trail == 0xBB || trail == 0xBA ||
               trail == 0xA9;
    if (lead == 0xA1)
        return trail == 0xA3 || trail == 0xA2 || trail == 0xB7 || trail == 0xB1;
    return false;
}

int LineStep(const char* text, int length, int n) {
    if (n <= 0)
        return length > 0 ? CharLength(text, length, 0) : 0;
    int i = 0, last = 0;
    while (i < n && i < length) {
        last = i;
        i += CharLength(text, length, i);
    }
    if (i > n) { // the last character would cross the line's end
        i = last;
        last = 0;
        for (int k = 0; k < i; k += CharLength(text, length, k))
            last = k;
    }
    // The character before a closing mark goes down with it.
    if (i < length && last > 0 && IsClosingPunctuation(text, length, i))
        i = last;
    // A line holds at least one whole character, however narrow the area.
    return i > 0 ? i : CharLength(text, length, 0);
}

int CountLines(const CString& text, int width, int charWidth,
               const std::function<int(const char*, int)>& extent) {
    const int newline = text.Find('\n');
    if (newline >= 0)
        return CountLines(text.Left(newline), width, charWidth, extent) +
               CountLines(text.Mid(newline + 1), width, charWidth, extent);
    const int length = text.GetLength();
    if (length == 0)
        return 0;
    if (extent(text, length) <= width || charWidth <= 0)
        return 1;
    const int n = std::max(1, width / charWidth);
    const char* rest = text;
    int left = length, lines = 1;
    while (left > n) {
        const int step = LineStep(rest, left, n);
        rest += step;
        left -= step;
        ++lines;
    }
    return lines;
}

std::vector<CString> BreakLines(const CString& text, int n, int maxLines) {
    std::vector<CString> lines;
    const char* rest = text;
    int left = text.GetLength();
    while (left > 0 && int(lines.size()) < maxLines) {
        const char* newline = static_cast<const char*>(memchr(rest, '\n', size_t(left)));
        int take, skip = 0;
        if (newline && newline - rest <= n) {
            take = int(newline - rest);
            skip = 1;
        } else if (left > n) {
            take = LineStep(rest, left, n);
        } else {
            take = left;
        }
        lines.emplace_back(rest, take);
        rest += take + skip;
        left -= take + skip;
    }
    if (left > 0 && !lines.empty()) {
        // Whole characters make room for the ellipsis within the line's bytes.
        CString& last = lines.back();
        const char* bytes = last;
        const int room = std::max(0, n - int(sizeof kEllipsis - 1));
        int keep = 0;
        while (keep < last.GetLength()) {
            const int next = keep + CharLength(bytes, last.GetLength(), keep);
            if (next > room)
                break;
            keep = next;
        }
        last = last.Left(keep) + kEllipsis;
    }
    return lines;
}

} // namespace message_text
