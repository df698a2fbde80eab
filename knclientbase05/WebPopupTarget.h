#pragma once

// The quick-buy pop-up as the network layer drives it. The pop-up itself is
// the UI kit's, a layer above this one: the library's start-up hands its
// maker in with SetWebPopupMaker. Until then no pop-up can be made.

#include "platform/Types.h"

class CWnd;

class CWebPopupTarget {
public:
    virtual ~CWebPopupTarget() = default;
    // Creates or re-creates the pop-up window at that size.
    virtual BOOL CreatePopup(int cx, int cy) = 0;
    virtual void SetPageTitle(LPCSTR title) = 0;
    // Shows the page and the pop-up; FALSE when either cannot be.
    virtual BOOL Navigate(LPCSTR address) = 0;
};

// Makes a pop-up owned by the caller, with that parent window.
typedef CWebPopupTarget* (*WebPopupMaker)(CWnd* parent);
void SetWebPopupMaker(WebPopupMaker maker);
WebPopupMaker GetWebPopupMaker();
