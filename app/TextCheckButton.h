#pragma once
// An owner-drawn check box made of two bitmaps (unchecked and checked) and
// the control's own text beside them.

#include "platform/controls/Controls.h"

class CTextCheckButton : public CButton {
public:
    // Neither bitmap is owned; the size is the unchecked one's.
    void SetBitmap(CBitmap* unchecked, CBitmap* checked);
    // The state alone: the new face shows at the next paint.
    void SetCheck(BOOL checked) { m_bChecked = checked; }
    BOOL GetCheck() const { return m_bChecked; }

    void PreSubclassWindow() override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

    // The text starts this far right of the bitmap.
    static constexpr int kTextGap = 5;

private:
    void Paint();

    CBitmap* m_pBmpUnchecked = nullptr;
    CBitmap* m_pBmpChecked = nullptr;
    int m_nBmpWidth = 0;
    int m_nBmpHeight = 0;
    BOOL m_bChecked = FALSE;
};
