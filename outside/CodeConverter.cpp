// "codecvt.dll": converts texts between code pages, over iconv. Code page 0
// is the system's own (936, GBK). A converted text never grows past the
// length of its source, so callers may convert into a buffer of that size;
// a character the target lacks becomes the replacement bytes.

#include "outside/OutsideModules.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>

namespace {

const char* CharsetOf(WORD codePage) {
    switch (codePage) {
    case 0:
    case 936:
        return "GBK";
    case 950:
        return "BIG5";
    case 932:
        return "SHIFT_JIS";
    case 949:
        return "CP949";
    case 1252:
        return "CP1252";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

// The converted bytes; false when either code page is unknown.
bool Convert(const char* source, size_t length, WORD from, WORD to, WORD replacement,
             std::string& out) {
    const char* fromName = CharsetOf(from);
    const char* toName = CharsetOf(to);
    if (fromName == nullptr || toName == nullptr)
        return false;
    iconv_t converter = iconv_open(toName, fromName);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    char* in = const_cast<char*>(source);
    size_t inLeft = length;
    out.clear();
    while (inLeft > 0) {
        char chunk[256];
        char* outPtr = chunk;
        size_t outLeft = sizeof chunk;
        size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, outPtr - chunk);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // An unconvertible or broken character: one source byte, or two
            // when it starts a double-byte pair.
            size_t skip = (static_cast<unsigned char>(*in) & 0x80) && inLeft > 1 ? 2 : 1;
            in += skip;
            inLeft -= skip;
            out += static_cast<char>(replacement & 0xFF);
            if (skip == 2)
                out += static_cast<char>(replacement >> 8);
        }
    }
    iconv_close(converter);
    return true;
}

// Cuts to at most limit bytes without splitting a double-byte character of
// the target (the high-bit rule of the DBCS code pages).
size_t CutLength(const std::string& text, size_t limit) {
    size_t length = 0;
    while (length < text.size()) {
        size_t step = (static_cast<unsigned char>(text[length]) & 0x80) ? 2 : 1;
        if (length + step > limit)
            break;
        length += step;
    }
    return length < text.size() ? length : text.size();
}

int TranStrCodePage(const char* source, char* destination, WORD from, WORD to, WORD replacement) {
    size_t length = strlen(source);
    std::string converted;
    if (!Convert(source, length, from, to, replacement, converted)) {
        memmove(destination, source, length + 1);
        return 0;
    }
    size_t kept = CutLength(converted, length);
    memcpy(destination, converted.data(), kept);
    destination[kept] = '\0';
    return 1;
}

int TranCodePage(char* text, WORD from, WORD to) {
    return TranStrCodePage(text, text, from, to, 0x5F5F);
}

int TranDatCodePage(BYTE* data, int length, WORD from, WORD to) {
    std::string converted;
    if (length <= 0 || !Convert(reinterpret_cast<const char*>(data), static_cast<size_t>(length),
                                from, to, 0x5F5F, converted))
        return 0;
    size_t kept = CutLength(converted, static_cast<size_t>(length));
    memcpy(data, converted.data(), kept);
    memset(data + kept, 0, static_cast<size_t>(length) - kept);
    return static_cast<int>(kept);
}

} // namespace

BuiltinModuleDefinition CodeConverterModule() {
    BuiltinModuleDefinition module;
    module.fileName = "codecvt.dll";
    module.exports = {
        {"TranCodePage", reinterpret_cast<FARPROC>(TranCodePage)},
        {"TranDatCodePage", reinterpret_cast<FARPROC>(TranDatCodePage)},
        {"TranStrCodePage", reinterpret_cast<FARPROC>(TranStrCodePage)},
    };
    return module;
}
