// The framework frames of the framing socket: what every table game of the
// platform receives besides its own records (link events, player drops,
// trusteeship notices, server questions, web pop-ups), the base OnClose with
// its notices, and the framework's operations around them. A socket class
// that keeps the base OnMessage and OnClose gets all of this.
//
// Every frame is checked against the payload its layout needs before a
// field is read; a short one is logged and dropped. Texts are copied out
// NUL-terminated and bounded by the payload's end, and every notice is put
// together within its buffer.

#include "knclientbase05/KNSocket.h"
#include "knclientbase05/WebPopupTarget.h"

#include "knclientbase05/CodePageConverter.h"
#include "knclientbase05/DrawUtilities.h"
#include "knclientbase05/FrameworkSupport.h"
#include "knclientbase05/KNChat.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/LangResource.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/NoticeText.h"
#include "knclientbase05/PromptTarget.h"
#include "knclientbase05/ServerFrames.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "platform/system/ProcessInfo.h"
#include "platform/system/Registry.h"
#include "platform/system/Shell.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/Wnd.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using framework::HasPayload;
using framework::kNameField;
using framework::MakeFrame;
using framework::ResourceString;
using namespace server_frames;

namespace {

// Payload sizes the layouts need.
constexpr DWORD kServerNoticeHead = 28; // seven words before the text area
constexpr DWORD kQuestionHead = 16;     // id, style, seconds, want-text
constexpr DWORD kNoticeHead = 12;       // id, style, extra
constexpr DWORD kTrusteeshipSize = 24;  // name, kind
constexpr DWORD kRoundRecordSize = 28;  // name, u32 at 20, u32 at 24
constexpr DWORD kWebTitleSize = 128;
constexpr DWORD kWebAddressSize = 512;
constexpr DWORD kWebPopupSize = kWebTitleSize + kWebAddressSize + 8;

// Strings of the resource library.
constexpr UINT kStringLinkLost = 29917;
constexpr UINT kStringLoggedElsewhere = 29918;
constexpr UINT kStringLeftGame = 29919;
constexpr UINT kStringServerNotice = 29920;
constexpr UINT kStringLinkClosed = 29921;
constexpr UINT kStringLinkError = 29922;
constexpr UINT kStringPlayerDropped = 29929;
constexpr UINT kStringPlayerBack = 29930;
constexpr UINT kStringGameOver = 29934;
constexpr UINT kStringKickedBy = 29935;
constexpr UINT kStringTrustOnFailed = 29940;
constexpr UINT kStringTrustOffFailed = 29941;
constexpr UINT kStringTrustExitFailed = 29942;
constexpr UINT kStringTrustOn = 29943;
constexpr UINT kStringTrustExitRefused = 29944;
constexpr UINT kStringRoundResult = 29945;
constexpr UINT kStringTrustTimeout = 29946;
constexpr UINT kStringTrustOff = 29947;

// The kind word of a trusteeship result, behind the 20-byte name.
constexpr DWORD kTrustKindOn = 1;
constexpr DWORD kTrustKindTimeout = 2;
constexpr DWORD kTrustKindOff = 3;

constexpr UINT kSwitchMessage = 0x1212;
constexpr char kSwitchWindowTitle[] = "switch window";
constexpr char kProcessKey[] = "Software\\Quillane\\Game\\Share\\Settings\\MPID";
constexpr DWORD kDefaultCodePage = 936;
constexpr WORD kMissingCharacter = 0x5F5F;

constexpr size_t kNoticeSize = 1024;
constexpr size_t kArgumentSize = 256;
constexpr size_t kListNoticeSize = 4096;
constexpr size_t kAnswerLimit = 1024;
constexpr size_t kAddressLimit = 1024;

// The resource string with the argument in its "%s".
void FormatResource(char* out, size_t size, UINT id, const char* argument) {
    FormatNotice(out, size, ResourceString(id).c_str(), argument);
}

// The launch record's user name, terminated although its field may be full.
void OwnUserName(char name[kNameField + 1]) {
    CopyBoundedText(name, kNameField + 1, theLaunchInfo.szUserName, kNameField);
}

bool IsOwnName(const char* name) {
    char own[kNameField + 1];
    OwnUserName(own);
    return own[0] != '\0' && SameNameNoCase(name, own, kArgumentSize);
}

// Only web pages (IsWebAddress): the shell's "open" would start any program
// or document that a server names.
void OpenWebAddress(const char* address) {
    if (!IsWebAddress(address)) {
        DebugTrace("framework: \"%.200s\" is not a web address; not opened", address);
        return;
    }
    const HINSTANCE opened =
        ShellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(opened) <= 32)
        DebugTrace("framework: the browser could not be started for \"%.200s\"", address);
}

void PostToMainWindow(UINT message) {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->m_hWnd != nullptr)
        PostMessage(main->m_hWnd, message, 0, 0);
}

// Only windows of this process can be found; another program's switch
// window is out of reach and then nothing is posted.
void PostToSwitchWindow(WPARAM registered) {
    const HWND window = FindWindow(nullptr, kSwitchWindowTitle);
    if (window != nullptr)
        PostMessage(window, kSwitchMessage, registered, 0);
}

// The program file's name, the part after the last backslash.
std::string ProgramFileName() {
    char path[MAX_PATH] = "";
    GetModuleFileName(nullptr, path, sizeof path);
    const char* slash = strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : path;
}

UINT CloseNoticeFor(int error) {
    switch (error) {
    case 0:
    case WSAECONNRESET:
        return 29900;
    case WSAECONNREFUSED:
        return 29901;
    case WSAENETRESET:
        return 29902;
    case WSAECONNABORTED:
        return 29903;
    case kCloseProxyConnect:
        return 29904;
    case kCloseSocksHandshake:
        return 29905;
    case WSAETIMEDOUT:
        return 29907;
    case WSAHOST_NOT_FOUND:
        return 29909;
    case -1:
    case kCloseWaitCancelled:
        return 0;
    default:
        return 29906;
    }
}

// A text from the server in its own code page, in the configured one. The
// converter has no output size: the buffer leaves room for any growth.
void ConvertServerText(char* out, size_t outSize, const char* text, DWORD codePage) {
    const size_t length = strlen(text);
    if (!IsCodePageConverterAvailable() || codePage == DWORD(theCodePage.nCodePage) ||
        codePage > 0xFFFF) {
        CopyBoundedText(out, outSize, text, length);
        return;
    }
    std::vector<char> converted(4 * length + 8, '\0');
    theCodePage.pTranStrCodePage(text, converted.data(), WORD(codePage),
                                 WORD(theCodePage.nCodePage), kMissingCharacter);
    converted.back() = '\0';
    CopyBoundedText(out, outSize, converted.data(), strlen(converted.data()));
}

// Holds the socket's reading for the life of the object.
class ReceiveHold {
public:
    explicit ReceiveHold(CKNSocket& socket) : m_socket(socket) { m_socket.SuspendReceive(); }
    ~ReceiveHold() { m_socket.ResumeReceive(); }
    ReceiveHold(const ReceiveHold&) = delete;
    ReceiveHold& operator=(const ReceiveHold&) = delete;

private:
    CKNSocket& m_socket;
};

} // namespace

int CKNSocket::OnMessage(tagMSGHEADER* frame) {
    if (frame == nullptr)
        return 0;
    const DWORD type = frame->type;
    const DWORD length = frame->length;
    const BYTE* payload = reinterpret_cast<const BYTE*>(frame) + FrameHeaderSize(type);
    switch (type) {
    case kTransformFrame: // the server's payload transform is not used here
    case kQuietFrame:
    case kQuietReply:
        return 1;
    case kRegisterFrame:
        RegisterProcess(frame);
        return 1;
    case kServerNoticeFrame:
        if (!HasPayload(type, length, kServerNoticeHead))
            return 0;
        ShowServerNotice(payload, length);
        return 1;
    case kPlayerBreakFrame:
    case kPlayerBackFrame: {
        char name[kArgumentSize];
        CopyBoundedText(name, sizeof name, payload, length);
        char notice[kNoticeSize];
        FormatNotice(notice, sizeof notice,
                     type == kPlayerBreakFrame ? "[%s] 断线了..." : "[%s] 断线后回来了", name);
        ShowPrompt(notice);
        if (type == kPlayerBreakFrame)
            OnPlayerBreak(name);
        else
            OnPlayerReConnect(name);
        return 1;
    }
    case kQuestionFrame:
        if (!HasPayload(type, length, kQuestionHead))
            return 0;
        AnswerQuestion(payload, length);
        return 1;
    case kAddressQueryFrame:
        AnswerAddressQuery();
        return 1;
    case kNoticeFrame:
        if (!HasPayload(type, length, kNoticeHead))
            return 0;
        ShowFrameNotice(payload, length);
        return 1;
    case kSwitchFrame:
        if (!HasPayload(type, length, kSwitchRecordSize))
            return 0;
        KeepSwitchRecord(payload);
        return 1;
    case kWebPopupFrame:
        if (!m_bWebPopupAllowed || !HasPayload(type, length, kWebPopupSize))
            return 0;
        ShowWebPopup(frame);
        return 1;
    case kLeaveReply:
        HandleLeaveReply(payload, length);
        return 1;
    case kGameOverFrame:
        OnMastGameOver();
        return 1;
    case kTrustExitReply:
        if (!HasPayload(type, length, kNameField))
            return 0;
        HandleTrustExitReply(frame, payload, length);
        return 1;
    case kTrusteeshipReply:
        if (!HasPayload(type, length, kTrusteeshipSize))
            return 0;
        HandleTrusteeship(frame, payload, length);
        return 1;
    case kRoundListReply:
        HandleRoundList(frame, payload, length);
        return 1;
    case kLinkEventFrame:
        HandleLinkEvent(frame, payload, length);
        return 1;
    default:
        return 0;
    }
}

// Frame 0x225: text id (-1 none, 0 the text below, else "LangRsc.ini"),
// style, expected answer, page flag, close flag, end flag, text area length,
// the text area, then the text's code page.
void CKNSocket::ShowServerNotice(const BYTE* payload, DWORD length) {
    const int textId = int(ReadWireWord(payload));
    const UINT style = ReadWireWord(payload + 4);
    const int expected = int(ReadWireWord(payload + 8));
    const int pageFlag = int(ReadWireWord(payload + 12));
    const DWORD closeFlag = ReadWireWord(payload + 16);
    const DWORD endFlag = ReadWireWord(payload + 20);
    const uint64_t stated = ReadWireWord(payload + 24);
    // A text area that claims more than the frame holds ends with the frame,
    // and then there is no code page word behind it.
    const uint64_t room = length - kServerNoticeHead;
    DWORD codePage = kDefaultCodePage;
    if (stated + 4 <= room)
        codePage = ReadWireWord(payload + kServerNoticeHead + stated);
    const size_t area = size_t(stated < room ? stated : room);
    const char* text = reinterpret_cast<const char*>(payload + kServerNoticeHead);

    char notice[kNoticeSize] = "";
    size_t addressAt = 0;
    if (textId == 0) {
        const void* end = memchr(text, '\0', area);
        const size_t textLength =
            end != nullptr ? size_t(static_cast<const char*>(end) - text) : area;
        addressAt = end != nullptr ? textLength + 1 : area;
        char raw[kNoticeSize];
        CopyBoundedText(raw, sizeof raw, text, textLength);
        ConvertServerText(notice, sizeof notice, raw, codePage);
    } else if (textId != -1) {
        const CString lang = GetLangString(UINT(textId));
        CopyBoundedText(notice, sizeof notice, lang.GetString(), size_t(lang.GetLength()));
    }
    char address[kAddressLimit] = "";
    if (addressAt < area)
        CopyBoundedText(address, sizeof address, text + addressAt, area - addressAt);

    int answer = expected;
    if (textId != -1)
        answer = ShowTipText(notice, style, 0);
    if (pageFlag != -1 && answer == expected)
        OpenWebAddress(address);
    if (closeFlag != 0)
        Close();
    if (endFlag != 0)
        CloseForReason(0);
}

// Frame 0x234: a notice by string id, or by its text when the id is 0.
void CKNSocket::ShowFrameNotice(const BYTE* payload, DWORD length) {
    const UINT id = ReadWireWord(payload);
    const UINT style = ReadWireWord(payload + 4);
    const UINT extra = ReadWireWord(payload + 8);
    char text[kNoticeSize];
    CopyBoundedText(text, sizeof text, payload + kNoticeHead, length - kNoticeHead);
    ReceiveHold hold(*this);
    if (id != 0)
        ShowTipId(id, style, extra);
    else
        ShowTipText(text, style, extra);
}

// Frame 0x230: a question with its id, style, auto-close seconds and
// whether a typed answer is wanted; answered with 0x80000230 {id, button,
// answer text}.
void CKNSocket::AnswerQuestion(const BYTE* payload, DWORD length) {
    const DWORD id = ReadWireWord(payload);
    const UINT style = ReadWireWord(payload + 4);
    const UINT seconds = ReadWireWord(payload + 8);
    const DWORD wantText = ReadWireWord(payload + 12);
    if (length == kQuestionHead) {
        DebugTrace("framework question %u has no text; not asked, not answered", id);
        return;
    }
    char question[kNoticeSize];
    CopyBoundedText(question, sizeof question, payload + kQuestionHead, length - kQuestionHead);
    char* typed = nullptr;
    const int button = GameMessageBoxOwner(question, style, seconds, wantText ? &typed : nullptr);
    char answer[kAnswerLimit] = "";
    if (typed != nullptr) {
        CopyBoundedText(answer, sizeof answer, typed, strlen(typed));
        free(typed);
    }
    const size_t answerSize = strlen(answer) + 1;
    std::vector<BYTE> body(8 + answerSize);
    WriteWireWord(body.data(), id);
    WriteWireWord(body.data() + 4, DWORD(button));
    memcpy(body.data() + 8, answer, answerSize);
    const std::vector<BYTE> reply =
        MakeFrame(kQuestionFrame | kFrameReply, 0, body.data(), body.size());
    SendMessage(reinterpret_cast<const tagMSGHEADER*>(reply.data()), nullptr, 0);
}

// Frame 0x231: the local address as the socket layer stores it (network
// order, so the bytes go out as a.b.c.d) and the local port.
void CKNSocket::AnswerAddressQuery() {
    CString address;
    UINT port = 0;
    if (!GetSockName(address, port)) {
        DebugTrace("framework: the local address cannot be read (%d); query not answered",
                   WSAGetLastError());
        return;
    }
    const DWORD ip = DWORD(inet_addr(address));
    BYTE body[8];
    memcpy(body, &ip, 4);
    WriteWireWord(body + 4, port);
    const std::vector<BYTE> reply =
        MakeFrame(kAddressQueryFrame | kFrameReply, 0, body, sizeof body);
    SendMessage(reinterpret_cast<const tagMSGHEADER*>(reply.data()), nullptr, 0);
}

// Frame 0x244: the switch record, kept only when it names this player.
void CKNSocket::KeepSwitchRecord(const BYTE* payload) {
    char name[kNameField + 1];
    CopyBoundedText(name, sizeof name, payload, kNameField);
    char wanted[kNameField + 1];
    if (m_szSwitchName[0] != '\0')
        CopyBoundedText(wanted, sizeof wanted, m_szSwitchName, sizeof m_szSwitchName);
    else
        OwnUserName(wanted);
    if (wanted[0] == '\0' || !SameNameNoCase(name, wanted, sizeof wanted))
        return;
    memcpy(m_switchRecord, payload, kSwitchRecordSize);
}

// Reply 0x80000202 to the leave frame.
void CKNSocket::HandleLeaveReply(const BYTE* payload, DWORD length) {
    char text[kArgumentSize];
    CopyBoundedText(text, sizeof text, payload, length);
    Close();
    char notice[kNoticeSize];
    FormatResource(notice, sizeof notice, kStringLeftGame, text);
    ShowCloseNotice(notice, MB_ICONINFORMATION);
    OnClose(-1);
}

// Reply 0x8000021A: the trust exit of this player, or of another one.
void CKNSocket::HandleTrustExitReply(const tagMSGHEADER* frame, const BYTE* payload, DWORD) {
    char name[kNameField + 1];
    CopyBoundedText(name, sizeof name, payload, kNameField);
    ReceiveHold hold(*this);
    if (IsOwnName(name)) {
        if (frame->result == 1) {
            Close();
            PostToMainWindow(WM_CLOSE);
        } else {
            ShowTipId(kStringTrustExitRefused, 0, 5);
        }
        return;
    }
    char notice[kNoticeSize];
    FormatNotice(notice, sizeof notice, "[%s] 托管退出了游戏", name);
    ShowPrompt(notice);
}

// Reply 0x8000021B: a trusteeship begun or ended, with its kind in the word
// behind the name.
void CKNSocket::HandleTrusteeship(const tagMSGHEADER* frame, const BYTE* payload, DWORD) {
    char name[kNameField + 1];
    CopyBoundedText(name, sizeof name, payload, kNameField);
    const DWORD kind = ReadWireWord(payload + kNameField);
    char notice[kNoticeSize];
    ReceiveHold hold(*this);
    if (frame->result != 1) {
        const UINT id = kind == kTrustKindOn || kind == kTrustKindTimeout ? kStringTrustOnFailed
                        : kind == kTrustKindOff                           ? kStringTrustOffFailed
                                                                          : kStringTrustExitFailed;
        FormatResource(notice, sizeof notice, id, name);
        ShowTipText(notice, 0, 5);
        return;
    }
    if (IsOwnName(name)) {
        const UINT id = kind == kTrustKindOn        ? kStringTrustOn
                        : kind == kTrustKindTimeout ? kStringTrustTimeout
                        : kind == kTrustKindOff     ? kStringTrustOff
                                                    : 0;
        if (id != 0 && IsMainWindowVisible())
            ShowTipId(id, MB_ICONINFORMATION, 5);
        return;
    }
    const char* format = kind == kTrustKindOn ? "[%s] 进入了托管状态，现在由服务器暂时代他玩..."
                         : kind == kTrustKindTimeout
                             ? "[%s] 因为超时进入了托管状态，现在由服务器暂时代他玩..."
                         : kind == kTrustKindOff ? "[%s] 解除了托管状态"
                                                 : nullptr;
    if (format == nullptr) {
        DebugTrace("framework: trusteeship kind %u of another player is unknown", kind);
        return;
    }
    FormatNotice(notice, sizeof notice, format, name);
    ShowPrompt(notice);
}

// Reply 0x80000233: 28-byte records; a partial record at the end is not one.
void CKNSocket::HandleRoundList(const tagMSGHEADER* frame, const BYTE* payload, DWORD length) {
    const DWORD count = length / kRoundRecordSize;
    ReceiveHold hold(*this);
    if (m_pChat != nullptr && IsWindow(m_pChat->m_hWnd)) {
        for (DWORD i = 0; i < count; ++i) {
            const BYTE* record = payload + i * kRoundRecordSize;
            char name[kNameField + 1];
            CopyBoundedText(name, sizeof name, record, kNameField);
            m_pChat->SetUserValue(name, int(ReadWireWord(record + 20)));
        }
    }
    if (frame->result != 1 || !IsMainWindowVisible())
        return;
    char text[kListNoticeSize] = "";
    AppendBoundedText(text, sizeof text, ResourceString(kStringRoundResult).c_str());
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* record = payload + i * kRoundRecordSize;
        char name[kNameField + 1];
        CopyBoundedText(name, sizeof name, record, kNameField);
        char line[kNameField + 32];
        snprintf(line, sizeof line, "[%s] : %d\n", name, int(ReadWireWord(record + 24)));
        // A whole line or none: a cut line would show a wrong number.
        if (strlen(text) + strlen(line) >= sizeof text)
            break;
        AppendBoundedText(text, sizeof text, line);
    }
    ShowTipText(text, MB_ICONINFORMATION, 30);
}

// The link event 0xFFFFFFFF: the connection ends, with a notice by the
// sub-code in its result word.
void CKNSocket::HandleLinkEvent(const tagMSGHEADER* frame, const BYTE* payload, DWORD length) {
    char text[kArgumentSize];
    CopyBoundedText(text, sizeof text, payload, length);
    char notice[kNoticeSize];
    switch (frame->result) {
    case 1:
        FormatResource(notice, sizeof notice, kStringServerNotice, text);
        break;
    case 2:
        FormatResource(notice, sizeof notice, kStringLinkLost, nullptr);
        break;
    case 4:
        if (IsOwnName(text))
            FormatResource(notice, sizeof notice, kStringLoggedElsewhere, nullptr);
        else
            FormatResource(notice, sizeof notice, kStringKickedBy, text);
        break;
    case 8:
        FormatResource(notice, sizeof notice, kStringLinkClosed, text);
        break;
    default:
        FormatResource(notice, sizeof notice, kStringLinkError, nullptr);
        break;
    }
    Close();
    ShowCloseNotice(notice, MB_ICONSTOP);
    OnClose(-1);
}

// The notices of an ending connection, only for a socket that asks.
int CKNSocket::ShowCloseNotice(LPCSTR text, UINT style) {
    if (!m_bAskOnTimeout)
        return 0;
    return m_pTextTip != nullptr ? m_pTextTip(text, style, UINT(-1))
                                 : GameMessageBox(text, style, 0);
}

void CKNSocket::OnClose(int errorCode) {
    UndoProcessRegistration();
    m_nCloseCode = errorCode;
    if (m_bClosing)
        return;
    // Close clears the wait-stopped flag: a wait the user already gave up on
    // must not bring a second box.
    const int waitStopped = m_bWaitStopped;
    CSocket::OnClose(errorCode);
    Close();
    const UINT notice = CloseNoticeFor(errorCode);
    if (m_bAskOnTimeout && !waitStopped && notice != 0)
        ShowError(notice, MB_ICONEXCLAMATION);
}

void CKNSocket::CloseForReason(int) {
    if (m_hSocket != INVALID_SOCKET)
        OnClose(-1);
}

void CKNSocket::OnPlayerBreak(LPCSTR name) {
    char notice[kNoticeSize];
    FormatResource(notice, sizeof notice, kStringPlayerDropped, name);
    ReceiveHold hold(*this);
    ShowTipText(notice, 0, 5);
}

void CKNSocket::OnPlayerReConnect(LPCSTR name) {
    char notice[kNoticeSize];
    FormatResource(notice, sizeof notice, kStringPlayerBack, name);
    ReceiveHold hold(*this);
    ShowTipText(notice, 0, 5);
}

void CKNSocket::OnSpareEvent1() {}

void CKNSocket::OnSpareEvent2() {}

void CKNSocket::OnMastGameOver() {
    if (m_bAskOnTimeout)
        ShowError(kStringGameOver, MB_ICONINFORMATION);
    PostToMainWindow(WM_CLOSE);
}

void CKNSocket::RegisterProcess(tagMSGHEADER*) {
    m_bRegisterOnClose = 1;
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kProcessKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const DWORD id = GetCurrentProcessId();
        RegSetValueEx(key, ProgramFileName().c_str(), 0, REG_DWORD,
                      reinterpret_cast<const BYTE*>(&id), sizeof id);
        RegCloseKey(key);
    }
    PostToSwitchWindow(1);
}

void CKNSocket::UndoProcessRegistration() {
    if (!m_bRegisterOnClose)
        return;
    // Once: a close may be reported more than once.
    m_bRegisterOnClose = 0;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kProcessKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValue(key, ProgramFileName().c_str());
        RegCloseKey(key);
    }
    PostToSwitchWindow(0);
}

// Frame 0x249 {title char[128], address char[512], u32 width, u32 height}:
// the pop-up at that size (the pop-up holds it between its frame and the
// screen), titled, showing the address.
void CKNSocket::ShowWebPopup(tagMSGHEADER* frame) {
    if (frame == nullptr || frame->length < kWebPopupSize)
        return;
    const BYTE* payload = reinterpret_cast<const BYTE*>(frame) + FrameHeaderSize(frame->type);
    char title[kWebTitleSize + 1];
    CopyBoundedText(title, sizeof title, payload, kWebTitleSize);
    char address[kWebAddressSize + 1];
    CopyBoundedText(address, sizeof address, payload + kWebTitleSize, kWebAddressSize);
    ReceiveHold hold(*this);
    if (!IsWebAddress(address)) {
        DebugTrace("framework: web pop-up for \"%.200s\" refused: not a web address", address);
        return;
    }
    if (!m_pWebPopup) {
        WebPopupMaker maker = GetWebPopupMaker();
        if (maker != nullptr)
            m_pWebPopup.reset(maker(AfxGetMainWnd()));
        if (!m_pWebPopup) {
            DebugTrace("framework: no web pop-up can be made for \"%.200s\"", address);
            return;
        }
    }
    const auto size = [](DWORD value) { return int(std::min<DWORD>(value, 0x7FFFFFFF)); };
    m_pWebPopup->CreatePopup(size(ReadWireWord(payload + kWebTitleSize + kWebAddressSize)),
                             size(ReadWireWord(payload + kWebTitleSize + kWebAddressSize + 4)));
    m_pWebPopup->SetPageTitle(title);
    if (!m_pWebPopup->Navigate(address))
        DebugTrace("framework: the web pop-up could not show \"%.200s\"", address);
}

BOOL CKNSocket::ShowPrompt(LPCSTR text) {
    if (m_pPrompt == nullptr || text == nullptr || *text == '\0')
        return FALSE;
    return m_pPrompt->ShowPrompt(text);
}

void CKNSocket::SetSwitchName(LPCSTR name) {
    if (name == nullptr) {
        m_szSwitchName[0] = '\0';
        return;
    }
    CopyBoundedText(m_szSwitchName, sizeof m_szSwitchName, name, strlen(name));
}
