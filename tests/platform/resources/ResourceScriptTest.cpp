// The resource script parser on every construct the resource library uses.

#include "platform/resources/ResourceScript.h"
#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using platform::ParseResourceScript;
using platform::ResourceScript;

namespace {

ResourceScript Parse(const std::string& text, const std::string& folder = ".") {
    ResourceScript script;
    std::string error;
    EXPECT_TRUE(ParseResourceScript(text, "test.rc", folder, script, &error)) << error;
    return script;
}

const DialogTemplate& OnlyDialog(const ResourceScript& script) {
    EXPECT_EQ(script.dialogs.size(), 1u);
    return script.dialogs.at(0);
}

} // namespace

TEST(ResourceScript, StringTableTextsBecomeGbkWithEscapesAndIdsFromDefines) {
    ResourceScript script = Parse(Utf8(u8R"(
        #define IDS_FIRST 21
        #define IDS_NEXT (IDS_FIRST + 1)   // expressions are allowed
        STRINGTABLE
        BEGIN
            IDS_FIRST  "你好，世界"
            IDS_NEXT,  "line\none\ttab ""quoted"" back\\slash"
            0x7530     "%s掉线了"
        END
    )"));
    ASSERT_EQ(script.strings.size(), 3u);
    EXPECT_EQ(script.strings[21], "你好，世界"); // GBK in the test, GBK from the parser
    EXPECT_EQ(script.strings[22], "line\none\ttab \"quoted\" back\\slash");
    EXPECT_EQ(script.strings[0x7530], "%s掉线了");
    EXPECT_EQ(script.symbols.at("IDS_NEXT"), 22);
}

TEST(ResourceScript, DialogHeaderTakesCaptionFontStylesAndResourceCompilerDefaults) {
    ResourceScript script = Parse(Utf8(u8R"(
        3005 DIALOGEX 10, 20, 200, 90
        STYLE DS_MODALFRAME | WS_POPUP
        EXSTYLE WS_EX_TOOLWINDOW
        CAPTION "提示"
        FONT 9, "宋体", 700, 1, 134
        BEGIN
        END
        3006 DIALOGEX 0, 0, 50, 40
        { }
    )"));
    ASSERT_EQ(script.dialogs.size(), 2u);
    const DialogTemplate& box = script.dialogs[0];
    EXPECT_EQ(box.nameId, 3005);
    EXPECT_EQ(box.caption, "提示");
    EXPECT_EQ(box.fontFace, "宋体");
    EXPECT_EQ(box.fontPointSize, 9);
    EXPECT_EQ(box.fontWeight, 700);
    EXPECT_TRUE(box.fontItalic);
    EXPECT_EQ(box.fontCharSet, 134);
    EXPECT_EQ(box.style, DWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(box.exStyle, DWORD(WS_EX_TOOLWINDOW));
    EXPECT_EQ(box.rect.x, 10);
    EXPECT_EQ(box.rect.y, 20);
    EXPECT_EQ(box.rect.cx, 200);
    EXPECT_EQ(box.rect.cy, 90);
    EXPECT_TRUE(box.controls.empty());
    // Without STYLE, CAPTION or FONT: the resource compiler's plain popup.
    const DialogTemplate& plain = script.dialogs[1];
    EXPECT_EQ(plain.style, DWORD(WS_POPUP | WS_BORDER | WS_SYSMENU));
    EXPECT_EQ(plain.fontPointSize, 0);
}

TEST(ResourceScript, EachControlStatementGivesItsClassAndDefaultStyle) {
    const DialogTemplate dialog = OnlyDialog(Parse(Utf8(u8R"(
        #define IDC_TEXT 1000
        100 DIALOGEX 0, 0, 100, 100
        BEGIN
            LTEXT "左", IDC_TEXT, 1, 2, 3, 4
            RTEXT "右", 1001, 1, 2, 3, 4
            CTEXT "中", IDC_STATIC, 1, 2, 3, 4
            PUSHBUTTON "按钮", 1003, 1, 2, 3, 4
            DEFPUSHBUTTON "确定", IDOK, 1, 2, 3, 4
            CHECKBOX "c", 1005, 1, 2, 3, 4
            AUTOCHECKBOX "ac", 1006, 1, 2, 3, 4
            RADIOBUTTON "r", 1007, 1, 2, 3, 4
            AUTORADIOBUTTON "ar", 1008, 1, 2, 3, 4
            GROUPBOX "g", 1009, 1, 2, 3, 4
            EDITTEXT 1010, 5, 6, 7, 8
            LISTBOX 1011, 5, 6, 7, 8
            COMBOBOX 1012, 5, 6, 7, 8
        END
    )")));
    struct Expected {
        const char* className;
        DWORD style;
        int id;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Expected expected[] = {
        {"STATIC", child | SS_LEFT | WS_GROUP, 1000},
        {"STATIC", child | SS_RIGHT | WS_GROUP, 1001},
        {"STATIC", child | SS_CENTER | WS_GROUP, -1},
        {"BUTTON", child | BS_PUSHBUTTON | WS_TABSTOP, 1003},
        {"BUTTON", child | BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK},
        {"BUTTON", child | BS_CHECKBOX | WS_TABSTOP, 1005},
        {"BUTTON", child | BS_AUTOCHECKBOX | WS_TABSTOP, 1006},
        {"BUTTON", child | BS_RADIOBUTTON | WS_TABSTOP, 1007},
        {"BUTTON", child | BS_AUTORADIOBUTTON | WS_TABSTOP, 1008},
        {"BUTTON", child | BS_GROUPBOX, 1009},
        {"EDIT", child | ES_LEFT | WS_BORDER | WS_TABSTOP, 1010},
        {"LISTBOX", child | LBS_NOTIFY | WS_BORDER, 1011},
        {"COMBOBOX", child | CBS_SIMPLE | WS_TABSTOP, 1012},
    };
    ASSERT_EQ(dialog.controls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialog.controls[i].className, expected[i].className);
        EXPECT_EQ(dialog.controls[i].style, expected[i].style);
        EXPECT_EQ(dialog.controls[i].id, expected[i].id);
        EXPECT_EQ(dialog.controls[i].line, int(5 + i));
    }
    EXPECT_EQ(dialog.controls[0].text, "左");
    EXPECT_EQ(dialog.controls[10].rect.x, 5);
    EXPECT_EQ(dialog.controls[10].rect.cy, 8);
    EXPECT_TRUE(dialog.controls[10].text.empty());
    EXPECT_EQ(dialog.FindControl(IDOK), &dialog.controls[4]);
    EXPECT_EQ(dialog.FindControl(4242), nullptr);
}

TEST(ResourceScript, StyleListsAddAndRemoveStylesAndTakeExtendedStyles) {
    const DialogTemplate dialog = OnlyDialog(Parse(R"(
        100 DIALOGEX 0, 0, 100, 100
        BEGIN
            PUSHBUTTON "", 1, 1, 2, 3, 4, NOT WS_VISIBLE | NOT WS_TABSTOP | BS_OWNERDRAW
            EDITTEXT 2, 1, 2, 3, 4, ES_PASSWORD | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE
            COMBOBOX 3, 1, 2, 3, 4, CBS_DROPDOWNLIST | WS_VSCROLL
            LTEXT "", 4, 1, 2, 3, 4, 0x80 | NOT WS_GROUP
        END
    )"));
    ASSERT_EQ(dialog.controls.size(), 4u);
    EXPECT_EQ(dialog.controls[0].style, DWORD(WS_CHILD | BS_OWNERDRAW));
    EXPECT_EQ(dialog.controls[1].style,
              DWORD(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL));
    EXPECT_EQ(dialog.controls[1].exStyle, DWORD(WS_EX_CLIENTEDGE));
    EXPECT_EQ(dialog.controls[2].style & CBS_DROPDOWNLIST, DWORD(CBS_DROPDOWNLIST));
    EXPECT_EQ(dialog.controls[3].style, DWORD(WS_CHILD | WS_VISIBLE | SS_NOPREFIX));
}

TEST(ResourceScript, ControlAndIconStatementsNameClassesAndPictures) {
    const DialogTemplate dialog = OnlyDialog(Parse(R"(
        #define IDI_GAME 3003
        100 DIALOGEX 0, 0, 100, 100
        BEGIN
            CONTROL "Go", 10, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4
            CONTROL "", 11, "MyHoverButton", WS_TABSTOP, 1, 2, 3, 4, WS_EX_TRANSPARENT
            CONTROL 3008, 12, "Static", SS_BITMAP, 1, 2, 3, 4
            ICON IDI_GAME, 13, 7, 8
            ICON "Logo", 14, 7, 8, 21, 20, NOT WS_VISIBLE
        END
    )"));
    ASSERT_EQ(dialog.controls.size(), 5u);
    EXPECT_EQ(dialog.controls[0].className, "BUTTON");
    EXPECT_EQ(dialog.controls[0].style,
              DWORD(WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP));
    EXPECT_EQ(dialog.controls[1].className, "MyHoverButton"); // kept as written
    EXPECT_EQ(dialog.controls[1].exStyle, DWORD(WS_EX_TRANSPARENT));
    EXPECT_EQ(dialog.controls[2].textResourceId, 3008);
    EXPECT_TRUE(dialog.controls[2].text.empty());
    EXPECT_EQ(dialog.controls[3].className, "STATIC");
    EXPECT_EQ(dialog.controls[3].style, DWORD(WS_CHILD | WS_VISIBLE | SS_ICON));
    EXPECT_EQ(dialog.controls[3].textResourceId, 3003);
    EXPECT_EQ(dialog.controls[3].rect.cx, 0);
    EXPECT_EQ(dialog.controls[4].text, "Logo"); // looked up without case
    EXPECT_EQ(dialog.controls[4].rect.cx, 21);
    EXPECT_EQ(dialog.controls[4].style, DWORD(WS_CHILD | SS_ICON));
}

TEST(ResourceScript, FileResourcesKeepTypeNameAndPath) {
    ResourceScript script = Parse(R"(
        #define IDB_SHEET 3008
        LANGUAGE 4, 2
        IDB_SHEET BITMAP "cards.bmp"
        3011 CURSOR "table.cur"
        Logo ICON "logo.ico"
        29710 HANDCURSOR "hand.bin"
    )");
    ASSERT_EQ(script.files.size(), 4u);
    EXPECT_EQ(script.files[0].type.number, 2);
    EXPECT_EQ(script.files[0].name.number, 3008);
    EXPECT_EQ(script.files[0].path, "cards.bmp");
    EXPECT_EQ(script.files[1].type.number, 1);
    EXPECT_EQ(script.files[2].type.number, 3);
    EXPECT_EQ(script.files[2].name.text, "LOGO");
    EXPECT_EQ(script.files[3].type.text, "HANDCURSOR");
    EXPECT_EQ(script.files[3].name.number, 29710);
    EXPECT_EQ(script.files[3].line, 7);
}

TEST(ResourceScript, IncludedHeaderGivesIdsAndSystemHeadersAreSkipped) {
    TempFolder folder;
    folder.Write("resource.h", "// ids\n#pragma once\n#define IDS_HELLO 7\n/* more */\n"
                               "#define IDD_BOX 0x64\n");
    ResourceScript script = Parse(R"(
        #include <windows.h>
        #include "resource.h"
        STRINGTABLE BEGIN IDS_HELLO "hi" END
        IDD_BOX DIALOGEX 0, 0, 1, 1 BEGIN END
    )",
                                  folder.Path());
    EXPECT_EQ(script.strings.at(7), "hi");
    EXPECT_EQ(OnlyDialog(script).nameId, 100);
}
