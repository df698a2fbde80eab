#include "game/RulesFields.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

bool CRulesFields::Next(int& value) {
    if (!HasNext())
        return false;
    const char* end = m_pNext;
    while (*end != '\0' && *end != ' ')
        ++end;
    // Like atoi, but a number too large for an int is clamped rather than
    // left undefined.
    char* stop = nullptr;
    errno = 0;
    long parsed = strtol(m_pNext, &stop, 10);
    if (stop == m_pNext || stop > end)
        parsed = 0; // no digits within this field
    if (parsed > INT_MAX)
        parsed = INT_MAX;
    if (parsed < INT_MIN)
        parsed = INT_MIN;
    value = static_cast<int>(parsed);
    m_pNext = *end == ' ' ? end + 1 : end;
    return true;
}
