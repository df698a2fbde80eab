#include "app/SettingDlg.h"

#include "app/ShellMessages.h"

#include "assets/resource.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/FolderPicker.h"
#include "platform/gdi/Dc.h"
#include "platform/system/Path.h"
#include "platform/window/WindowDcs.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "sprite/Picture.h"
#include "sprite/Theme.h"

namespace {

constexpr COLORREF kGrey = RGB(204, 204, 204);

} // namespace

CSettingDlg::CSettingDlg(CWnd* parent, CGameSettings& settings, LPCSTR settingsFile,
                         LPCSTR soundDir)
    : CSkinDialog(IDD_SETTINGS, parent), m_settings(settings), m_strSettingsFile(settingsFile),
      m_strSoundDir(soundDir), m_pParent(parent) {
    m_bIgnoreEnter = m_bIgnoreEscape = TRUE;
    // The folder is shown (and kept, once confirmed) as the desktop writes it.
    m_strPhotoPath = DesktopPath(settings.m_strPhotoPath).c_str();
    m_music.stop = [this] { m_musicLink.StopMusic("", MainWindow()); };
    m_music.play = [](LPCSTR path) { kn::theTheme.PlayMusic(path, 1, 1); };
}

CSettingDlg::~CSettingDlg() = default;

void CSettingDlg::SetCheckImages(CBitmap* unchecked, CBitmap* checked) {
    m_pCheckOff = unchecked;
    m_pCheckOn = checked;
}

BOOL CSettingDlg::Create() {
    return CDialog::Create(IDD_SETTINGS, m_pParent);
}

HWND CSettingDlg::MainWindow() const {
    CWnd* main = m_pParent ? m_pParent : AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

void CSettingDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SETTINGS_MUSIC_LIST, m_cbMusic);
    DDX_Control(dx, IDC_SETTINGS_OK, m_btnOK);
    DDX_Control(dx, IDC_SETTINGS_CANCEL, m_btnCancel);
    DDX_Control(dx, IDC_CLOSE, m_btnClose);
    DDX_Control(dx, IDC_SETTINGS_SET_PATH, m_btnSetPath);
    DDX_CBString(dx, IDC_SETTINGS_MUSIC_LIST, m_strMusicName);
    DDX_Text(dx, IDC_SETTINGS_PHOTO_PATH, m_strPhotoPath);
}

BOOL CSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Without its picture the dialog keeps a plain grey face of its own size.
    LoadFace("Setting", nullptr, kGrey);
    PlaceStandardButtons(m_btnOK, m_btnCancel, m_btnClose);
    PlaceButton(m_btnSetPath, 62, 123, 21, 21, "SetPath");
    m_brBack.CreateSolidBrush(kGrey);
    if (!m_pCheckOff || !m_pCheckOn)
        MakeThemeCheckImages();
    const struct {
        CTextCheckButton& box;
        int id;
        int checked;
    } checks[] = {{m_chkSound, IDC_SETTINGS_SOUND, m_settings.m_bAllowPSound},
                  {m_chkMusic, IDC_SETTINGS_MUSIC, m_settings.m_bAllowBSound},
                  {m_chkClockOrder, IDC_SETTINGS_CLOCK_ORDER, m_settings.m_nClockOrderNext},
                  {m_chkCardOrder, IDC_SETTINGS_CARD_ORDER, m_settings.m_nCardOrder}};
    for (const auto& check : checks) {
        if (!check.box.GetSafeHwnd() && !check.box.SubclassDlgItem(check.id, this))
            WriteLog("Settings: no check box %d", check.id);
        check.box.SetBitmap(m_pCheckOff, m_pCheckOn);
        check.box.SetCheck(check.checked != 0);
    }
    FillMusicList();
    Invalidate();
    CenterWindow();
    return TRUE;
}

void CSettingDlg::MakeThemeCheckImages() {
    // Frames 0 (unchecked) and 3 (checked) of the theme's check box strip,
    // on the dialog's grey, so that the state can be seen.
    CPicture* strip = kn::theTheme.GetImage("checkbox", FALSE);
    if (!strip)
        return;
    const int w = strip->GetWidth() / 4, h = strip->GetHeight();
    CClientDC windowDC(this);
    const struct {
        CBitmap& bitmap;
        int frame;
    } faces[] = {{m_bmpThemeOff, 0}, {m_bmpThemeOn, 3}};
    for (const auto& face : faces) {
        face.bitmap.CreateCompatibleBitmap(&windowDC, w, h);
        CMemDC dc(&windowDC, &face.bitmap);
        const CRect all(0, 0, w, h);
        dc.FillSolidRect(&all, kGrey);
        strip->DrawTransparent(dc.GetSafeHdc(), 0, 0, w, h, face.frame * w, 0, w, h, kKeyColor);
    }
    m_pCheckOff = &m_bmpThemeOff;
    m_pCheckOn = &m_bmpThemeOn;
}

void CSettingDlg::FillMusicList() {
    m_musicList = ReadMusicList(m_strSettingsFile);
    int selected = -1;
    for (size_t i = 0; i < m_musicList.size(); ++i) {
        m_cbMusic.AddString(m_musicList[i].name);
        if (selected < 0 && m_musicList[i].file == m_settings.m_strBackMusic)
            selected = int(i);
    }
    if (!m_musicList.empty())
        m_cbMusic.SetCurSel(selected < 0 ? 0 : selected);
}

CString CSettingDlg::MusicFileOf(const CString& name) const {
    for (const MusicEntry& entry : m_musicList)
        if (entry.name.CompareNoCase(name) == 0)
            return entry.file;
    return CString();
}

BOOL CSettingDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_SETTINGS_OK:
        OnApply();
        return TRUE;
    case IDC_SETTINGS_CANCEL:
    case IDC_CLOSE:
        CDialog::OnCancel();
        return TRUE;
    case IDC_SETTINGS_SET_PATH:
        OnBrowse();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CSettingDlg::OnApply() {
    if (!UpdateData(TRUE))
        return;
    m_settings.m_nClockOrderNext = m_chkClockOrder.GetCheck();
    m_settings.m_bAllowPSound = m_chkSound.GetCheck();
    m_settings.m_strPhotoPath = m_strPhotoPath;
    // No entry chosen, or one without a file, keeps the music in use: an
    // empty name would otherwise be saved over it.
    const CString file = MusicFileOf(m_strMusicName);
    const bool changed = !file.IsEmpty() && file != m_settings.m_strBackMusic;
    if (changed)
        m_settings.m_strBackMusic = file;
    if (m_chkMusic.GetCheck()) {
        if (!m_settings.m_bAllowBSound || changed) {
            m_music.stop();
            const CString path = m_strSoundDir + m_settings.m_strBackMusic;
            m_music.play(path);
        }
    } else {
        m_music.stop();
    }
    m_settings.m_bAllowBSound = m_chkMusic.GetCheck();
    const HWND main = MainWindow();
    if (main && ::IsWindow(main) && m_chkCardOrder.GetCheck() != m_settings.m_nCardOrder)
        ::PostMessage(main, WM_SHELL_RESORT, 1, LPARAM(m_chkCardOrder.GetCheck()));
    CDialog::OnCancel();
}

void CSettingDlg::OnBrowse() {
    char name[MAX_PATH] = {};
    BROWSEINFO info{};
    info.hwndOwner = m_hWnd;
    info.pszDisplayName = name;
    info.lpszTitle = "请选择文件夹：";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = SHBrowseForFolder(&info);
    if (!list)
        return;
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDList(list, path)) {
        m_strPhotoPath = DesktopPath(path).c_str();
        // Only the edit: writing every field back would also reselect the
        // music list from a name not yet read from it.
        SetDlgItemText(IDC_SETTINGS_PHOTO_PATH, m_strPhotoPath);
    }
    CoTaskMemFree(list);
}

HBRUSH CSettingDlg::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
    if (ctlColor == CTLCOLOR_STATIC || ctlColor == CTLCOLOR_BTN) {
        dc->SetBkMode(TRANSPARENT);
        return HBRUSH(m_brBack.GetSafeHandle());
    }
    return CDialog::OnCtlColor(dc, control, ctlColor);
}
