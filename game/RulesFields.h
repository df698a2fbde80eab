#pragma once

// Reads the rules text: decimal integers separated by single spaces, from the
// left. A field that is not a number, or empty as between two spaces, reads
// 0; there are no more fields at the end of the text.
class CRulesFields {
public:
    explicit CRulesFields(const char* text) : m_pNext(text) {}

    bool HasNext() const { return m_pNext != nullptr && *m_pNext != '\0'; }

    // Reads the next field; false at the end of the text.
    bool Next(int& value);

    // The text not read yet.
    const char* Rest() const { return HasNext() ? m_pNext : ""; }

private:
    const char* m_pNext;
};
