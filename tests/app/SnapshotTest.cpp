// The screenshot's name and folder, and a screenshot without a window.

#include "app/Snapshot.h"
#include "app/GameApp.h"
#include "platform/system/FileOps.h"
#include "platform/window/Clipboard.h"
#include "sprite/AppServices.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(SnapshotName, IsTheLocalTimeToTheMillisecond) {
    const SnapshotTime t{2026, 12, 7, 14, 3, 9, 45};
    EXPECT_STREQ(SnapshotFileName("D:\\shots", t), "D:\\shots\\2026年12月07日14时03分09秒045.jpg");
    // Two pictures in one millisecond share the name.
    EXPECT_STREQ(SnapshotFileName("x", t), SnapshotFileName("x", t));
}

TEST(SnapshotName, TheClockCanBeGivenAndTakenBack) {
    SetSnapshotClock([] { return SnapshotTime{2001, 2, 3, 4, 5, 6, 7}; });
    EXPECT_EQ(SnapshotNow().year, 2001);
    EXPECT_EQ(SnapshotNow().millisecond, 7);
    SetSnapshotClock(nullptr);
    const SnapshotTime now = SnapshotNow();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LT(now.millisecond, 1000);
}

TEST(SnapshotFolder, MissingParentsAreMade) {
    TempFolder folder;
    const std::string deep = folder.Path() + "/a/b/c";
    EXPECT_TRUE(MakeFolderPath(deep.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(MakeFolderPath(deep.c_str())) << "an existing folder is fine";
    // A file where a folder should be cannot become one.
    folder.Write("file", "x");
    EXPECT_FALSE(MakeFolderPath((folder.Path() + "/file/sub").c_str()));
}

TEST(Snapshot, WithoutAMainWindowNothingIsWrittenOrSaid) {
    TempFolder folder;
    SetLogFileOverride(folder.File("test.log").c_str());
    CGameApp app;
    CString out = "unchanged";
    EXPECT_FALSE(app.SaveSnapshot(folder.Path().c_str(), out));
    EXPECT_STREQ(out, "unchanged");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()) ||
                !std::filesystem::exists(folder.File("snapshot")));
    SetLogFileOverride(nullptr);
}

} // namespace
