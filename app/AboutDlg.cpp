#include "app/AboutDlg.h"

#include "assets/resource.h"
#include "platform/Crt.h"
#include "platform/controls/DataExchange.h"
#include "platform/gdi/Dc.h"
#include "platform/resources/Icon.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileVersion.h"
#include "platform/system/FindFile.h"
#include "platform/system/Module.h"
#include "platform/text/Text.h"
#include "sprite/MemDC.h"

#include <ctime>
#include <vector>

namespace {

constexpr UINT kLineFormat = DT_SINGLELINE | DT_END_ELLIPSIS;
// 100-nanosecond steps from 1601 to 1970.
constexpr unsigned long long kEpochSteps = 116444736000000000ULL;

} // namespace

CAboutDlg::CAboutDlg(CWnd* parent, LPCSTR programFile)
    : CSkinDialog(IDD_ABOUTBOX, parent), m_strProgramFile(programFile ? programFile : "") {}

CAboutDlg::~CAboutDlg() = default;

DWORD CAboutDlg::GetFileVersion(LPCSTR path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(path, &handle);
    if (size == 0)
        return 0;
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfo(path, handle, size, block.data()) ||
        !VerQueryValue(block.data(), "\\", reinterpret_cast<LPVOID*>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return (DWORD(HIWORD(info->dwFileVersionMS) & 0xFF) << 24) |
           (DWORD(LOWORD(info->dwFileVersionMS) & 0xFF) << 16) |
           (DWORD(HIWORD(info->dwFileVersionLS) & 0xFF) << 8) |
           DWORD(LOWORD(info->dwFileVersionLS) & 0xFF);
}

CString CAboutDlg::VersionText(DWORD v) {
    CString text;
    text.Format("Morvane %d.%d Beta:%d Build:%d", int(v >> 24), int((v >> 16) & 0xFF),
                int(((v >> 8) & 0xFF) + 1), int(v & 0xFF));
    return text;
}

CString CAboutDlg::DateLineOf(LPCSTR path) const {
    WIN32_FIND_DATA found{};
    HANDLE search = FindFirstFile(path, &found);
    int year = 2008, month = 1;
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        const unsigned long long steps =
            ((unsigned long long)(found.ftLastWriteTime.dwHighDateTime) << 32) |
            found.ftLastWriteTime.dwLowDateTime;
        if (steps > kEpochSteps) {
            const time_t seconds = time_t((steps - kEpochSteps) / 10000000ULL);
            std::tm parts{};
            if (gmtime_s(&parts, &seconds) == 0) {
                year = parts.tm_year + 1900;
                month = parts.tm_mon + 1;
            }
        }
    }
    CString line;
    line.Format("Copyright (C) 2004-%d Morvane Studio. %d/%02d", year, year, month);
    return line;
}

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT_OK, m_btnOK);
    DDX_Control(dx, IDC_CLOSE, m_btnClose);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_hIcon = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
    LoadFace("AboutBK", nullptr, RGB(250, 246, 232));
    PlaceButton(m_btnOK, 250, 43, 158, 26, "BtnOnOK");
    PlaceButton(m_btnClose, 307, 9, 6, 16, "BtnClose");
    m_fontText.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    m_fontTitle.CreateFont(12, 0, 0, 0, 700, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    CString path = m_strProgramFile;
    if (path.IsEmpty()) {
        char buffer[MAX_PATH] = {};
        GetModuleFileName(nullptr, buffer, MAX_PATH);
        path = buffer;
    }
    m_strVersion = VersionText(GetFileVersion(path));
    m_strDateLine = DateLineOf(path);
    DrawFace();
    CenterWindow();
    return TRUE;
}

void CAboutDlg::DrawFace() {
    if (!m_pMemDC)
        return;
    DrawBackground();
    CDC& dc = *m_pMemDC;
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    CFont* oldFont = dc.SelectObject(&m_fontText);
    dc.SetTextColor(RGB(0, 0, 0));
    if (m_hIcon)
        DrawIcon(dc.GetSafeHdc(), 20, 45, m_hIcon);
    const struct {
        CString text;
        RECT rect;
    } lines[] = {{"Morvane 棋牌游戏系列", {63, 40, 320, 60}},
                 {m_strVersion, {63, 55, 320, 75}},
                 {"Morvane Studio 版权所有", {63, 77, 320, 95}},
                 {m_strDateLine, {63, 91, 320, 110}}};
    for (const auto& line : lines) {
        CString text = line.text;
        CRect rect(line.rect);
        dc.DrawText(text, &rect, kLineFormat);
    }
    dc.SelectObject(&m_fontTitle);
    dc.SetTextColor(RGB(255, 255, 255));
    CString title = "关于Morvane";
    CRect titleRect(135, 12, 300, 30);
    dc.DrawText(title, &titleRect, kLineFormat);
    dc.SelectObject(oldFont);
    dc.SetBkMode(oldMode);
}

BOOL CAboutDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_ABOUT_OK:
        OnOK();
        return TRUE;
    case IDC_CLOSE:
        CDialog::OnCancel();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
