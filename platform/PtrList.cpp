#include "platform/PtrList.h"

#include <cassert>

struct CPtrList::Node : __POSITION {
    Node* next;
    Node* prev;
    void* value;
};

CPtrList::Node* CPtrList::NodeOf(POSITION pos) {
    return static_cast<Node*>(pos);
}
POSITION CPtrList::PositionOf(Node* node) {
    return node;
}

CPtrList::CPtrList(int) {}

CPtrList::~CPtrList() {
    RemoveAll();
}

void*& CPtrList::GetHead() {
    assert(m_head);
    return m_head->value;
}
void* CPtrList::GetHead() const {
    assert(m_head);
    return m_head->value;
}
void*& CPtrList::GetTail() {
    assert(m_tail);
    return m_tail->value;
}
void* CPtrList::GetTail() const {
    assert(m_tail);
    return m_tail->value;
}

void* CPtrList::RemoveHead() {
    assert(m_head);
    void* value = m_head->value;
    RemoveAt(m_head);
    return value;
}

void* CPtrList::RemoveTail() {
    assert(m_tail);
    void* value = m_tail->value;
    RemoveAt(m_tail);
    return value;
}

POSITION CPtrList::AddHead(void* value) {
    return InsertBefore(nullptr, value);
}
POSITION CPtrList::AddTail(void* value) {
    return InsertAfter(nullptr, value);
}

void CPtrList::AddHead(CPtrList* other) {
    // Walk backwards so the other list keeps its order in front of ours.
    for (Node* node = other->m_tail; node; node = node->prev)
        AddHead(node->value);
}

void CPtrList::AddTail(CPtrList* other) {
    for (Node* node = other->m_head; node; node = node->next)
        AddTail(node->value);
}

void CPtrList::RemoveAll() {
    for (Node* node = m_head; node;) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
}

POSITION CPtrList::GetHeadPosition() const {
    return PositionOf(m_head);
}
POSITION CPtrList::GetTailPosition() const {
    return PositionOf(m_tail);
}

void*& CPtrList::GetNext(POSITION& pos) {
    Node* node = NodeOf(pos);
    pos = PositionOf(node->next);
    return node->value;
}
void* CPtrList::GetNext(POSITION& pos) const {
    Node* node = NodeOf(pos);
    pos = PositionOf(node->next);
    return node->value;
}
void*& CPtrList::GetPrev(POSITION& pos) {
    Node* node = NodeOf(pos);
    pos = PositionOf(node->prev);
    return node->value;
}
void* CPtrList::GetPrev(POSITION& pos) const {
    Node* node = NodeOf(pos);
    pos = PositionOf(node->prev);
    return node->value;
}

void*& CPtrList::GetAt(POSITION pos) {
    return NodeOf(pos)->value;
}
void* CPtrList::GetAt(POSITION pos) const {
    return NodeOf(pos)->value;
}
void CPtrList::SetAt(POSITION pos, void* value) {
    NodeOf(pos)->value = value;
}

void CPtrList::RemoveAt(POSITION pos) {
    Node* node = NodeOf(pos);
    (node->prev ? node->prev->next : m_head) = node->next;
    (node->next ? node->next->prev : m_tail) = node->prev;
    delete node;
    --m_count;
}

POSITION CPtrList::InsertBefore(POSITION pos, void* value) {
    Node* at = pos ? NodeOf(pos) : m_head;
    Node* node = new Node;
    node->value = value;
    node->next = at;
    node->prev = at ? at->prev : m_tail;
    (node->prev ? node->prev->next : m_head) = node;
    (at ? at->prev : m_tail) = node;
    ++m_count;
    return PositionOf(node);
}

POSITION CPtrList::InsertAfter(POSITION pos, void* value) {
    Node* at = pos ? NodeOf(pos) : m_tail;
    Node* node = new Node;
    node->value = value;
    node->prev = at;
    node->next = at ? at->next : m_head;
    (node->next ? node->next->prev : m_tail) = node;
    (at ? at->next : m_head) = node;
    ++m_count;
    return PositionOf(node);
}

POSITION CPtrList::Find(void* value, POSITION startAfter) const {
    Node* node = startAfter ? NodeOf(startAfter)->next : m_head;
    for (; node; node = node->next)
        if (node->value == value)
            return PositionOf(node);
    return nullptr;
}

POSITION CPtrList::FindIndex(int index) const {
    if (index < 0 || index >= m_count)
        return nullptr;
    Node* node = m_head;
    while (index-- > 0)
        node = node->next;
    return PositionOf(node);
}
