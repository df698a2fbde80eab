#include "knclientbase05/GrowPtrArray.h"

#include <cstdlib>
#include <cstring>

CGrowPtrArray::CGrowPtrArray(int growBy)
    : m_nGrowBy(growBy), m_nAllocated(0), m_nCount(0), m_pData(nullptr) {}

CGrowPtrArray::~CGrowPtrArray() {
    free(m_pData);
}

int CGrowPtrArray::SetGrowBy(int growBy) {
    if (m_nAllocated != 0 || growBy < 1)
        return 0;
    m_nGrowBy = growBy;
    return 1;
}

void* CGrowPtrArray::GetAt(int index) const {
    return (index >= 0 && index < m_nCount) ? m_pData[index] : nullptr;
}

int CGrowPtrArray::Grow() {
    if (m_nAllocated > m_nCount)
        return 1;
    // A step below 1 would "grow" by nothing and the next store overrun.
    if (m_nGrowBy < 1)
        return 0;
    void* grown = realloc(m_pData, sizeof(void*) * static_cast<size_t>(m_nAllocated + m_nGrowBy));
    if (grown == nullptr)
        return 0;
    m_pData = static_cast<void**>(grown);
    m_nAllocated += m_nGrowBy;
    return 1;
}

int CGrowPtrArray::Add(void* pointer) {
    if (!Grow())
        return 0;
    m_pData[m_nCount++] = pointer;
    return 1;
}

int CGrowPtrArray::RemoveAt(int index) {
    if (index < 0 || index >= m_nCount)
        return 0;
    memmove(m_pData + index, m_pData + index + 1, sizeof(void*) * (m_nCount - index - 1));
    --m_nCount;
    return 1;
}
