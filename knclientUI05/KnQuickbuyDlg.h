#pragma once

// CKnQuickbuyDlg: the modeless quick-buy pop-up that shows a page the
// server pushes, in a shaped owner-drawn frame with the page control as
// child 101. Each pop-up re-creates the window at its size; closing it
// (its button, Escape, or the page's own window.close) blanks the page and
// hides the window.

#include "knbase05/TablehubApi.h"
#include "knclubpub/KNOwnerDialog.h"

#include <memory>

// The page control (the web browser control's wrapper).
class CWebBrowser2;

class TABLEHUB_API CKnQuickbuyDlg : public CKNOwnerDialog {
public:
    explicit CKnQuickbuyDlg(CWnd* pParent);
    ~CKnQuickbuyDlg() override;

    // Rebuilds the window at cx x cy (held between the frame's own size and
    // the screen); FALSE when the template, a frame piece or the page
    // control cannot be made.
    BOOL CreatePopup(int cx, int cy);
    // A title that is not empty follows the fixed caption.
    void SetPageTitle(CString strTitle);
    // FALSE when a window is missing or the page control refuses the address.
    BOOL Navigate(CString strUrl);
    CString GetUrl() const { return m_strUrl; }
    // Pieces 29664..29673 of the resource search; FALSE at the first missing
    // one, the pieces before it kept.
    BOOL LoadPopupBitmaps();
    void UpdateWindowRegion();
    void LayoutPopup(int cx, int cy);
    void DrawCaption() override;

    CString GetCaption() const { return m_strCaption; }
    CRect GetBrowserRect() const { return m_rcBrowser; }
    CWebBrowser2& GetBrowser() { return *m_pBrowser; }

    BOOL DestroyWindow() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnNcPaint() override;
    void OnWindowClosing(BOOL isChildWindow, BOOL* cancel);

private:
    CString m_strUrl;
    std::unique_ptr<CWebBrowser2> m_pBrowser;
    CString m_strCaption;
    CRect m_rcBrowser;
    CWnd* m_pMainWnd; // centred over; the dialog itself has no parent
    int m_nWidth = 0;
    int m_nHeight = 0;
    CFont m_font;
};
