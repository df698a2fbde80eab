// The music library binder against a recording library put in the real
// one's place, and the real stand-in library playing a wave.

#include "tests/knclientUI05/SoundFixture.h"

#include "knclientUI05/KNMPDllExp.h"
#include "outside/OutsideModules.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// What reached the recording library, one line a call.
std::vector<std::string> g_calls;
int g_valid = 0;

int WINAPI FakeInit() {
    g_calls.push_back("init");
    g_valid = 1;
    return 7;
}
int WINAPI FakeIsValid() {
    return g_valid;
}
int WINAPI FakePlayFile(char* name, int value) {
    g_calls.push_back("play " + std::string(name) + " " + std::to_string(value));
    return 42;
}
void WINAPI FakeStopName(char* name) {
    g_calls.push_back("stop " + std::string(name));
}
void WINAPI FakeSetVolume(int volume) {
    g_calls.push_back("volume " + std::to_string(volume));
}
void WINAPI FakeSetVolumeF(char* name, int volume) {
    g_calls.push_back("volume " + std::string(name) + " " + std::to_string(volume));
}
void WINAPI FakeSetVolumeD(int id, int volume) {
    g_calls.push_back("volume #" + std::to_string(id) + " " + std::to_string(volume));
}

class KNMPDllExpTest : public ui_test::SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        g_calls.clear();
        g_valid = 0;
    }
    void TearDown() override {
        RegisterBuiltinModule(KNMPDllModule()); // the real stand-in again
        SoundTest::TearDown();
    }
    // The recording library, without the exports named.
    static void UseFake(std::vector<std::string> without = {}) {
        BuiltinModuleDefinition fake;
        fake.fileName = "KNMPDll.dll";
        const BuiltinModuleExport all[] = {
            {"KNMPInit", reinterpret_cast<FARPROC>(FakeInit)},
            {"KNMPIsValid", reinterpret_cast<FARPROC>(FakeIsValid)},
            {"KNMPPlayFile", reinterpret_cast<FARPROC>(FakePlayFile)},
            {"KNMPStopPlayName", reinterpret_cast<FARPROC>(FakeStopName)},
            {"KNMPSetVolume", reinterpret_cast<FARPROC>(FakeSetVolume)},
            {"KNMPSetVolumeF", reinterpret_cast<FARPROC>(FakeSetVolumeF)},
            {"KNMPSetVolumeD", reinterpret_cast<FARPROC>(FakeSetVolumeD)},
        };
        for (const BuiltinModuleExport& e : all)
            if (std::find(without.begin(), without.end(), e.name) == without.end())
                fake.exports.push_back(e);
        ASSERT_TRUE(RegisterBuiltinModule(fake));
    }
};

TEST_F(KNMPDllExpTest, WithoutTheLibraryPlaysAnswer0AndTheRestIsSilent) {
    ASSERT_TRUE(UnregisterBuiltinModule("KNMPDll.dll"));
    CKNMPDllExp binder;
    EXPECT_EQ(binder.Load(), 0);
    EXPECT_EQ(binder.IsValid(), 0);
    EXPECT_EQ(binder.PlayFile("a.wav", 1), 0);
    binder.SetVolume(50);
    binder.StopPlayName("a.wav");
    binder.CloseAll();
    EXPECT_EQ(binder.GetMute(), 0);
}

TEST_F(KNMPDllExpTest, CallsAreForwardedWithNamesAndVolumesWithin0To100) {
    UseFake();
    CKNMPDllExp binder;
    EXPECT_EQ(binder.IsValid(), 0);
    EXPECT_EQ(binder.Load(), 7);
    EXPECT_EQ(binder.IsValid(), 1);
    EXPECT_EQ(binder.PlayFile("bgm.wav", 3), 42);
    binder.StopPlayName("bgm.wav");
    binder.SetVolume(100); // a remainder by 100 would silence full volume
    binder.SetVolume(150);
    binder.SetVolume(-5);
    binder.SetVolumeF("bgm.wav", 42);
    binder.SetVolumeD(3, 250);
    binder.CloseAll(); // not offered: nothing
    const std::vector<std::string> expected = {
        "init",       "play bgm.wav 3", "stop bgm.wav",      "volume 100",
        "volume 100", "volume 0",       "volume bgm.wav 42", "volume #3 100"};
    EXPECT_EQ(g_calls, expected);
}

TEST_F(KNMPDllExpTest, NamesLongerThanTheLibrarysFieldAreRefused) {
    UseFake();
    CKNMPDllExp binder;
    binder.Load();
    const std::string fits(CKNMPDllExp::kMaxName, 'a');
    const std::string tooLong(CKNMPDllExp::kMaxName + 1, 'a');
    EXPECT_EQ(binder.PlayFile(fits.c_str(), 0), 42);
    EXPECT_EQ(binder.PlayFile(tooLong.c_str(), 0), 0);
    binder.StopPlayName(tooLong.c_str());
    binder.SetVolumeF(tooLong.c_str(), 10);
    EXPECT_EQ(binder.PlayFile(nullptr, 0), 0);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1], "play " + fits + " 0");
}

TEST_F(KNMPDllExpTest, AMissingExportDisablesOnlyItsOwnCall) {
    UseFake({"KNMPPlayFile"});
    {
        CKNMPDllExp binder;
        binder.Load();
        EXPECT_EQ(binder.PlayFile("a.wav", 0), 0);
        binder.SetVolume(10);
        EXPECT_EQ(g_calls.back(), "volume 10");
    }
    UseFake({"KNMPInit"});
    CKNMPDllExp noInit;
    EXPECT_EQ(noInit.Load(), 0);
    EXPECT_EQ(noInit.PlayFile("a.wav", 1), 42); // the rest still work
}

TEST_F(KNMPDllExpTest, LoadingAgainLetsTheEarlierLoadGo) {
    UseFake({"KNMPInit"}); // never valid: each play loads again
    {
        CKNMPDllExp binder;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(binder.Load(), 0);
        EXPECT_FALSE(UnregisterBuiltinModule("KNMPDll.dll")); // loaded now
    }
    // One free after three loads would leave it loaded: it must be gone.
    EXPECT_TRUE(UnregisterBuiltinModule("KNMPDll.dll"));
}

TEST_F(KNMPDllExpTest, TheStandInLibraryPlaysWavesAndRefusesOtherFiles) {
    CKNMPDllExp binder;
    ASSERT_EQ(binder.Load(), 1);
    ASSERT_EQ(binder.IsValid(), 1);
    const std::string wave = Wave("song.wav", 200);
    const int id = binder.PlayFile(wave.c_str(), 1); // looped
    EXPECT_GT(id, 0);
    clock.Advance(1000);
    EXPECT_EQ(Sounding(), 1u);
    binder.StopPlayID(id);
    EXPECT_EQ(Sounding(), 0u);

    testing::internal::CaptureStderr();
    EXPECT_EQ(binder.PlayFile(File("song.mp3", "ID3").c_str(), 0), 0);
    EXPECT_EQ(binder.PlayFile(File("fake.wav", "not a wave").c_str(), 0), 0);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("song.mp3\" not played: not a sound file"), std::string::npos) << log;
    EXPECT_NE(log.find("fake.wav\" not played"), std::string::npos) << log;
    EXPECT_EQ(Plays(), 1u);

    binder.PlayFile(wave.c_str(), 0);
    binder.CloseAll();
    EXPECT_EQ(Sounding(), 0u);
}

} // namespace
