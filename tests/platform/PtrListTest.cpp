#include "platform/PtrList.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<intptr_t> Values(const CPtrList& list) {
    std::vector<intptr_t> values;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        values.push_back(reinterpret_cast<intptr_t>(list.GetNext(pos)));
    return values;
}

void* V(intptr_t v) {
    return reinterpret_cast<void*>(v);
}

TEST(PtrListTest, PositionsStayValidWhileOtherNodesComeAndGo) {
    CPtrList list(10);
    POSITION two = list.AddTail(V(2));
    POSITION one = list.AddHead(V(1));
    list.AddTail(V(4));
    POSITION three = list.InsertAfter(two, V(3));
    EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 2, 3, 4}));
    list.RemoveAt(two);
    list.InsertBefore(one, V(0));
    EXPECT_EQ(list.GetAt(three), V(3));
    EXPECT_EQ(Values(list), (std::vector<intptr_t>{0, 1, 3, 4}));
    EXPECT_EQ(list.GetCount(), 4);
}

TEST(PtrListTest, RemovingTheEndsKeepsTheListLinked) {
    CPtrList list;
    for (intptr_t i = 1; i <= 3; ++i)
        list.AddTail(V(i));
    EXPECT_EQ(list.RemoveHead(), V(1));
    EXPECT_EQ(list.RemoveTail(), V(3));
    EXPECT_EQ(list.GetHead(), V(2));
    EXPECT_EQ(list.GetTail(), V(2));
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddHead(V(9));
    EXPECT_EQ(Values(list), std::vector<intptr_t>{9});
}

TEST(PtrListTest, FindAndIndexAndBackwardWalk) {
    CPtrList list;
    for (intptr_t v : {5, 6, 5, 7})
        list.AddTail(V(v));
    POSITION first = list.Find(V(5));
    POSITION second = list.Find(V(5), first);
    EXPECT_NE(first, second);
    EXPECT_EQ(list.FindIndex(2), second);
    EXPECT_EQ(list.Find(V(8)), nullptr);
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    std::vector<intptr_t> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(reinterpret_cast<intptr_t>(list.GetPrev(pos)));
    EXPECT_EQ(backwards, (std::vector<intptr_t>{7, 5, 6, 5}));

    CPtrList other;
    other.AddTail(V(1));
    other.AddTail(V(2));
    list.AddHead(&other);
    EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 2, 5, 6, 5, 7}));
}

} // namespace
