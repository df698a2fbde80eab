// Writing through numbered file handles: pieces, the .bmp file header and
// writes that fall short.

#include "tests/support/TempFolder.h"

#include "knclientUI05/KnClientPublic.h"

#include <gtest/gtest.h>

#include <string>

namespace ui_test {
namespace {

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

HFILE Create(const std::string& path) {
    OFSTRUCT record{};
    return OpenFile(path.c_str(), &record, OF_CREATE | OF_READWRITE);
}

TEST(ChunkedWriteTest, EverySizeArrivesWholeAndInOrder) {
    TempFolder folder;
    // Around the piece size: below, exactly one and two pieces, remainders.
    for (size_t size : {size_t(0), size_t(1), size_t(32767), size_t(32768), size_t(32769),
                        size_t(65536), size_t(100001)}) {
        std::string name = "chunks" + std::to_string(size);
        HFILE file = Create(folder.File(name));
        ASSERT_NE(file, HFILE_ERROR);
        std::string bytes = Pattern(size);
        EXPECT_EQ(WriteFileInChunks(file, bytes.data(), DWORD(size)), DWORD(size));
        _lclose(file);
        EXPECT_EQ(folder.Read(name), bytes) << "size " << size;
    }
}

TEST(ChunkedWriteTest, AWriteThatFailsIsReportedAsNothingWritten) {
    TempFolder folder;
    std::string bytes = Pattern(70000);
    EXPECT_EQ(WriteFileInChunks(HFILE(4242), bytes.data(), DWORD(bytes.size())), 0u);
    EXPECT_EQ(WriteFileInChunks(HFILE_ERROR, bytes.data(), 10), 0u);

    // A file opened for reading takes no bytes.
    folder.Write("readonly", "x");
    HFILE reading = _lopen(folder.File("readonly").c_str(), OF_READ);
    ASSERT_NE(reading, HFILE_ERROR);
    EXPECT_EQ(WriteFileInChunks(reading, bytes.data(), DWORD(bytes.size())), 0u);
    _lclose(reading);
    EXPECT_EQ(folder.Read("readonly"), "x");

    // A closed handle, and data missing for a non-zero size.
    HFILE file = Create(folder.File("closed"));
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(WriteFileInChunks(file, nullptr, 5), 0u);
    _lclose(file);
    EXPECT_EQ(WriteFileInChunks(file, bytes.data(), 5), 0u);
}

TEST(BmpFileHeaderTest, FourteenLittleEndianBytes) {
    TempFolder folder;
    BITMAPFILEHEADER header{};
    header.bfType = 'B' | ('M' << 8);
    header.bfSize = 0x01020304;
    header.bfReserved1 = 0x0506;
    header.bfReserved2 = 0x0708;
    header.bfOffBits = 0x0A0B0C0D;
    HFILE file = Create(folder.File("header.bmp"));
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_TRUE(WriteBmpFileHeader(file, &header));
    _lclose(file);
    const std::string expected{'B',  'M',  0x04, 0x03, 0x02, 0x01, 0x06,
                               0x05, 0x08, 0x07, 0x0D, 0x0C, 0x0B, 0x0A};
    EXPECT_EQ(folder.Read("header.bmp"), expected);

    EXPECT_FALSE(WriteBmpFileHeader(file, &header)); // closed
    EXPECT_FALSE(WriteBmpFileHeader(HFILE_ERROR, &header));
    HFILE other = Create(folder.File("none.bmp"));
    EXPECT_FALSE(WriteBmpFileHeader(other, nullptr));
    _lclose(other);
    EXPECT_EQ(folder.Read("none.bmp"), "");
}

} // namespace
} // namespace ui_test
