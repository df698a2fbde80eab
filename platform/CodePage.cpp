#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <unordered_map>

namespace platform {
namespace {

constexpr int kLeadFirst = 0x81;
constexpr int kLeadLast = 0xFE;
constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFE;
constexpr int kTrailCount = kTrailLast - kTrailFirst + 1;

bool IsTrailByte(unsigned char byte) {
    return byte >= kTrailFirst && byte <= kTrailLast && byte != 0x7F;
}

// One iconv conversion of a whole short sequence; 0 when it has no form.
char32_t ConvertOne(iconv_t converter, const char* bytes, size_t length) {
    char input[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
    char* in = input;
    size_t inLeft = length;
    char32_t output[2] = {0, 0};
    char* out = reinterpret_cast<char*>(output);
    size_t outLeft = sizeof(output);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1) || inLeft != 0 ||
        outLeft != sizeof(output) - sizeof(char32_t))
        return 0;
    return output[0];
}

// Both directions as tables, built once through iconv: a table lookup per
// character keeps text measuring and drawing fast.
struct Tables {
    std::array<char32_t, 128> highSingle{}; // bytes 0x80-0xFF alone
    std::array<char32_t, (kLeadLast - kLeadFirst + 1) * kTrailCount> pair{}; // 0 = no form
    std::unordered_map<char32_t, uint16_t> toGbk;                            // big-endian byte pair

    Tables() {
        iconv_t converter = iconv_open("UTF-32LE", "CP936");
        if (converter == iconv_t(-1))
            converter = iconv_open("UTF-32LE", "GBK");
        if (converter == iconv_t(-1))
            return;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            char single = char(byte);
            highSingle[size_t(byte - 0x80)] = ConvertOne(converter, &single, 1);
            if (highSingle[size_t(byte - 0x80)] != 0)
                toGbk.emplace(highSingle[size_t(byte - 0x80)], uint16_t(byte));
        }
        for (int lead = kLeadFirst; lead <= kLeadLast; ++lead) {
            for (int trail = kTrailFirst; trail <= kTrailLast; ++trail) {
                if (trail == 0x7F)
                    continue;
                char bytes[2] = {char(lead), char(trail)};
                char32_t code = ConvertOne(converter, bytes, 2);
                pair[size_t((lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst))] = code;
                if (code != 0)
                    toGbk.emplace(code, uint16_t(lead << 8 | trail));
            }
        }
        iconv_close(converter);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// Decodes one UTF-8 sequence; malformed input gives kReplacementChar for one byte.
char32_t DecodeUtf8(std::string_view text, size_t& index) {
    unsigned char first = static_cast<unsigned char>(text[index]);
    int extra = first < 0x80           ? 0
                : (first >> 5) == 0x06 ? 1
                : (first >> 4) == 0x0E ? 2
                : (first >> 3) == 0x1E ? 3
                                       : -1;
    if (extra < 0 || index + size_t(extra) >= text.size()) {
        ++index;
        return kReplacementChar;
    }
    char32_t code = extra == 0 ? first : first & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        unsigned char next = static_cast<unsigned char>(text[index + size_t(i)]);
        if ((next & 0xC0) != 0x80) {
            ++index;
            return kReplacementChar;
        }
        code = code << 6 | (next & 0x3F);
    }
    index += size_t(extra) + 1;
    return code;
}

} // namespace

int GbkCharLength(std::string_view text, size_t index) {
    if (index >= text.size())
        return 0;
    unsigned char lead = static_cast<unsigned char>(text[index]);
    if (lead >= kLeadFirst && lead <= kLeadLast && index + 1 < text.size() &&
        IsTrailByte(static_cast<unsigned char>(text[index + 1])))
        return 2;
    return 1;
}

char32_t DecodeGbkChar(std::string_view text, size_t index, int* bytes) {
    int length = GbkCharLength(text, index);
    if (bytes)
        *bytes = length;
    if (length == 0)
        return 0;
    unsigned char lead = static_cast<unsigned char>(text[index]);
    if (length == 1) {
        if (lead < 0x80)
            return lead;
        char32_t code = GetTables().highSingle[lead - 0x80];
        return code ? code : kReplacementChar;
    }
    unsigned char trail = static_cast<unsigned char>(text[index + 1]);
    char32_t code =
        GetTables().pair[size_t((lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst))];
    return code ? code : kReplacementChar;
}

std::u32string GbkToUnicode(std::string_view gbk) {
    std::u32string out;
    out.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size();) {
        int bytes = 0;
        out += DecodeGbkChar(gbk, i, &bytes);
        i += size_t(bytes);
    }
    return out;
}

std::string UnicodeToGbk(std::u32string_view text) {
    const auto& toGbk = GetTables().toGbk;
    std::string out;
    out.reserve(text.size() * 2);
    for (char32_t code : text) {
        if (code < 0x80) {
            out += char(code);
            continue;
        }
        auto found = toGbk.find(code);
        if (found == toGbk.end()) {
            out += char(kReplacementChar);
        } else if (found->second > 0xFF) {
            out += char(found->second >> 8);
            out += char(found->second & 0xFF);
        } else {
            out += char(found->second);
        }
    }
    return out;
}

std::string GbkToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (char32_t code : GbkToUnicode(gbk))
        AppendUtf8(out, code);
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    std::u32string text;
    for (size_t i = 0; i < utf8.size();)
        text += DecodeUtf8(utf8, i);
    return UnicodeToGbk(text);
}

} // namespace platform

BOOL IsDBCSLeadByte(BYTE byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
