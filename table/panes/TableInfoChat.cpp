// The chat lines the chat pane hands to the table, shown in the speakers'
// speech tips, and the hint tips of the table's buttons.

#include "Tablehub/KNChatEx.h"
#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteItem.h"
#include "sprite/SpriteWnd.h"
#include "table/client/GameNetClient.h"
#include "table/panes/GameWndChatLine.h"
#include "table/common/GameWndInfoText.h"
#include "table/common/TableAppLink.h"
#include "table/panes/TableInfo.h"
#include "table/records/TableRecords.h"
#include "table/common/TableWndFields.h"

namespace {

// The kind of line the chat control is given for a chat line.
constexpr LONG kChatLineKind = 0;

} // namespace

void CTableInfo::AddChatText(LPCSTR text) {
    CClientShell* shell = m_client != nullptr ? m_client->GetShell() : nullptr;
    auto* chat = shell != nullptr ? dynamic_cast<CKNChatEx*>(shell->GetChatControl()) : nullptr;
    if (chat != nullptr && chat->m_hWnd != nullptr)
        chat->AddText(kChatLineKind, text);
}

void CTableInfo::OnReceivedChatLine(LPCSTR text) {
    if (text == nullptr || *text == '\0' || IsSymbolFontLine(text))
        return;
    AddChatText(text);
    CString names[kSeatCount];
    for (int seat = 0; seat < kSeatCount; ++seat)
        names[seat] = UserNameOf(m_board.GetUserInfo(seat));
    const ChatSpeech speech = ReadChatLine(text, names);
    if (speech.seat >= 0)
        ShowSeatTip(speech.tip, speech.seat);
}

void CTableInfo::OnOwnChatLine(LPCSTR text) {
    if (text == nullptr || *text == '\0')
        return;
    AddChatText(text);
    if (IsSymbolFontLine(text) || IsChatCommandLine(text))
        return;
    if (m_client == nullptr || m_fields.viewpoint.bWatcher)
        return;
    ShowSeatTip(text, m_fields.viewpoint.nMySeat);
}

void CTableInfo::OnButtonHover(int id, BOOL leave) {
    CBalloonTipWnd& tip = m_tips[kHintTip];
    if (leave) {
        tip.Hide();
        return;
    }
    const tagTABLEHEAD& head = m_board.GetTableHead();
    CString text;
    switch (id) {
    case kCmdHistory:
        text = TableApp().IsHistoryShown() ? "关闭记录" : "查看记录";
        break;
    case kCmdMagnif:
        text = "使用放大镜";
        break;
    case kCmdMagnifOpen:
        text = "关闭放大镜";
        break;
    case kCmdDeclPoint:
        if (head.nPrePointFee > 0)
            text.Format("使用预点功能将收取%d豆", m_board.GetOptionFee(1, 0));
        break;
    default:
        if (id >= kCmdChipFirst && id <= kCmdChipLast && m_records.HasMultiples()) {
            const int multiple = id - 400;
            if (multiple > head.nBaseMultiple && multiple <= head.nMaxMultiple)
                text.Format("非会员选择%d倍将收取%d豆,会员免费", multiple,
                            m_board.GetOptionFee(0, multiple));
        }
        break;
    }
    CSpriteItem* item = text.IsEmpty() ? nullptr : m_wnd.FindItem(id);
    if (item == nullptr)
        return;
    // Above the button, the tail at its top middle.
    const CRect button = item->GetRect();
    POINT body{button.left, button.top - 8};
    POINT tail{(button.left + button.right) / 2, button.top};
    m_wnd.ClientToScreen(&body);
    m_wnd.ClientToScreen(&tail);
    tip.Show(text, body.x, body.y, tail.x, tail.y, 2);
    m_host.PlayGameSound("button.wav");
}
