#pragma once

// What the plain and the skinned message box share: the button sets of the
// style word, the system icon of its icon bits, and the text's measure.

#include "platform/CString.h"
#include "platform/Types.h"

class CWnd;
class CFont;

struct tagMSGBOXBUTTONSET {
    int count;
    UINT captions[3]; // string ids of the resource library
    int results[3];
};

// The set of the style's button bits; sets beyond the known six get the OK
// button, or nothing but a countdown could close the box.
const tagMSGBOXBUTTONSET& MsgBoxButtonSet(UINT style);
// The default button the style's bits name among count buttons: its index,
// kMsgBoxFirstFocus when the bits name none (the first button takes the
// focus, and no default is set), or kMsgBoxNoDefault when they name a button
// the set does not have.
constexpr int kMsgBoxFirstFocus = -2;
constexpr int kMsgBoxNoDefault = -1;
int MsgBoxDefaultIndex(UINT style, int count);
// The system icon of the style's icon bits.
LPCSTR MsgBoxSystemIcon(UINT style);
// The widest line and the total height of the text's lines (each line 2
// pixels more than the font's), measured in the window's DC with the font.
SIZE MeasureMsgBoxText(CWnd* window, CFont* font, const CString& text);
CString LoadedString(UINT id);
