#pragma once
// What the two coin dialogs share: the operator's pages their "这里" links
// open, the private messages they post to the main window, and the link and
// hand areas laid over the face's two "这里".

#include "app/ShellMessages.h"
#include "app/SkinDialog.h"
#include "platform/text/Text.h"

#include <functional>

namespace coin_links {

// Places a link control and its hand control on the same rectangle.
void PlacePair(CWnd& dialog, int linkId, int handId, const CRect& rect);
// Opens the page of the link under the point; FALSE when none is.
BOOL OpenLinkAt(CWnd& dialog, CPoint point, int introId, int helpId);
// The system hand over either hand area.
void HandOver(CWnd& dialog, CPoint point, int introHandId, int helpHandId);
// Posts to the window when it is one.
void PostTo(CWnd* wnd, UINT message);

} // namespace coin_links

// The main window the coin dialogs post to: the application's unless a
// caller (a test) names another.
class CCoinDialogBase : public CSkinDialog {
public:
    // The two link areas and the two hand areas over the face's "这里".
    struct LinkIds {
        int intro, help, introHand, helpHand;
    };
    CCoinDialogBase(UINT templateId, CWnd* parent, LinkIds links);
    ~CCoinDialogBase() override;

    // A press on a link opens its page; elsewhere it drags the dialog.
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void SetMainWnd(CWnd* wnd) { m_pMainWnd = wnd; }

protected:
    CWnd* MainWnd() const;
    // Asks whether the player really gives the offer up; on OK posts the
    // leave and closes, else the dialog stays.
    void ConfirmRefusal(LPCSTR question);
    void DrawText(LPCSTR text, CRect rect, COLORREF colour, int height, int weight,
                  UINT format = DT_SINGLELINE);
    // The face's two "这里" in blue.
    void DrawLinkWords(const CRect& first, const CRect& second);

    CWnd* m_pMainWnd = nullptr;
    LinkIds m_links;
};
