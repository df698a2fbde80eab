// Multimedia file input over files and memory.

#include "tests/support/TempFolder.h"
#include "tests/support/WaveBytes.h"

#include "platform/sound/Mmio.h"
#include "platform/window/Wnd.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform;
using namespace wave_bytes;

namespace {

// A memory file over a heap copy of exactly the bytes, so that a read past
// them shows under the address sanitizer.
class MemoryFile {
public:
    explicit MemoryFile(const std::string& bytes) : m_copy(new char[bytes.size() + 1]) {
        memcpy(m_copy.get(), bytes.data(), bytes.size());
        MMIOINFO info{};
        info.fccIOProc = FOURCC_MEM;
        info.pchBuffer = m_copy.get();
        info.cchBuffer = LONG(bytes.size());
        handle = mmioOpen(nullptr, &info, MMIO_READ);
    }
    ~MemoryFile() {
        if (handle)
            mmioClose(handle, 0);
    }
    HMMIO handle;

private:
    std::unique_ptr<char[]> m_copy;
};

TEST(MmioTest, DescendsIntoTheWaveChunksAndReadsThem) {
    const std::string bytes =
        Riff(Chunk("LIST", "skip") + FormatChunk(8000, 1, 16) + Chunk("data", Samples16({7, 8})));
    MemoryFile file(bytes);
    ASSERT_NE(file.handle, nullptr);
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(file.handle, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.cksize, bytes.size() - 8);
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(file.handle, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 4u);
    int16_t samples[2] = {};
    EXPECT_EQ(mmioRead(file.handle, reinterpret_cast<HPSTR>(samples), 4), 4);
    EXPECT_EQ(samples[1], 8);
    EXPECT_EQ(mmioRead(file.handle, reinterpret_cast<HPSTR>(samples), 4), 0); // the end

    // The format lies before the data: searching from the data finds nothing.
    MMCKINFO format{};
    format.ckid = mmioFOURCC('f', 'm', 't', ' ');
    EXPECT_EQ(mmioDescend(file.handle, &format, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    ASSERT_EQ(mmioSeek(file.handle, 12, SEEK_SET), 12);
    ASSERT_EQ(mmioDescend(file.handle, &format, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(format.cksize, 16u);
    ASSERT_EQ(mmioAscend(file.handle, &format, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file.handle, 0, SEEK_CUR), LONG(format.dwDataOffset + 16));
    EXPECT_EQ(mmioSeek(file.handle, 1, SEEK_END), -1);
    EXPECT_EQ(mmioSeek(file.handle, -1, SEEK_SET), -1);
}

TEST(MmioTest, ALyingChunkSizeStopsReadsAtTheEndOfTheBytes) {
    std::string bytes = Riff(FormatChunk(8000, 1, 16) + Chunk("data", Samples16({1, 2})));
    bytes[40] = char(0xFF); // the data chunk claims 255 bytes
    MemoryFile file(bytes);
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(file.handle, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(file.handle, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.cksize, 255u);
    char buffer[255];
    EXPECT_EQ(mmioRead(file.handle, buffer, 255), 4);
    ASSERT_EQ(mmioAscend(file.handle, &data, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(file.handle, 0, SEEK_CUR), LONG(bytes.size()));

    MMCKINFO other{};
    other.fccType = mmioFOURCC('A', 'V', 'I', ' ');
    ASSERT_EQ(mmioSeek(file.handle, 0, SEEK_SET), 0);
    EXPECT_EQ(mmioDescend(file.handle, &other, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
    MemoryFile cut(bytes.substr(0, 10)); // not even a whole RIFF header
    EXPECT_EQ(mmioDescend(cut.handle, &other, nullptr, MMIO_FINDRIFF), MMIOERR_CHUNKNOTFOUND);
}

TEST(MmioTest, OpensFilesByNameAndSaysWhyOneDoesNotOpen) {
    TempFolder folder;
    folder.Write("a.wav", MonoWave16(8000, {1}));
    std::string name = folder.File("a.wav");
    HMMIO file = mmioOpen(name.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    ASSERT_NE(file, nullptr);
    char head[4];
    EXPECT_EQ(mmioRead(file, head, 4), 4);
    EXPECT_EQ(std::string(head, 4), "RIFF");
    mmioClose(file, 0);

    MMIOINFO info{};
    std::string missing = folder.File("none.wav");
    EXPECT_EQ(mmioOpen(missing.data(), &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, UINT(MMIOERR_FILENOTFOUND));
    EXPECT_EQ(mmioOpen(name.data(), &info, MMIO_READWRITE), nullptr);
    info = MMIOINFO{};
    info.fccIOProc = FOURCC_MEM;
    EXPECT_EQ(mmioOpen(nullptr, &info, MMIO_READ), nullptr); // no bytes given
}

} // namespace
