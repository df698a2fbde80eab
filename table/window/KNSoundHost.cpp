#include "table/window/KNSoundHost.h"

#include "platform/system/Registry.h"
#include "platform/system/Trace.h"
#include "platform/window/Window.h"
#include "sprite/AppServices.h"

#include <cstring>

namespace {

constexpr char kShareKey[] = "Software\\Quillane\\Game\\Share";
constexpr char kPluginFile[] = "\\KNSound\\KNSound.dll";
constexpr char kThemeSoundFile[] = "themesound.ini";
constexpr DWORD kCreateFlags = 0x1000000;
constexpr int kSetupValue = 255;
constexpr int kPanelMode = 3;
constexpr int kPositionSize = 8;
constexpr int kPluginMargin = 10;
constexpr size_t kPathRoom = MAX_PATH;

// The plug-in's path from the shared folder in the registry; false when the
// value is missing or the path would not fit.
bool PluginPath(char (&path)[kPathRoom]) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kShareKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char folder[kPathRoom + 1] = {};
    DWORD size = kPathRoom;
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueEx(key, "path", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    folder[std::min<size_t>(size, kPathRoom)] = '\0';
    const size_t folderLength = strlen(folder);
    if (folderLength + sizeof kPluginFile > sizeof path) {
        WriteLog("The sound plug-in's folder is too long: %s", folder);
        return false;
    }
    memcpy(path, folder, folderLength);
    memcpy(path + folderLength, kPluginFile, sizeof kPluginFile);
    return true;
}

} // namespace

CKNSoundHost::CKNSoundHost()
    : m_hOwner(nullptr), m_nLastSize(0), m_Position{0, 0}, m_pLibrary(nullptr), m_pObject(nullptr) {
}

CKNSoundHost::~CKNSoundHost() {
    if (m_pObject != nullptr) {
        try {
            m_pObject->Release();
        } catch (...) {
            // The plug-in's own failure; the table goes away regardless.
        }
        m_pObject = nullptr;
    }
    if (m_pLibrary != nullptr) {
        if (m_pLibrary->module != nullptr)
            FreeLibrary(m_pLibrary->module);
        delete m_pLibrary;
    }
}

BOOL CKNSoundHost::LoadPlugin() {
    if (m_pLibrary->module != nullptr)
        return TRUE;
    char path[kPathRoom];
    if (!PluginPath(path))
        return FALSE;
    m_pLibrary->module = LoadLibrary(path);
    return m_pLibrary->module != nullptr;
}

BOOL CKNSoundHost::Init(HWND owner, CEventSink* sink, const char* product,
                        const char* setupProduct) {
    m_hOwner = owner;
    if (m_pObject != nullptr)
        return TRUE;
    if (m_pLibrary == nullptr)
        m_pLibrary = new LibraryHolder;
    if (!LoadPlugin()) {
        platform::Trace(platform::TraceChannel::kSound, platform::kTraceInfo,
                        "no sound plug-in is installed");
        return FALSE;
    }
    auto create = reinterpret_cast<CreateSoundObjectProc>(
        GetProcAddress(m_pLibrary->module, "CreateSoundObject"));
    if (create == nullptr) {
        platform::Trace(platform::TraceChannel::kSound, platform::kTraceError,
                        "the sound plug-in has no CreateSoundObject");
        return FALSE;
    }
    try {
        m_pObject = create(product, kCreateFlags, owner);
    } catch (...) {
        platform::Trace(platform::TraceChannel::kSound, platform::kTraceError,
                        "the sound plug-in failed to make its object");
        m_pObject = nullptr;
    }
    if (m_pObject == nullptr)
        return FALSE;
    m_pObject->Setup(setupProduct, kSetupValue, kSetupValue);
    CString themeFile = GetExeFolder();
    themeFile += kThemeSoundFile;
    m_pObject->Command(kSoundCommandThemeFile, const_cast<char*>(LPCSTR(themeFile)), 0);
    m_pObject->Command(kSoundCommandSink, sink, 0);
    RECT client = {0, 0, 0, 0};
    GetClientRect(owner, &client);
    POINT corner = {client.right - kPluginMargin, client.bottom - kPluginMargin};
    ClientToScreen(owner, &corner);
    const int point[2] = {int(corner.x), int(corner.y)};
    SetPosition(point, kPositionSize);
    return TRUE;
}

void CKNSoundHost::ShowPanel(int value) {
    if (m_pObject != nullptr)
        m_pObject->ShowPanel(value, kPanelMode);
}

void CKNSoundHost::SetPosition(const int point[2], int size) {
    m_Position[0] = point[0];
    m_Position[1] = point[1];
    m_nLastSize = size;
    if (m_pObject != nullptr)
        m_pObject->Command(kSoundCommandPosition, m_Position, m_nLastSize);
}

void CKNSoundHost::SetPlayerInfo(int seat, int flag) {
    if (m_pObject == nullptr)
        return;
    WORD value = WORD((flag << 8) | (seat & 0xFF));
    m_pObject->Command(kSoundCommandPlayerInfo, &value, 0);
}

void CKNSoundHost::OnPeerMessage(const void* data) {
    if (m_pObject != nullptr && data != nullptr)
        m_pObject->OnPeerData(data);
}
