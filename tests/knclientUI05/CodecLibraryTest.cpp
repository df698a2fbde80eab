// The codec libraries' loader over stand-in modules registered by the tests:
// loaded once, failures remembered, required and optional exports, and
// first calls from several threads at once.

#include "knclientUI05/CodecLibrary.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

int attaches = 0, detaches = 0;
int One() {
    return 1;
}
int Two() {
    return 2;
}

const char* const kNames[] = {"One", "Two", "Optional"};

BuiltinModuleDefinition Codec(const char* name, bool withTwo) {
    BuiltinModuleDefinition module;
    module.fileName = name;
    module.exports = {{"One", reinterpret_cast<FARPROC>(One)}};
    if (withTwo)
        module.exports.push_back({"Two", reinterpret_cast<FARPROC>(Two)});
    module.attach = [] { ++attaches; };
    module.detach = [] { ++detaches; };
    return module;
}

class CodecLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { attaches = detaches = 0; }
};

} // namespace

TEST_F(CodecLibraryTest, LoadsOnceAndResolvesInOrder) {
    ASSERT_TRUE(RegisterBuiltinModule(Codec("CodecA.dll", true)));
    CodecLibrary library("CodecA.dll", kNames, 3, 2);
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(library.Export(0), nullptr);
    EXPECT_EQ(library.Load(), 1);
    EXPECT_EQ(library.Load(), 1);
    EXPECT_EQ(BuiltinModuleLoadAttempts("CodecA.dll"), 1);
    EXPECT_EQ(attaches, 1);
    EXPECT_EQ(library.Call<int (*)()>(1), 2);
    EXPECT_EQ(library.Export(2), nullptr); // optional and not offered
    EXPECT_EQ(library.Export(3), nullptr);
}

TEST_F(CodecLibraryTest, MissingLibraryIsTriedOnce) {
    CodecLibrary library("CodecMissing.dll", kNames, 3, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(library.Call<int (*)()>(0), 0);
    EXPECT_TRUE(library.Failed());
    EXPECT_EQ(BuiltinModuleLoadAttempts("CodecMissing.dll"), 1);
    // Registered later, it stays unavailable to this binding.
    ASSERT_TRUE(RegisterBuiltinModule(Codec("CodecMissing.dll", true)));
    EXPECT_EQ(library.Load(), 0);
    EXPECT_EQ(BuiltinModuleLoadAttempts("CodecMissing.dll"), 1);
}

TEST_F(CodecLibraryTest, MissingRequiredExportUnloadsForGood) {
    ASSERT_TRUE(RegisterBuiltinModule(Codec("CodecShort.dll", false)));
    CodecLibrary library("CodecShort.dll", kNames, 3, 2);
    EXPECT_EQ(library.Load(), 0);
    EXPECT_EQ(attaches, 1);
    EXPECT_EQ(detaches, 1); // freed again
    EXPECT_EQ(library.Export(0), nullptr);
    EXPECT_TRUE(UnregisterBuiltinModule("CodecShort.dll")); // nobody holds it
    ASSERT_TRUE(RegisterBuiltinModule(Codec("CodecShort.dll", true)));
    EXPECT_EQ(library.Call<int (*)()>(0), 0);
    EXPECT_EQ(attaches, 1);
}

TEST_F(CodecLibraryTest, LoadedFromTheFolderWhenOneIsSet) {
    ASSERT_TRUE(RegisterBuiltinModule(Codec("CodecFolder.dll", true)));
    std::snprintf(g_szCodecLibraryFolder, MAX_PATH, "%s", "C:\\codecs");
    CodecLibrary library("CodecFolder.dll", kNames, 2, 2);
    EXPECT_EQ(library.Load(), 1);
    g_szCodecLibraryFolder[0] = '\0';
    EXPECT_EQ(BuiltinModuleLoadAttempts("C:\\codecs\\CodecFolder.dll"), 1);
}

TEST_F(CodecLibraryTest, FirstCallsFromManyThreadsLoadOnce) {
    ASSERT_TRUE(RegisterBuiltinModule(Codec("CodecRace.dll", true)));
    CodecLibrary library("CodecRace.dll", kNames, 2, 2);
    std::vector<std::thread> threads;
    std::vector<int> results(8, 0);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { results[size_t(i)] = library.Call<int (*)()>(0); });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(results, std::vector<int>(8, 1));
    EXPECT_EQ(BuiltinModuleLoadAttempts("CodecRace.dll"), 1);
    EXPECT_EQ(attaches, 1);
}
