#pragma once

// A small array of untyped pointers that grows in fixed steps and never owns
// what the pointers point at.

#include "knbase05/TablehubApi.h"

class TABLEHUB_API CGrowPtrArray {
public:
    explicit CGrowPtrArray(int growBy);
    virtual ~CGrowPtrArray();
    CGrowPtrArray(const CGrowPtrArray&) = delete;
    CGrowPtrArray& operator=(const CGrowPtrArray&) = delete;

    // 0 once storage exists, or for a step below 1.
    int SetGrowBy(int growBy);
    int GetSize() const { return m_nCount; }
    // Null outside 0 .. size - 1.
    void* GetAt(int index) const;
    // 0 when the array could not grow (it is then unchanged).
    int Add(void* pointer);
    // Later entries move down, keeping their order.
    int RemoveAt(int index);
    // 1 when there is room for one more entry.
    int Grow();

private:
    int m_nGrowBy;
    int m_nAllocated;
    int m_nCount;
    void** m_pData;
};
