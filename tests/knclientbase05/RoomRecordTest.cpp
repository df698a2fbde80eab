#include "knclientbase05/RoomRecord.h"
#include "knclientbase05/FileAssociation.h"

#include "SettingsFixture.h"
#include "platform/system/KernelObject.h"
#include "platform/system/SharedMemory.h"

#include <cstring>
#include <filesystem>

namespace {

// One test, because the room record's name is the same for every process
// of the user and tests may run side by side.
TEST(RoomRecordTest, OpensOnlyARoomProgramsWholeRecord) {
    EXPECT_EQ(OpenRoomRecord(), 0);
    EXPECT_EQ(SendRoomText("hello", 1, 0), 0);
    WakeRoomWindow(); // does nothing, and does not fail

    HANDLE small =
        CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1000, "KN_ROOM_REC");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(OpenRoomRecord(), 0);
    CloseHandle(small);

    HANDLE room = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    kRoomRecordSize, "KN_ROOM_REC");
    ASSERT_NE(room, nullptr);
    ASSERT_EQ(OpenRoomRecord(), 1);
    EXPECT_EQ(OpenRoomRecord(), 1);
    // The window field is 0: the room has no message window to talk to.
    EXPECT_EQ(SendRoomText("hello", 1, 0), 0);
    CloseRoomRecord();
    EXPECT_EQ(SendRoomText("hello", 1, 0), 0);
    CloseHandle(room);
    EXPECT_EQ(OpenRoomRecord(), 0);
}

TEST(RoomTextTest, CutsTheTextTo31BytesAtACharacterBoundary) {
    std::string text(40, 't');
    tagROOMTEXT message = MakeRoomText(text.c_str(), 0xABCD);
    EXPECT_EQ(std::string(message.szText), std::string(31, 't'));
    EXPECT_EQ(message.szText[31], 0);
    EXPECT_EQ(message.dwValue, 0xABCDu);
    EXPECT_EQ(message.dwZero, 0u);
    // Thirty bytes of letters and one double-byte character: it would end
    // at byte 32, so it is left out.
    std::string mixed = std::string(30, 'a') + "\xD5\xC5";
    message = MakeRoomText(mixed.c_str(), 0);
    EXPECT_EQ(std::string(message.szText), std::string(30, 'a'));
}

class FileAssociationTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        SetUserText("Software\\Quillane\\Game\\Share", "Path", "C:\\Q\\Share");
        SetUserText("Software\\Quillane\\Game\\Pellor", "Path", "C:\\Q\\Game\\Pellor");
    }
    std::string Root(const std::string& key) { return GetDefault(HKEY_CLASSES_ROOT, key); }
};

TEST_F(FileAssociationTest, RegistersTheLauncherCommands) {
    ASSERT_EQ(RegisterFileType("PellorRec", "Pellor", "Pellor record", ".pgr", 3, TRUE, TRUE), 1);
    EXPECT_EQ(Root("Quillane.PellorRec"), "Pellor record");
    EXPECT_EQ(Root("Quillane.PellorRec\\DefaultIcon"), "C:\\Q\\Game\\Pellor\\Pellor_Res.Dll,3");
    EXPECT_EQ(Root("Quillane.PellorRec\\Shell\\Open\\Command"),
              "C:\\Q\\Share\\run.exe Pellor \"%1\"");
    EXPECT_EQ(Root("Quillane.PellorRec\\Shell\\Print\\Command"),
              "C:\\Q\\Share\\run.exe Pellor /p \"%1\"");
    // Print-to has its own verb and leaves the print command.
    EXPECT_EQ(Root("Quillane.PellorRec\\Shell\\PrintTo\\Command"),
              "C:\\Q\\Share\\run.exe Pellor /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    EXPECT_EQ(Root(".pgr"), "Quillane.PellorRec");
}

TEST_F(FileAssociationTest, RegistersTheOwnProgramCommands) {
    ASSERT_EQ(RegisterFileTypeOwnProgram("PellorRec", "Pellor", "Record", ".pgr", 0, FALSE, FALSE),
              1);
    EXPECT_EQ(Root("Quillane.PellorRec\\Shell\\Open\\Command"),
              "C:\\Q\\Game\\Pellor\\Pellor \"%1\"");
    EXPECT_EQ(Root("Quillane.PellorRec\\Shell\\Print\\Command"), "");
}

TEST_F(FileAssociationTest, ReportsARegistryThatCannotBeWritten) {
    // The registry's file cannot be replaced while a folder stands in its way.
    std::filesystem::remove(config_.File("registry.txt"));
    std::filesystem::create_directory(config_.File("registry.txt"));
    EXPECT_EQ(RegisterFileType("Rec", "Pellor", "Record", ".rec", 0, FALSE, FALSE), 0);
    EXPECT_EQ(RegisterFileTypeOwnProgram("Rec", "Pellor", "Record", ".rec", 0, FALSE, FALSE), 0);
}

} // namespace
