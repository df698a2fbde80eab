#pragma once

// The resource script: the subset of a Windows .rc file that resource
// modules are written in. UTF-8 source; texts are GBK once parsed.
//
//   #include "resource.h"          // its #define lines give the ids
//   #include <windows.h>           // system headers: ignored (styles are known)
//   #define IDC_LOCAL 1200         // numbers or expressions of | + - ~ ( )
//
//   STRINGTABLE
//   BEGIN
//       IDS_HELLO  "你好"           // "" is a quote; \n \r \t \\ \" escapes
//   END
//
//   IDD_ABOUT DIALOGEX 0, 0, 180, 90
//   STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
//   EXSTYLE WS_EX_TOOLWINDOW
//   CAPTION "关于"
//   FONT 9, "宋体"[, weight, italic, charset]
//   BEGIN
//       LTEXT|RTEXT|CTEXT|PUSHBUTTON|DEFPUSHBUTTON|CHECKBOX|AUTOCHECKBOX|
//       RADIOBUTTON|AUTORADIOBUTTON|GROUPBOX "text", id, x, y, cx, cy[, style[, exstyle]]
//       EDITTEXT|LISTBOX|COMBOBOX id, x, y, cx, cy[, style[, exstyle]]
//       ICON name-or-id, id, x, y[, cx, cy[, style[, exstyle]]]
//       CONTROL "text"-or-id, id, "class", style, x, y, cx, cy[, exstyle]
//   END
//
//   IDB_LOGO   BITMAP  "logo.bmp"
//   IDC_POINT  CURSOR  "point.cur"
//   IDI_GAME   ICON    "game.ico"
//   29710      HANDCURSOR "hand.bin"   // any other type: the file's bytes
//   LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
//
// A LANGUAGE statement gives the resources after it (dialogs and files) that
// language, as a resource compiler does; a LANGUAGE line inside a dialog
// gives that dialog alone. Without one, resources are language neutral.
// Styles are lists of names or numbers joined by |, where "NOT name" removes
// a style the statement would otherwise have. BEGIN/END may be written { }.
// Comments are // and /* */.
// Anything else is refused with a message naming the file and line.

#include "platform/resources/DialogTemplate.h"

#include <map>
#include <string>
#include <vector>

namespace platform {

// A resource's type or name: a number, or a text (kept upper-case, since
// resource names are compared without case).
struct ResourceId {
    WORD number = 0;
    std::string text;

    bool operator<(const ResourceId& other) const {
        return number != other.number ? number < other.number : text < other.text;
    }
    bool operator==(const ResourceId& other) const {
        return number == other.number && text == other.text;
    }
};

// A resource whose bytes come from a file (BITMAP, CURSOR, ICON and
// user-defined types).
struct ScriptFileResource {
    ResourceId type; // RT_BITMAP, RT_CURSOR, RT_ICON numbers, or a type name
    ResourceId name;
    std::string path; // as written, relative to the script's folder
    int line = 0;
    WORD language = 0; // of the LANGUAGE statement before it; 0 is neutral
};

struct ResourceScript {
    std::map<UINT, std::string> strings; // id -> GBK text
    std::vector<DialogTemplate> dialogs;
    std::vector<ScriptFileResource> files;
    std::map<std::string, long> symbols; // every #define met
};

// Reads a resource script. sourceName names it in messages; #include "x"
// reads baseFolder/x (which may hold only #define, #pragma and comments).
// False with a message "name:line: what is wrong" on the first error.
bool ParseResourceScript(const std::string& text, const std::string& sourceName,
                         const std::string& baseFolder, ResourceScript& script,
                         std::string* error = nullptr);

// The value of a style or id name the script knows without a header
// (WS_, DS_, BS_, SS_, ES_, LBS_, CBS_, IDOK ...); false when unknown.
bool LookupBuiltinSymbol(const std::string& name, long& value);

} // namespace platform
