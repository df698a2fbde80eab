#pragma once

// CSysBmpBtn: the caption buttons of a skinned dialog. Not a window: the
// owner hands it its non-client hit tests, mouse messages and painting.
// Each button is a four-frame strip from the skin (normal, mouse over,
// pressed, any other state) with its own hit-test code and the command it
// posts to the owner when clicked.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/KNBitmap.h"
#include "platform/RuntimeClass.h"

class CWnd;

class TABLEHUB_API CSysBmpBtn : public CObject {
public:
    static constexpr int kMaxButtons = 15;

    struct Button {
        UINT nID = 0;
        CKNBitmap bmpNormal;
        BOOL bUseAlt = FALSE;
        CKNBitmap bmpAlt; // the maximise button's restore picture
        RECT rc{0, 0, 0, 0};
        BOOL bVisible = TRUE;
        int nState = 0; // 0 normal, 1 over, 2 pressed, else the fourth frame
        int nHitCode = -2;
    };

    int SetOwner(CWnd* owner);
    // From the skin section's entry (then "KNDLG"'s). FALSE once 15 buttons
    // exist or when no picture loads.
    BOOL AddButton(UINT id, LPCSTR section, LPCSTR entry, int hitCode);
    // The set takes the picture over.
    BOOL SetAltBitmap(HBITMAP picture, int index);
    BOOL LoadAltBitmap(LPCSTR path, int index);
    // FALSE when the button has no second strip.
    BOOL UseAlt(BOOL use, int index);
    void ShowButton(int showCommand, int index);
    int GetState(int index) const;
    BOOL SetState(int state, int index);
    void GetRect(RECT* rect) const;
    void SetPos(int x, int y);
    // Owner client coordinates; the hit code of the first visible button
    // under the point, else -2.
    int HitTest(int x, int y) const;
    // Each TRUE when a button took the message (the owner then skips its
    // default handling).
    BOOL OnLButtonDown(UINT hitCode, POINT point);
    BOOL OnLButtonUp(UINT hitCode, POINT point);
    BOOL OnMouseMove(UINT hitCode, POINT point);
    // Keeps the background painted next off the buttons; Draw puts the
    // clipping back and draws them.
    void ExcludeFromClip(CDC* dc);
    void Draw(CDC* dc);

    int GetCount() const { return m_nCount; }
    const Button& GetButton(int index) const { return m_btn[index]; }

private:
    int m_nSpace = 1;
    CWnd* m_pOwner = nullptr;
    BOOL m_bPressed = FALSE;
    int m_nCount = 0;
    Button m_btn[kMaxButtons];
    int m_nSavedDC = -1;
};
