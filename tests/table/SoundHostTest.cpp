// The sound plug-in host against a recording plug-in registered under the
// module's name, and against the stand-in the program ships.

#include "ClientFixture.h"
#include "game/PlayRecords.h"
#include "platform/system/Registry.h"
#include "table/window/KNSoundHost.h"

#include <cstdlib>
#include <stdexcept>

namespace table_test {
namespace {

struct PluginCall {
    std::string what;
    int a = 0;
    int b = 0;
    std::string text;
    const void* pointer = nullptr;
    std::vector<BYTE> bytes;
};

// What the recording plug-in saw, and how its creation and release behave.
struct PluginScript {
    std::vector<PluginCall> calls;
    bool createNull = false;
    bool createThrows = false;
    bool releaseThrows = false;
    int releases = 0;
    std::string createdFor;
    HWND createdOwner = nullptr;
};
PluginScript script;

class RecordingPlugin : public IKNSoundObject {
public:
    void Release() override {
        ++script.releases;
        delete this;
        if (script.releaseThrows)
            throw std::runtime_error("release");
    }
    int Command(int command, void* data, int size) override {
        PluginCall call{"command", command, size};
        call.pointer = data;
        if (command == kSoundCommandThemeFile)
            call.text = static_cast<const char*>(data);
        if (command == kSoundCommandPosition) {
            const int* point = static_cast<const int*>(data);
            call.text = std::to_string(point[0]) + "," + std::to_string(point[1]);
        }
        if (command == kSoundCommandPlayerInfo)
            call.b = *static_cast<const WORD*>(data);
        script.calls.push_back(call);
        return 1;
    }
    int Setup(const char* product, int first, int second) override {
        script.calls.push_back({"setup", first, second, product});
        return 1;
    }
    int ShowPanel(int value, int mode) override {
        script.calls.push_back({"panel", value, mode});
        return 1;
    }
    int OnPeerData(const void* data) override {
        PluginCall call{"peer"};
        const BYTE* bytes = static_cast<const BYTE*>(data);
        call.bytes.assign(bytes, bytes + kSoundPeerDataSize);
        script.calls.push_back(call);
        return 1;
    }
};

IKNSoundObject* CreateRecordingPlugin(const char* product, DWORD flags, HWND owner) {
    if (script.createThrows)
        throw std::runtime_error("create");
    script.createdFor = std::string(product) + "/" + std::to_string(flags);
    script.createdOwner = owner;
    return script.createNull ? nullptr : new RecordingPlugin;
}

class Sink : public CEventSink {
public:
    std::vector<std::string> texts;
    int OnSinkEvent(int type, int, void* data, int) override {
        if (type == kSoundEventText) {
            const auto* text = static_cast<const tagSOUNDTEXTEVENT*>(data);
            texts.push_back(std::to_string(text->dwFlags) + ":" + text->pszText);
        }
        return 1;
    }
};

class SoundHost : public ClientTest {
protected:
    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ClientTest::SetUp();
        script = PluginScript{};
        ASSERT_TRUE(FindBuiltinModule("KNSound.dll", standIn));
    }
    void TearDown() override {
        RegisterBuiltinModule(standIn);
        ClientTest::TearDown();
        unsetenv("PELLOR_CONFIG_DIR");
    }
    void SetShareFolder(const std::string& folder) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", &key),
                  ERROR_SUCCESS);
        RegSetValueEx(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                      DWORD(folder.size() + 1));
        RegCloseKey(key);
    }
    void UseRecordingPlugin(bool withExport = true) {
        BuiltinModuleDefinition fake;
        fake.fileName = "KNSound.dll";
        if (withExport)
            fake.exports = {
                {"CreateSoundObject", reinterpret_cast<FARPROC>(CreateRecordingPlugin)}};
        ASSERT_TRUE(RegisterBuiltinModule(fake));
    }
    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const PluginCall& call : script.calls)
            names.push_back(call.what + (call.what == "command" ? std::to_string(call.a) : ""));
        return names;
    }

    TempFolder config;
    BuiltinModuleDefinition standIn;
    Sink sink;
};

TEST_F(SoundHost, AMissingFolderModuleExportOrObjectLeavesTheHostInert) {
    UseRecordingPlugin();
    {
        CKNSoundHost host; // no registry value
        EXPECT_FALSE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    }
    SetShareFolder("C:\\Games\\Share");
    {
        UseRecordingPlugin(false);
        CKNSoundHost host;
        EXPECT_FALSE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    }
    UseRecordingPlugin();
    for (bool throws : {false, true}) {
        script.createNull = !throws;
        script.createThrows = throws;
        CKNSoundHost host;
        EXPECT_FALSE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
        host.ShowPanel(1);
        host.SetPlayerInfo(1, 1);
        const BYTE data[kSoundPeerDataSize] = {};
        host.OnPeerMessage(data);
    }
    UnregisterBuiltinModule("KNSound.dll");
    {
        CKNSoundHost host;
        EXPECT_FALSE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    }
    EXPECT_TRUE(script.calls.empty());
    EXPECT_EQ(script.releases, 0);
}

TEST_F(SoundHost, AFolderTooLongForThePathIsRefused) {
    UseRecordingPlugin();
    SetShareFolder("C:\\" + std::string(245, 'x'));
    CKNSoundHost host;
    EXPECT_FALSE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    EXPECT_TRUE(Logged("folder is too long"));
    // One that just fits loads.
    SetShareFolder("C:\\" + std::string(236, 'x'));
    CKNSoundHost fits;
    EXPECT_TRUE(fits.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
}

TEST_F(SoundHost, CreationSetsUpThePluginInOrder) {
    UseRecordingPlugin();
    SetShareFolder("C:\\Games\\Share");
    SetWindowPos(table.m_hWnd, nullptr, 30, 40, 400, 300, SWP_NOZORDER);
    {
        CKNSoundHost host;
        ASSERT_TRUE(host.Init(table.m_hWnd, &sink, "Pellor2", "Setup2"));
        EXPECT_EQ(script.createdFor, "Pellor2/16777216");
        EXPECT_EQ(script.createdOwner, table.m_hWnd);
        ASSERT_EQ(CallNames(),
                  (std::vector<std::string>{"setup", "command2", "command3", "command1"}));
        EXPECT_EQ(script.calls[0].text, "Setup2");
        EXPECT_EQ(script.calls[0].a, 255);
        EXPECT_EQ(script.calls[0].b, 255);
        const std::string& theme = script.calls[1].text;
        EXPECT_EQ(theme.substr(theme.size() - 15), "\\themesound.ini");
        EXPECT_EQ(script.calls[2].pointer, static_cast<CEventSink*>(&sink));
        RECT client;
        GetClientRect(table.m_hWnd, &client);
        POINT corner = {client.right - 10, client.bottom - 10};
        ClientToScreen(table.m_hWnd, &corner);
        EXPECT_EQ(script.calls[3].text, std::to_string(corner.x) + "," + std::to_string(corner.y));
        EXPECT_EQ(script.calls[3].b, 8);

        script.calls.clear();
        host.ShowPanel(7);
        host.SetPlayerInfo(3, 1);
        host.SetPlayerInfo(0x1FF, 0);
        const int point[2] = {5, 6};
        host.SetPosition(point, 8);
        ASSERT_EQ(script.calls.size(), 4u);
        EXPECT_EQ(script.calls[0].what, "panel");
        EXPECT_EQ(script.calls[0].a, 7);
        EXPECT_EQ(script.calls[0].b, 3);
        EXPECT_EQ(script.calls[1].b, 0x103);
        EXPECT_EQ(script.calls[2].b, 0xFF);
        EXPECT_EQ(script.calls[3].text, "5,6");
    }
    EXPECT_EQ(script.releases, 1);
}

TEST_F(SoundHost, AThrowingReleaseIsSwallowed) {
    UseRecordingPlugin();
    SetShareFolder("C:\\Games\\Share");
    script.releaseThrows = true;
    {
        CKNSoundHost host;
        ASSERT_TRUE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    }
    EXPECT_EQ(script.releases, 1);
}

TEST_F(SoundHost, PeerDataTravelsUnchangedThroughItsRecord) {
    UseRecordingPlugin();
    SetShareFolder("C:\\Games\\Share");
    CKNSoundHost host;
    ASSERT_TRUE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    BYTE data[kSoundPeerDataSize];
    for (int i = 0; i < kSoundPeerDataSize; ++i)
        data[i] = BYTE(i * 7 + 1);
    // Out: what the plug-in hands the table window goes as record 0x915.
    client.SendPluginData(data);
    ASSERT_EQ(client.sent.size(), 1u);
    const std::vector<BYTE>& record = client.sent[0];
    ASSERT_EQ(record.size(), 136u);
    EXPECT_EQ(WordAt(record, 0), 0x915);
    EXPECT_EQ(WordAt(record, 4), 128);
    EXPECT_EQ(memcmp(record.data() + 8, data, sizeof data), 0);
    // In: the table window hands the received record's bytes to the plug-in.
    script.calls.clear();
    tagPLUGINMSG received;
    ASSERT_TRUE(ReadGameRecord(record.data(), int(record.size()), received));
    host.OnPeerMessage(received.data);
    ASSERT_EQ(script.calls.size(), 1u);
    EXPECT_EQ(script.calls[0].bytes, std::vector<BYTE>(data, data + sizeof data));
}

TEST_F(SoundHost, TheShippedPluginSaysVoiceIsNotAvailable) {
    SetShareFolder("C:\\Games\\Share");
    CKNSoundHost host;
    ASSERT_TRUE(host.Init(table.m_hWnd, &sink, "Pellor2", "Pellor2"));
    host.ShowPanel(1);
    EXPECT_EQ(sink.texts, std::vector<std::string>{"1:语音功能不可用"});
}

} // namespace
} // namespace table_test
