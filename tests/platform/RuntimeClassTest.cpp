// Runtime-class records: names, bases, kind tests and creation by record.

#include "platform/RuntimeClass.h"
#include "platform/gdi/GdiWrappers.h"
#include "platform/window/Wnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class Shape : public CObject {
    DECLARE_DYNAMIC(Shape)
};
IMPLEMENT_DYNAMIC(Shape, CObject)

class Square : public Shape {
    DECLARE_DYNCREATE(Square)

public:
    int side = 3;
};
IMPLEMENT_DYNCREATE(Square, Shape)

TEST(RuntimeClass, RecordsNameTheClassAndChainToTheirBases) {
    Square square;
    const CRuntimeClass* record = square.GetRuntimeClass();
    EXPECT_STREQ(record->m_lpszClassName, "Square");
    EXPECT_EQ(record->m_nObjectSize, int(sizeof(Square)));
    EXPECT_EQ(record->m_pBaseClass, RUNTIME_CLASS(Shape));
    EXPECT_EQ(RUNTIME_CLASS(Shape)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
}

TEST(RuntimeClass, KindTestsFollowTheChainUpwardOnly) {
    Square square;
    Shape shape;
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(Square)));
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(Square)));
    EXPECT_FALSE(square.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(square.IsKindOf(nullptr));
    // Seen through its base, an object still reports its own class.
    const CObject& seen = square;
    EXPECT_STREQ(seen.GetRuntimeClass()->m_lpszClassName, "Square");
}

TEST(RuntimeClass, OnlyCreatableClassesMakeObjects) {
    EXPECT_EQ(RUNTIME_CLASS(Shape)->CreateObject(), nullptr);
    std::unique_ptr<CObject> made(RUNTIME_CLASS(Square)->CreateObject());
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(Square)));
    EXPECT_EQ(static_cast<Square*>(made.get())->side, 3);

    std::unique_ptr<CObject> window(RUNTIME_CLASS(CWnd)->CreateObject());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(static_cast<CWnd*>(window.get())->m_hWnd, nullptr);
}

TEST(RuntimeClass, TheLayersWrappersCarryTheirRecords) {
    CBitmap bitmap;
    EXPECT_TRUE(bitmap.IsKindOf(RUNTIME_CLASS(CGdiObject)));
    EXPECT_STREQ(bitmap.GetRuntimeClass()->m_lpszClassName, "CBitmap");
    EXPECT_EQ(RUNTIME_CLASS(CGdiObject)->CreateObject(), nullptr);
}

} // namespace
