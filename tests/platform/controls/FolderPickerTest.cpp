// The folder picker, driven inside its modal loop by list-box messages,
// double clicks (as the list reports them) and its buttons.

#include "tests/support/DialogFixture.h"
#include "tests/support/TempFolder.h"

#include "platform/CodePage.h"
#include "platform/controls/FolderPicker.h"

#include <cstdlib>
#include <filesystem>

using namespace platform_test;

namespace {

using FolderPickerTest = DialogTest;

HWND List() {
    return GetDlgItem(GetActiveWindow(), IDC_FOLDER_LIST);
}

std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    LRESULT count = SendMessage(List(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[MAX_PATH] = {};
        SendMessage(List(), LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

void Select(const char* name) {
    LRESULT index =
        SendMessage(List(), LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(name));
    ASSERT_NE(index, LB_ERR) << name;
    SendMessage(List(), LB_SETCURSEL, WPARAM(index), 0);
}

void DoubleClick(const char* name) {
    Select(name);
    SendMessage(GetActiveWindow(), WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, LBN_DBLCLK),
                reinterpret_cast<LPARAM>(List()));
}

std::string ItemText(int id) {
    char text[MAX_PATH] = {};
    GetWindowText(GetDlgItem(GetActiveWindow(), id), text, sizeof text);
    return text;
}

std::string Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST_F(FolderPickerTest, OpensFoldersGoesUpAndGivesTheChosenPath) {
    TempFolder home;
    std::filesystem::create_directories(home.File(Utf8(u8"截图/2026")));
    std::filesystem::create_directories(home.File("music"));
    std::filesystem::create_directories(home.File(".hidden"));
    home.Write("file.txt", "not a folder");
    LPITEMIDLIST root = ILCreateFromPath(home.Path().c_str());

    std::vector<std::string> seen, inside;
    std::string title, shownPath;
    Script::Run({[&] {
                     seen = Entries();
                     title = ItemText(IDC_FOLDER_TITLE);
                     DoubleClick("截图");
                 },
                 [&] {
                     inside = Entries();
                     shownPath = ItemText(IDC_FOLDER_PATH);
                     Select("2026");
                     Click(GetDlgItem(GetActiveWindow(), IDOK));
                 }});
    char name[MAX_PATH] = {};
    BROWSEINFO info{};
    info.pidlRoot = root;
    info.lpszTitle = "请选择文件夹：";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.pszDisplayName = name;
    LPITEMIDLIST chosen = SHBrowseForFolder(&info);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(title, "请选择文件夹：");
    EXPECT_EQ(seen, (std::vector<std::string>{"..", "music", "截图"}));
    EXPECT_EQ(inside, (std::vector<std::string>{"..", "2026"}));
    char path[MAX_PATH] = {};
    ASSERT_TRUE(SHGetPathFromIDList(chosen, path));
    std::string expected = platform::Utf8ToGbk(home.Path()) + "/截图/2026";
    for (char& c : expected)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(std::string(path), expected);
    EXPECT_EQ(shownPath, platform::Utf8ToGbk(home.Path()) + "/截图")
        << "the picker shows the folder as the desktop writes it";
    EXPECT_STREQ(name, "2026");
    CoTaskMemFree(chosen);

    // Up again, nothing selected: OK takes the folder being looked at.
    Script::Run({[&] { DoubleClick("music"); }, [&] { DoubleClick(".."); },
                 [&] {
                     SendMessage(List(), LB_SETCURSEL, WPARAM(-1), 0);
                     Key(VK_RETURN);
                 }});
    chosen = SHBrowseForFolder(&info);
    ASSERT_NE(chosen, nullptr);
    ASSERT_TRUE(SHGetPathFromIDList(chosen, path));
    EXPECT_EQ(std::string(path), expected.substr(0, expected.size() - 10));
    CoTaskMemFree(chosen);

    // Cancel gives nothing.
    Script::Run({[&] { Key(VK_ESCAPE); }});
    EXPECT_EQ(SHBrowseForFolder(&info), nullptr);
    EXPECT_EQ(SHBrowseForFolder(nullptr), nullptr);
    EXPECT_FALSE(SHGetPathFromIDList(nullptr, path));
    CoTaskMemFree(root);
}

} // namespace
