#pragma once
// The settings dialog: sound effects, background music and its choice, the
// seat direction for the next game, the hand's sort order and the
// screenshot folder. Modeless over the main window; OK writes the settings
// store (saved at exit), restarts the music when it changed and tells the
// main window of a new sort order; Cancel, close, Enter and Escape change
// nothing.

#include "app/GameSettings.h"
#include "app/SkinDialog.h"
#include "app/TextCheckButton.h"
#include "sprite/MusicPlayerLink.h"

#include <functional>
#include <vector>

class CSettingDlg : public CSkinDialog {
public:
    // How the dialog stops and starts the background music.
    struct MusicControl {
        std::function<void()> stop;
        std::function<void(LPCSTR path)> play;
    };

    // settings: the store it edits; settingsFile: where "BackMusic" is read;
    // soundDir: the folder in front of a music file's name.
    CSettingDlg(CWnd* parent, CGameSettings& settings, LPCSTR settingsFile, LPCSTR soundDir);
    ~CSettingDlg() override;

    // Stops through the dialog's own link and plays through the theme
    // unless replaced.
    void SetMusicControl(MusicControl control) { m_music = std::move(control); }
    // The application's two check images (not owned; null shows text only).
    void SetCheckImages(CBitmap* unchecked, CBitmap* checked);
    BOOL Create();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) override;

    CString m_strPhotoPath;
    CString m_strMusicName;

private:
    void FillMusicList();
    void MakeThemeCheckImages();
    void OnApply();
    void OnBrowse();
    CString MusicFileOf(const CString& name) const;
    HWND MainWindow() const;

    CGameSettings& m_settings;
    CString m_strSettingsFile;
    CString m_strSoundDir;
    std::vector<MusicEntry> m_musicList;
    MusicControl m_music;
    CMusicPlayerLink m_musicLink;
    CWnd* m_pParent = nullptr;
    CComboBox m_cbMusic;
    CBrush m_brBack;
    CSkinButton m_btnOK, m_btnCancel, m_btnClose, m_btnSetPath;
    CTextCheckButton m_chkSound, m_chkMusic, m_chkClockOrder, m_chkCardOrder;
    CBitmap* m_pCheckOff = nullptr;
    CBitmap* m_pCheckOn = nullptr;
    // The theme's check box faces, when the application gives none.
    CBitmap m_bmpThemeOff, m_bmpThemeOn;
};
