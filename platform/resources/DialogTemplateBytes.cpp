// Dialog templates as the binary extended template a resource compiler
// writes, for callers that copy RT_DIALOG resources byte for byte.

#include "platform/CodePage.h"
#include "platform/resources/ResourceModule.h"

#include <cstring>

namespace platform {

namespace {

void PutU16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void PutU32(std::string& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// A GBK text as a terminated UTF-16 string.
void PutText(std::string& out, const std::string& gbk) {
    for (char32_t c : GbkToUnicode(gbk)) {
        if (c >= 0x10000) {
            c -= 0x10000;
            PutU16(out, 0xD800 + unsigned(c >> 10));
            PutU16(out, 0xDC00 + unsigned(c & 0x3FF));
        } else {
            PutU16(out, unsigned(c));
        }
    }
    PutU16(out, 0);
}

void AlignToDword(std::string& out) {
    while (out.size() % 4)
        out += '\0';
}

// The standard control classes travel as atoms.
int ClassAtom(const std::string& className) {
    static const char* const kClasses[] = {WC_BUTTON_NAME,  WC_EDIT_NAME,      WC_STATIC_NAME,
                                           WC_LISTBOX_NAME, WC_SCROLLBAR_NAME, WC_COMBOBOX_NAME};
    for (int i = 0; i < 6; ++i)
        if (className == kClasses[i])
            return 0x80 + i;
    return 0;
}

void PutRect(std::string& out, const DialogUnitRect& rect) {
    PutU16(out, unsigned(uint16_t(rect.x)));
    PutU16(out, unsigned(uint16_t(rect.y)));
    PutU16(out, unsigned(uint16_t(rect.cx)));
    PutU16(out, unsigned(uint16_t(rect.cy)));
}

} // namespace

std::string DialogTemplateBytes(const DialogTemplate& dialog) {
    std::string out;
    PutU16(out, 1);      // version
    PutU16(out, 0xFFFF); // the extended template's signature
    PutU32(out, 0);      // help id
    PutU32(out, dialog.exStyle);
    PutU32(out, dialog.style);
    PutU16(out, unsigned(dialog.controls.size()));
    PutRect(out, dialog.rect);
    PutU16(out, 0); // no menu
    PutU16(out, 0); // the standard dialog class
    PutText(out, dialog.caption);
    if (dialog.style & DS_SETFONT) {
        PutU16(out, unsigned(dialog.fontPointSize));
        PutU16(out, unsigned(dialog.fontWeight));
        out += char(dialog.fontItalic ? 1 : 0);
        out += char(dialog.fontCharSet);
        PutText(out, dialog.fontFace);
    }
    for (const DialogControlTemplate& control : dialog.controls) {
        AlignToDword(out);
        PutU32(out, 0); // help id
        PutU32(out, control.exStyle);
        PutU32(out, control.style);
        PutRect(out, control.rect);
        PutU32(out, uint32_t(control.id));
        if (int atom = ClassAtom(control.className)) {
            PutU16(out, 0xFFFF);
            PutU16(out, unsigned(atom));
        } else {
            PutText(out, control.className);
        }
        if (control.textResourceId) {
            PutU16(out, 0xFFFF);
            PutU16(out, control.textResourceId);
        } else {
            PutText(out, control.text);
        }
        PutU16(out, 0); // no creation data
    }
    return out;
}

} // namespace platform
