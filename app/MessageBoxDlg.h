#pragma once
// The program's message box: a borderless skinned dialog with a warning
// picture, the text broken into lines by its own double-byte-aware rules, OK,
// Cancel and a small close button. A text about getting more wealth grows the
// box and shows the shop's help address as a blue link that opens on a click.

#include "app/SkinButton.h"
#include "platform/controls/Dialog.h"
#include "platform/text/CFont.h"

#include <memory>

class CKeyColorDC;
class CPicture;

class CMessageBoxDlg : public CDialog {
public:
    CMessageBoxDlg();
    ~CMessageBoxDlg() override;

    // Kept as given: a '%' means nothing here.
    void SetText(const CString& text) { m_strText = text; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;

    // What a test looks at.
    const CString& GetText() const { return m_strText; }
    BOOL IsBig() const { return m_bBig; }
    BOOL IsLink() const { return m_bLink; }
    int GetLineCount() const { return m_nLines; }
    const CRect& GetLinkRect() const { return m_rcLink; }
    CSize GetTextArea() const { return CSize(m_rcTextArea.Width(), m_rcTextArea.Height()); }

private:
    void Measure();
    void LayoutButtons();
    void DrawFace();
    void DrawLines(CDC& dc, const CRect& block);

    std::unique_ptr<CKeyColorDC> m_pMemDC;
    CPicture* m_pBackImage = nullptr; // the theme's
    CPicture* m_pWarnImage = nullptr;
    CSkinButton m_btnOK, m_btnCancel, m_btnClose;
    CFont m_fontText, m_fontSmall;
    CRect m_rcTextArea;
    CRect m_rcLink{90, 100, 330, 120};
    CRect m_rcTextBlock;
    int m_nLines = 0;
    CString m_strText;
    BOOL m_bMultiLine = FALSE;
    int m_nLineGap = 5;
    BOOL m_bLink = FALSE;
    BOOL m_bBig = FALSE;
    int m_nCharWidth = 0;
    int m_nLineHeight = 0;
};

// Makes ShowMessageBox show this box.
void InstallMessageBox();
