#pragma once

// CPtrList: a doubly linked list of pointers. A POSITION names one node and stays
// valid until that node is removed, whatever else is added or removed, so
// callers may keep POSITIONs as handles (the sprite engine hands them out).

#include "platform/Types.h"

struct __POSITION {};
typedef __POSITION* POSITION;

class CPtrList {
public:
    // The block size is accepted for the record; nodes are allocated singly.
    explicit CPtrList(int blockSize = 10);
    ~CPtrList();
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    // Head and tail of an empty list are a programming error (asserted).
    void*& GetHead();
    void* GetHead() const;
    void*& GetTail();
    void* GetTail() const;
    void* RemoveHead();
    void* RemoveTail();

    POSITION AddHead(void* value);
    POSITION AddTail(void* value);
    void AddHead(CPtrList* other);
    void AddTail(CPtrList* other);
    void RemoveAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    // Returns the value at pos and moves pos on (null past the end).
    void*& GetNext(POSITION& pos);
    void* GetNext(POSITION& pos) const;
    void*& GetPrev(POSITION& pos);
    void* GetPrev(POSITION& pos) const;

    void*& GetAt(POSITION pos);
    void* GetAt(POSITION pos) const;
    void SetAt(POSITION pos, void* value);
    void RemoveAt(POSITION pos);
    // A null pos inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION pos, void* value);
    POSITION InsertAfter(POSITION pos, void* value);

    // The first node holding value after startAfter (from the head when null).
    POSITION Find(void* value, POSITION startAfter = nullptr) const;
    // The node at a zero-based index, or null.
    POSITION FindIndex(int index) const;

private:
    struct Node;
    static Node* NodeOf(POSITION pos);
    static POSITION PositionOf(Node* node);

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
