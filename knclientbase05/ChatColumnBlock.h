#pragma once

// The column block both chat controls read, built in a 1,024-byte buffer:
// u32 total length (the whole block), u32 column count, one u32 width per
// column, then one text field per column of exactly its width. The same
// block carries the captions once and a user's row once.
//
// Nothing is written outside the buffer: widths that do not fit are refused,
// and each text is cut to its field's width - 1 bytes at a character
// boundary, always with its terminator.

#include "platform/Types.h"

#include <cstddef>

class CChatColumnBlock {
public:
    static constexpr size_t kCapacity = 1024;
    static constexpr int kMaxColumns = int((kCapacity - 8) / 5);

    CChatColumnBlock();

    // Clears the buffer and lays out the header. FALSE (the block left
    // empty) for no columns, a column of width 0 or a block over kCapacity.
    BOOL SetWidths(const UINT* widths, int count);

    // Writes the text into a column's field; the rest of the field becomes
    // zero. At most sourceLimit bytes of the text are read (for fixed-size
    // fields that may lack a terminator). Null writes an empty text.
    void SetText(int column, LPCSTR text, size_t sourceLimit = size_t(-1));

    const BYTE* GetData() const { return m_bytes; }
    DWORD GetLength() const { return m_length; }
    int GetCount() const { return m_count; }
    // The offset of a column's field in the block; 0 for no such column.
    size_t GetFieldOffset(int column) const;

private:
    BYTE m_bytes[kCapacity];
    DWORD m_length;
    int m_count;
};

// Copies whole characters of text (at most sourceLimit bytes read) into a
// field of `width` bytes: at most width - 1 bytes, then zeros to the end.
// A double-byte character that does not fit is left out whole.
void CopyTextField(char* field, size_t width, LPCSTR text, size_t sourceLimit = size_t(-1));
