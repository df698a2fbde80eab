#pragma once

// A program folder of its own for the theme and layout tests: settings,
// theme files and pictures written on demand, the log kept apart.

#include "platform/images/BmpFile.h"
#include "platform/system/FileIo.h"
#include "platform/system/Path.h"
#include "sprite/AppServices.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace sprite_test {

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // One folder per test and process: ctest runs each test alone and
        // in the shuffled whole-program runs at the same time.
        folder = std::string(SPRITE_TEST_OUTPUT_DIR) + "/program_" + info->test_suite_name() + "_" +
                 info->name() + "_" + std::to_string(getpid()) + "/";
        CreateDirectory(SPRITE_TEST_OUTPUT_DIR, nullptr);
        CreateDirectory(folder.c_str(), nullptr);
        CreateDirectory((folder + "Theme").c_str(), nullptr);
        logFile = folder + "test.log";
        DeleteFile(logFile.c_str());
        SetExeFolderOverride(folder.c_str());
        SetLogFileOverride(logFile.c_str());
    }
    void TearDown() override {
        SetExeFolderOverride(nullptr);
        SetLogFileOverride(nullptr);
        // A failed test's folder stays to be looked at.
        if (!HasFailure())
            std::filesystem::remove_all(folder);
    }

    void Write(const std::string& name, const std::string& text) {
        ASSERT_TRUE(WriteFileAtomically(folder + name, text)) << name;
    }
    // A picture whose pixels come from a function of (x, y) -> 0x00RRGGBB.
    template <typename Pixel>
    void WritePicture(const std::string& name, int w, int h, Pixel pixel) {
        platform::PixelImage image;
        image.Reset(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.At(x, y) = pixel(x, y);
        ASSERT_TRUE(platform::SaveBmpFile(folder + name, image, platform::BmpFormat::Rgb24));
    }
    std::string Log() const {
        std::string text;
        ReadWholeFile(logFile, text, size_t(1) << 30);
        return text;
    }

    std::string folder;
    std::string logFile;
};

} // namespace sprite_test
