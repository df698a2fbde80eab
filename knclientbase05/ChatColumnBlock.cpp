#include "knclientbase05/ChatColumnBlock.h"

#include "platform/CodePage.h"

#include <cstring>
#include <string_view>

namespace {

void PutDword(BYTE* at, DWORD value) {
    memcpy(at, &value, 4);
}

DWORD GetDword(const BYTE* at) {
    DWORD value;
    memcpy(&value, at, 4);
    return value;
}

} // namespace

void CopyTextField(char* field, size_t width, LPCSTR text, size_t sourceLimit) {
    if (field == nullptr || width == 0)
        return;
    size_t copied = 0;
    if (text != nullptr) {
        const std::string_view source(text, strnlen(text, sourceLimit));
        while (copied < source.size()) {
            const size_t step = size_t(platform::GbkCharLength(source, copied));
            if (step == 0 || copied + step > width - 1)
                break;
            copied += step;
        }
        memcpy(field, source.data(), copied);
    }
    memset(field + copied, 0, width - copied);
}

CChatColumnBlock::CChatColumnBlock() : m_bytes{}, m_length(0), m_count(0) {}

BOOL CChatColumnBlock::SetWidths(const UINT* widths, int count) {
    memset(m_bytes, 0, sizeof m_bytes);
    m_length = 0;
    m_count = 0;
    if (widths == nullptr || count <= 0 || count > kMaxColumns)
        return FALSE;
    unsigned long long total = 8 + 4ull * unsigned(count);
    for (int i = 0; i < count; ++i) {
        if (widths[i] == 0)
            return FALSE;
        total += widths[i];
    }
    if (total > kCapacity)
        return FALSE;
    m_length = DWORD(total);
    m_count = count;
    PutDword(m_bytes, m_length);
    PutDword(m_bytes + 4, DWORD(count));
    for (int i = 0; i < count; ++i)
        PutDword(m_bytes + 8 + 4 * size_t(i), widths[i]);
    return TRUE;
}

size_t CChatColumnBlock::GetFieldOffset(int column) const {
    if (column < 0 || column >= m_count)
        return 0;
    size_t offset = 8 + 4 * size_t(m_count);
    for (int i = 0; i < column; ++i)
        offset += GetDword(m_bytes + 8 + 4 * size_t(i));
    return offset;
}

void CChatColumnBlock::SetText(int column, LPCSTR text, size_t sourceLimit) {
    const size_t offset = GetFieldOffset(column);
    if (offset == 0)
        return;
    const size_t width = GetDword(m_bytes + 8 + 4 * size_t(column));
    CopyTextField(reinterpret_cast<char*>(m_bytes + offset), width, text, sourceLimit);
}
