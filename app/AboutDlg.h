#pragma once
// The about box: the program's title, its version from the program file's
// version information, and the maker's lines on a skinned face. Modal.

#include "app/SkinDialog.h"
#include "platform/text/CFont.h"

class CAboutDlg : public CSkinDialog {
public:
    // programFile: the file whose version and date are shown; empty: the
    // running program.
    explicit CAboutDlg(CWnd* parent = nullptr, LPCSTR programFile = "");
    ~CAboutDlg() override;

    // Major in bits 24-31, the low bytes of minor, third and fourth numbers
    // below; 0 when the file has no readable version.
    static DWORD GetFileVersion(LPCSTR path);
    // "Morvane %d.%d Beta:%d Build:%d": the beta is the third number + 1.
    static CString VersionText(DWORD packed);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CString m_strVersion;
    CString m_strDateLine;

private:
    void DrawFace();
    CString DateLineOf(LPCSTR path) const;

    CString m_strProgramFile;
    CSkinButton m_btnOK, m_btnClose;
    HICON m_hIcon = nullptr;
    CFont m_fontText, m_fontTitle;
};
