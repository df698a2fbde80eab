// The program's resource library as the build installs it: it parses, and it
// holds every string, dialog template, bitmap, cursor and icon the program
// and the client library load by id, with the controls each dialog needs and
// format texts that match the arguments their callers pass.

#include "platform/resources/Resource.h"
#include "platform/resources/ResourceScript.h"
#include "platform/system/Module.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

class ResourceLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        s_registered = RegisterResourceModule(
            "Pellor2_res.dll", std::string(PELLOR_ASSET_DIR) + "/Pellor2_res.rc", &error);
        EXPECT_TRUE(s_registered) << error;
    }
    static void TearDownTestSuite() { UnregisterResourceModule("Pellor2_res.dll"); }

    void SetUp() override {
        ASSERT_TRUE(s_registered);
        m_module = LoadLibrary("C:\\Games\\Pellor2\\PELLOR2_RES.DLL");
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override { FreeLibrary(m_module); }

    static inline bool s_registered = false;
    HINSTANCE m_module = nullptr;
};

// The printf conversions of a text, in order ("%%" is none).
std::string Conversions(const std::string& text) {
    std::string found;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%') {
            if (text[i + 1] != '%')
                found += text[i + 1];
            ++i;
        }
    return found;
}

} // namespace

TEST_F(ResourceLibrary, HoldsEveryStringWithTheArgumentsItsCallerPasses) {
    // id -> the conversions the caller formats it with ("" = shown as is).
    const std::map<UINT, std::string> strings = {
        {21, ""},     {22, "d"},    {23, "d"},   {26, "d"},   {27, ""},     {28, ""},
        {29, ""},     {30, "d"},    {39, ""},    {46, "s"},   {48, "ssds"}, {53, "s"},
        {54, "s"},    {56, "sds"},  {57, ""},    {63, ""},    {64, ""},     {65, ""},
        {66, ""},     {67, ""},     {68, "s"},   {69, "s"},   {76, "sds"},  {78, "d"},
        {82, ""},     {84, ""},     {85, ""},    {3003, ""},  {29674, ""},  {29700, ""},
        {29701, ""},  {29702, ""},  {29703, ""}, {29704, ""}, {29705, ""},  {29706, ""},
        {29908, ""},  {29910, ""},  {29913, ""}, {29917, ""}, {29918, ""},  {29919, "s"},
        {29920, "s"}, {29921, "s"}, {29922, ""}, {29923, ""}, {29924, ""},  {29927, ""},
        {29929, "s"}, {29930, "s"}, {29931, ""}, {29934, ""}, {29935, "s"}, {29940, "s"},
        {29941, "s"}, {29942, "s"}, {29943, ""}, {29944, ""}, {29945, ""},  {29946, ""},
        {29947, ""},
    };
    for (const auto& [id, conversions] : strings) {
        SCOPED_TRACE(id);
        char text[512];
        ASSERT_GT(LoadString(m_module, id, text, sizeof text), 0);
        EXPECT_EQ(Conversions(text), conversions) << text;
    }
    // Left out on purpose: a code page string would make the library load a
    // converter the system does not have.
    char text[16];
    EXPECT_EQ(LoadString(m_module, 29936, text, sizeof text), 0);
}

TEST_F(ResourceLibrary, TextsAreTheGbkOfTheirUtf8Source) {
    char text[64];
    LoadString(m_module, 29700, text, sizeof text);
    EXPECT_STREQ(text, "确定");
    LoadString(m_module, 29931, text, sizeof text);
    EXPECT_STREQ(text, "宋体");
    EXPECT_EQ(std::string(text), "\xCB\xCE\xCC\xE5"); // the GBK bytes themselves
}

TEST_F(ResourceLibrary, HoldsEveryDialogWithTheControlsItsClassBinds) {
    const std::map<UINT, std::vector<int>> dialogs = {
        {100, {3022, 3000}},
        {3005, {IDOK, IDCANCEL, 3000}},
        {3006, {1031, 1032, 1033, 1034, 1035, 1036, 1037}},
        {3007, {1034, 1040, 1041, 1043, 3000}},
        {3009, {3004, 3005, 3006, 3007}},
        {3010, {3000, 3009, 3011, 3016, 3017, 3018, 3019, 3020, 3021, 3034}},
        {3015, {IDOK, IDCANCEL, 3026, 3027, 3028, 3029, 3030, 3031, 3032, 3033}},
        {3020, {3006, 3007, 3035}},
        {29663, {}},
        {29733, {29714, 29715, 29716, 29811, 29812, 29813, 29852, 29853}},
        {29734, {29802, 29803, 29804}},
        {29800, {29802, 29803, 29804}},
        {29810, {29714, 29715, 29716, 29811, 29812, 29813, 29852, 29853}},
    };
    for (const auto& [id, controls] : dialogs) {
        SCOPED_TRACE(id);
        DialogTemplate dialog;
        ASSERT_TRUE(FindDialogTemplate(m_module, MAKEINTRESOURCE(id), dialog));
        EXPECT_EQ(dialog.fontFace, "宋体");
        for (int control : controls)
            EXPECT_NE(dialog.FindControl(control), nullptr) << "control " << control;
    }
}

TEST_F(ResourceLibrary, ControlsHaveTheKindsAndVisibilityTheirDialogsExpect) {
    DialogTemplate box;
    ASSERT_TRUE(FindDialogTemplate(m_module, MAKEINTRESOURCE(29810), box));
    // The message box shows the buttons and the icon it uses.
    for (int hidden : {29714, 29715, 29716, 29812})
        EXPECT_EQ(box.FindControl(hidden)->style & WS_VISIBLE, 0u) << hidden;
    EXPECT_EQ(box.FindControl(29852)->className, "EDIT");
    EXPECT_EQ(box.FindControl(29812)->style & SS_TYPEMASK, DWORD(SS_ICON));

    DialogTemplate settings;
    ASSERT_TRUE(FindDialogTemplate(m_module, MAKEINTRESOURCE(3010), settings));
    EXPECT_EQ(settings.FindControl(3018)->className, "COMBOBOX");
    EXPECT_EQ(settings.FindControl(3018)->style & 3, DWORD(CBS_DROPDOWNLIST));
    EXPECT_EQ(settings.FindControl(3020)->className, "EDIT");
    for (int check : {3016, 3017, 3019, 3034})
        EXPECT_EQ(settings.FindControl(check)->style & BS_TYPEMASK, DWORD(BS_AUTOCHECKBOX));

    DialogTemplate bet;
    ASSERT_TRUE(FindDialogTemplate(m_module, MAKEINTRESOURCE(3015), bet));
    EXPECT_EQ(bet.FindControl(3031)->className, "EDIT");
    EXPECT_NE(bet.FindControl(3033)->style & WS_DISABLED, 0u); // enabled once a bet is chosen

    DialogTemplate wait;
    ASSERT_TRUE(FindDialogTemplate(m_module, MAKEINTRESOURCE(29800), wait));
    EXPECT_EQ(wait.FindControl(29802)->textResourceId, 3003); // its picture is the program icon
}

TEST_F(ResourceLibrary, HoldsThePicturesAtTheSizesTheirUsersAssume) {
    struct Picture {
        UINT id;
        int minWidth, minHeight;
    };
    // The splash marker is copied 32 x 3 to y 109 and x up to 210 + 32.
    const Picture pictures[] = {{3000, 242, 112}, {3002, 32, 3}, {3008, 108, 144}, {29664, 1, 1},
                                {29665, 1, 1},    {29666, 1, 1}, {29667, 1, 1},    {29668, 1, 1},
                                {29669, 1, 1},    {29670, 1, 1}, {29671, 1, 1},    {29672, 1, 1},
                                {29673, 4, 1}};
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.id);
        HBITMAP bitmap = LoadBitmap(m_module, MAKEINTRESOURCE(picture.id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        GetObject(bitmap, sizeof info, &info);
        EXPECT_GE(info.bmWidth, picture.minWidth);
        EXPECT_GE(info.bmHeight, picture.minHeight);
        DeleteObject(bitmap);
    }
    // The card sheet holds three 54 x 72 faces and their mask in a 2 x 2 grid.
    HBITMAP sheet = LoadBitmap(m_module, MAKEINTRESOURCE(3008));
    BITMAP info{};
    GetObject(sheet, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 2 * 54);
    EXPECT_EQ(info.bmHeight, 2 * 72);
    DeleteObject(sheet);
    // The close strip holds four square frames.
    HBITMAP close = LoadBitmap(m_module, MAKEINTRESOURCE(29673));
    GetObject(close, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 4 * info.bmHeight);
    DeleteObject(close);
}

TEST_F(ResourceLibrary, HoldsTheCursorsAndTheIcon) {
    for (UINT id : {3011u, 3017u})
        EXPECT_NE(platform::LoadModuleCursor(m_module, MAKEINTRESOURCE(id)), nullptr) << id;
    EXPECT_NE(LoadIcon(m_module, MAKEINTRESOURCE(3003)), nullptr);
    HRSRC hand = FindResource(m_module, MAKEINTRESOURCE(29710), "HANDCURSOR");
    ASSERT_NE(hand, nullptr);
    ASSERT_EQ(SizeofResource(m_module, hand), 256u);
    // XOR plane then AND plane: the hot spot (6, 0) is on the hand's outline.
    const auto* planes = static_cast<const BYTE*>(LockResource(LoadResource(m_module, hand)));
    const BYTE* andPlane = planes + 128;
    EXPECT_EQ(andPlane[0] & (0x80 >> 6), 0); // (6, 0) opaque
    EXPECT_NE(andPlane[0] & (0x80 >> 0), 0); // (0, 0) transparent
    EXPECT_EQ(planes[0] & (0x80 >> 6), 0);   // and black
}

TEST_F(ResourceLibrary, BecomesTheResourceHandleAsStartUpMakesIt) {
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(m_module);
    DialogTemplate dialog;
    EXPECT_TRUE(LoadDialogTemplate(MAKEINTRESOURCE(3005), dialog));
    CString text;
    EXPECT_TRUE(text.LoadString(29706));
    EXPECT_EQ(text, "取消");
    AfxSetResourceHandle(saved);
}

TEST(ResourceLibrarySource, ScriptInTheSourceTreeParsesWithItsHeader) {
    std::string text, error;
    std::FILE* file = std::fopen(PELLOR_ASSET_SOURCE_DIR "/Pellor2_res.rc", "rb");
    ASSERT_NE(file, nullptr);
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        text.append(chunk, got);
    std::fclose(file);
    platform::ResourceScript script;
    ASSERT_TRUE(platform::ParseResourceScript(text, "Pellor2_res.rc", PELLOR_ASSET_SOURCE_DIR,
                                              script, &error))
        << error;
    EXPECT_EQ(script.dialogs.size(), 13u);
    EXPECT_EQ(script.symbols.at("IDD_KN_MSGBOX"), 29810);
}
