// Broken resource scripts and broken resource files are refused with a
// message naming the file and line, and nothing is registered.

#include "platform/resources/Resource.h"
#include "platform/resources/ResourceScript.h"
#include "platform/system/Module.h"
#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

struct BrokenScript {
    const char* what;
    std::string text;
    const char* expected; // the start of the message: "test.rc:<line>: ..."
};

std::string ParseError(const std::string& text, const std::string& folder = ".") {
    platform::ResourceScript script;
    std::string error;
    EXPECT_FALSE(platform::ParseResourceScript(text, "test.rc", folder, script, &error));
    return error;
}

} // namespace

TEST(ResourceScriptErrors, EachFaultNamesItsLine) {
    const BrokenScript cases[] = {
        {"unknown name", "STRINGTABLE\nBEGIN\n  IDS_MISSING \"x\"\nEND\n",
         "test.rc:3: unknown name 'IDS_MISSING'"},
        {"unclosed text", "STRINGTABLE\nBEGIN\n  1 \"open\nEND\n", "test.rc:3: text is not closed"},
        {"unclosed comment", "\n/* never closed\nSTRINGTABLE\n",
         "test.rc:2: comment is not closed"},
        {"string twice", "STRINGTABLE\nBEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n",
         "test.rc:4: string 1 defined twice"},
        {"dialog twice", "5 DIALOGEX 0,0,1,1\nBEGIN\nEND\n5 DIALOGEX 0,0,1,1\nBEGIN\nEND\n",
         "test.rc:4: dialog defined twice"},
        {"missing END", "5 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"\", 1, 0,0,1,1\n",
         "test.rc:4: END missing"},
        {"missing comma", "5 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"\" 1, 0,0,1,1\nEND\n",
         "test.rc:3: expected ','"},
        {"too few coordinates", "5 DIALOGEX 0,0,1,1\nBEGIN\n PUSHBUTTON \"\", 1, 0,0,1\nEND\n",
         "test.rc:4: expected ',' after the width, found 'END'"},
        {"unknown control", "5 DIALOGEX 0,0,1,1\nBEGIN\n SLIDER 1, 0,0,1,1\nEND\n",
         "test.rc:3: expected a control"},
        {"unsupported directive", "#define A 1\n#ifdef A\n",
         "test.rc:2: unsupported directive '#ifdef'"},
        {"redefined name", "#define A 1\n#define A 2\n", "test.rc:2: A is defined again"},
        {"bad escape", "STRINGTABLE\nBEGIN\n 1 \"\\q\"\nEND\n", "test.rc:3: unknown escape"},
        {"number too large", "STRINGTABLE\nBEGIN\n 0x123456789 \"\"\nEND\n",
         "test.rc:3: number too large"},
        {"string id out of range", "STRINGTABLE\nBEGIN\n 70000 \"\"\nEND\n",
         "test.rc:3: string id out of range"},
        {"resource id zero", "\n0 BITMAP \"a.bmp\"\n", "test.rc:2: resource id out of range"},
        {"menu", "1 MENU\nBEGIN\nEND\n", "test.rc:1: MENU resources are not supported"},
        {"text outside quotes", Utf8(u8"STRINGTABLE\nBEGIN\n 1 你好\nEND\n"),
         "test.rc:3: text outside quotes"},
        {"text GBK cannot hold", Utf8(u8"STRINGTABLE\nBEGIN\n 1 \"\U0001F600\"\nEND\n"),
         "test.rc:3: text is not UTF-8 or has characters GBK cannot hold"},
        {"not UTF-8", "STRINGTABLE\nBEGIN\n 1 \"\xC4\xE3\"\nEND\n", "test.rc:3: text is not UTF-8"},
        {"missing file name", "1 BITMAP cards\n", "test.rc:1: expected the file"},
        {"missing include", "\n#include \"nowhere.h\"\n", "test.rc:2: cannot read included file"},
        {"font size zero", "5 DIALOGEX 0,0,1,1\nFONT 0, \"x\"\nBEGIN\nEND\n",
         "test.rc:2: font size must be positive"},
    };
    for (const BrokenScript& broken : cases) {
        SCOPED_TRACE(broken.what);
        std::string error = ParseError(broken.text);
        EXPECT_EQ(error.rfind(broken.expected, 0), 0u) << error;
    }
}

TEST(ResourceScriptErrors, FaultInAnIncludedHeaderNamesHeaderAndIncludeLine) {
    TempFolder folder;
    folder.Write("ids.h", "#define A 1\n\nSTRINGTABLE\n");
    std::string error = ParseError("\n\n#include \"ids.h\"\n", folder.Path());
    EXPECT_EQ(error, "test.rc:3: ids.h:3: a header may hold only #define lines");
}

TEST(ResourceScriptErrors, BrokenResourceFilesAreRefusedAndNothingIsRegistered) {
    TempFolder folder;
    folder.Write("broken.bmp", "BM this is not a bitmap");
    folder.Write("broken.cur", std::string("\0\0\2\0\1\0", 6) + "short");
    folder.Write("icon.cur", std::string("\0\0\2\0\1\0", 6) + std::string(16, '\0'));
    const struct {
        const char* script;
        const char* expected;
    } cases[] = {
        {"\n1 BITMAP \"absent.bmp\"\n", "Broken_res.dll:2: cannot read \"absent.bmp\""},
        {"1 BITMAP \"broken.bmp\"\n", "Broken_res.dll:1: \"broken.bmp\" is broken"},
        {"1 CURSOR \"broken.cur\"\n", "Broken_res.dll:1: \"broken.cur\" is broken"},
        // A .cur file named as an icon.
        {"1 ICON \"icon.cur\"\n", "Broken_res.dll:1: \"icon.cur\" is broken: not an .ico file"},
    };
    for (const auto& broken : cases) {
        SCOPED_TRACE(broken.script);
        std::string error;
        EXPECT_FALSE(
            RegisterResourceModuleText("Broken_res.dll", broken.script, folder.Path(), &error));
        EXPECT_EQ(error.rfind(broken.expected, 0), 0u) << error;
        EXPECT_EQ(LoadLibrary("Broken_res.dll"), nullptr);
    }
    std::string error;
    EXPECT_FALSE(RegisterResourceModule("Broken_res.dll", folder.File("absent.rc"), &error));
    EXPECT_NE(error.find("absent.rc"), std::string::npos);
}
