#include "knclientbase05/NoticeText.h"

#include "platform/CodePage.h"

#include <cstring>
#include <string_view>

size_t CutAtCharacter(const char* text, size_t length, size_t limit) {
    const std::string_view view(text, length);
    size_t kept = 0;
    while (kept < length) {
        const size_t step = size_t(platform::GbkCharLength(view, kept));
        if (step == 0 || kept + step > limit)
            break;
        kept += step;
    }
    return kept;
}

size_t CopyBoundedText(char* out, size_t outSize, const void* text, size_t available) {
    if (out == nullptr || outSize == 0)
        return 0;
    const char* source = static_cast<const char*>(text);
    size_t length = 0;
    if (source != nullptr) {
        const void* end = memchr(source, '\0', available);
        length = end != nullptr ? size_t(static_cast<const char*>(end) - source) : available;
        length = CutAtCharacter(source, length, outSize - 1);
        memcpy(out, source, length);
    }
    out[length] = '\0';
    return length;
}

bool AppendBoundedText(char* buffer, size_t size, const char* text) {
    if (buffer == nullptr || size == 0 || text == nullptr)
        return false;
    const size_t used = strnlen(buffer, size - 1);
    buffer[used] = '\0';
    const size_t length = strlen(text);
    const size_t kept = CutAtCharacter(text, length, size - 1 - used);
    memcpy(buffer + used, text, kept);
    buffer[used + kept] = '\0';
    return kept == length;
}

void FormatNotice(char* out, size_t outSize, const char* format, const char* argument) {
    if (out == nullptr || outSize == 0)
        return;
    out[0] = '\0';
    if (format == nullptr)
        return;
    const std::string_view view(format);
    bool argumentUsed = false;
    size_t at = 0;
    while (at < view.size()) {
        // '%' never appears as the second byte of a double-byte character,
        // so a plain scan for it is safe; everything between is copied whole.
        size_t next = view.find('%', at);
        if (next == std::string_view::npos)
            next = view.size();
        if (next > at) {
            const std::string piece(view.substr(at, next - at));
            if (!AppendBoundedText(out, outSize, piece.c_str()))
                return;
        }
        if (next >= view.size())
            break;
        const char directive = next + 1 < view.size() ? view[next + 1] : '\0';
        if (directive == 's' && !argumentUsed) {
            argumentUsed = true;
            if (!AppendBoundedText(out, outSize, argument != nullptr ? argument : ""))
                return;
            at = next + 2;
        } else if (directive == '%') {
            if (!AppendBoundedText(out, outSize, "%"))
                return;
            at = next + 2;
        } else {
            if (!AppendBoundedText(out, outSize, "%"))
                return;
            at = next + 1;
        }
    }
}

bool SameNameNoCase(const char* a, const char* b, size_t limit) {
    if (a == nullptr || b == nullptr)
        return false;
    size_t i = 0;
    while (i < limit) {
        const BYTE x = BYTE(a[i]), y = BYTE(b[i]);
        if (x == 0 || y == 0)
            return x == y;
        if (IsDBCSLeadByte(x)) {
            // A double-byte character matches only itself: its second byte
            // may look like a letter but is no letter.
            if (x != y)
                return false;
            if (i + 1 >= limit)
                return true;
            if (a[i + 1] != b[i + 1])
                return false;
            if (a[i + 1] == '\0')
                return true;
            i += 2;
            continue;
        }
        const int fx = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        const int fy = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (fx != fy)
            return false;
        ++i;
    }
    return true;
}
