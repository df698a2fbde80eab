// The wave object's reader against sox: the bytes it puts in its buffer are
// the sound sox reads from the same file, for the formats it plays.

#include "tests/knclientUI05/SoundFixture.h"

#include "knclientUI05/DirectWave.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using WaveSoxTest = ui_test::SoundTest;

bool HaveSox() {
    return std::system("sox --version >/dev/null 2>&1") == 0;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(WaveSoxTest, TheBufferHoldsTheSoundSoxReadsFromTheFile) {
    if (!HaveSox())
        GTEST_SKIP() << "sox is not installed (scripts/install-deps.sh installs it)";
    const struct {
        int rate, channels, bits;
    } formats[] = {{8000, 1, 8}, {11025, 2, 8}, {22050, 1, 16}, {44100, 2, 16}};
    for (const auto& f : formats) {
        const std::string name = std::to_string(f.rate) + "_" + std::to_string(f.channels) + "_" +
                                 std::to_string(f.bits);
        const std::string wav = folder.File(name + ".wav"), raw = folder.File(name + ".raw");
        // A 50 ms chirp, loud enough to use every bit.
        const std::string make = "sox -n -r " + std::to_string(f.rate) + " -c " +
                                 std::to_string(f.channels) + " -b " + std::to_string(f.bits) +
                                 " '" + wav + "' synth 0.05 sine 300-3000 vol 0.8";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const std::string dump = "sox '" + wav + "' -t raw '" + raw + "'";
        ASSERT_EQ(std::system(dump.c_str()), 0) << dump;
        const std::string expected = ReadAll(raw);
        ASSERT_FALSE(expected.empty());

        CDirectWave wave;
        strcpy(wave.m_szName, wav.c_str());
        ASSERT_TRUE(wave.LoadFile()) << name;
        void* part = nullptr;
        DWORD bytes = 0;
        ASSERT_EQ(wave.m_pBuffer->Lock(0, 0, &part, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
                  DS_OK);
        EXPECT_EQ(std::string(static_cast<const char*>(part), bytes), expected) << name;
        wave.m_pBuffer->Unlock(part, bytes, nullptr, 0);
    }
}

} // namespace
