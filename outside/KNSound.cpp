// "KNSound.dll": the sound plug-in. Its voice chat cannot be had here: this
// object takes every call and answers the Sound button with a text, through
// the table window's event sink, saying that voice is not available. Peer
// data from other seats is accepted and dropped.

#include "outside/KNSoundObject.h"
#include "outside/OutsideModules.h"

namespace {

class CStandInSound : public IKNSoundObject {
public:
    void Release() override { delete this; }
    int Command(int command, void* data, int) override {
        if (command == kSoundCommandSink)
            m_sink = static_cast<CEventSink*>(data);
        return command >= kSoundCommandPosition && command <= kSoundCommandPlayerInfo ? 1 : 0;
    }
    int Setup(const char*, int, int) override { return 1; }
    int ShowPanel(int, int) override {
        if (m_sink == nullptr)
            return 0;
        // Texts are GBK: this module is built with the native charset.
        static const char kNoVoice[] = "\xD3\xEF\xD2\xF4\xB9\xA6\xC4\xDC\xB2\xBB\xBF\xC9\xD3\xC3";
        tagSOUNDTEXTEVENT text = {0, 1, kNoVoice};
        m_sink->OnSinkEvent(kSoundEventText, 0, &text, 0);
        return 1;
    }
    int OnPeerData(const void*) override { return 1; }

private:
    CEventSink* m_sink = nullptr;
};

IKNSoundObject* CreateSoundObject(const char*, DWORD, HWND) {
    return new CStandInSound;
}

} // namespace

BuiltinModuleDefinition KNSoundModule() {
    BuiltinModuleDefinition module;
    module.fileName = "KNSound.dll";
    module.exports = {{"CreateSoundObject", reinterpret_cast<FARPROC>(CreateSoundObject)}};
    return module;
}
