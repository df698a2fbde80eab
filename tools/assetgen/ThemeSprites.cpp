// The table's animated sprites (whole frames, magenta transparent) and its
// sounds.

#include "tools/assetgen/GifWriter.h"
#include "tools/assetgen/ThemeArt.h"
#include "tools/assetgen/ThemePictures.h"
#include "tools/assetgen/WaveWriter.h"

#include <cmath>

namespace theme_pictures {

using namespace theme_art;
using platform::PixelImage;

namespace {

// A red ribbon with a gold word that swells in and settles.
std::vector<GifFrame> RibbonFrames(const char* word) {
    std::vector<GifFrame> frames;
    const int sizes[] = {18, 24, 30, 36, 34, 32, 32, 32};
    for (size_t i = 0; i < std::size(sizes); ++i) {
        Canvas canvas(180, 64);
        canvas.Fill(0, 0, 180, 64, kKey);
        const int inset = 24 - int(i) * 3 > 0 ? 24 - int(i) * 3 : 0;
        canvas.RoundBox(inset, 8, 180 - inset, 56, 20, RGB(170, 30, 28), kGold);
        canvas.CentredText(RECT{0, 8, 180, 56}, word, sizes[i], kGold, 700);
        frames.push_back(GifFrame{canvas.Image(), i + 1 == std::size(sizes) ? 120 : 6});
    }
    return frames;
}

// The flash over a seat that has just taken a mark: a gold star that bursts
// out and turns a little; the sprite goes after one pass.
std::vector<GifFrame> SparkleFrames() {
    std::vector<GifFrame> frames;
    const int radii[] = {6, 10, 14, 18, 22, 25, 27, 28};
    for (size_t i = 0; i < std::size(radii); ++i) {
        Canvas canvas(64, 64);
        canvas.Fill(0, 0, 64, 64, kKey);
        POINT star[16];
        const double turn = double(i) * M_PI / 32;
        for (int p = 0; p < 16; ++p) {
            const double radius = (p % 2 == 0) ? radii[i] : radii[i] * 0.38;
            const double angle = turn + p * M_PI / 8;
            star[p] = POINT{32 + LONG(std::lround(radius * std::sin(angle))),
                            32 - LONG(std::lround(radius * std::cos(angle)))};
        }
        canvas.Polygon(star, 16, RGB(255, 214, 90), kGold);
        canvas.Oval(28, 28, 36, 36, RGB(255, 250, 220), RGB(255, 250, 220));
        frames.push_back(GifFrame{canvas.Image(), 5});
    }
    return frames;
}

// "Waiting" with its dots running.
std::vector<GifFrame> WaitingFrames() {
    std::vector<GifFrame> frames;
    const char* const texts[] = {"等待中", "等待中.", "等待中..", "等待中..."};
    for (const char* text : texts) {
        Canvas canvas(140, 40);
        canvas.Fill(0, 0, 140, 40, kKey);
        canvas.RoundBox(0, 0, 140, 40, 16, RGB(20, 60, 36), kGold);
        canvas.Text(26, 11, text, 18, kGold, 700);
        frames.push_back(GifFrame{canvas.Image(), 40});
    }
    return frames;
}

// The turn clock's hand sweeping once round the face, twelve steps a second.
std::vector<GifFrame> ClockHandFrames() {
    std::vector<GifFrame> frames;
    for (int step = 0; step < 12; ++step) {
        Canvas canvas(56, 56);
        canvas.Fill(0, 0, 56, 56, kKey);
        const double angle = step * M_PI / 6;
        const int tipX = 28 + int(std::lround(16 * std::sin(angle)));
        const int tipY = 30 - int(std::lround(16 * std::cos(angle)));
        canvas.Line(28, 30, tipX, tipY, RGB(200, 24, 24), 3);
        canvas.Oval(25, 27, 32, 34, RGB(60, 20, 10), RGB(60, 20, 10));
        frames.push_back(GifFrame{canvas.Image(), 8});
    }
    return frames;
}

} // namespace

bool SpriteGifs(const std::string& folder) {
    struct Ribbon {
        const char* file;
        const char* word;
    };
    const Ribbon ribbons[] = {
        {"prepoint", "预点"}, {"openpoint", "明点"}, {"shuffle", "洗牌"}, {"revolution", "革命"},
        {"tribute", "进贡"},  {"first", "头科"},     {"shao1", "烧牌"},   {"shao2", "二烧"},
        {"shao3", "三烧"},    {"chuan", "串三户"},   {"win", "胜利"},     {"lose", "失败"},
        {"exchange", "兑换"}, {"upgrade", "升级"},
    };
    for (const Ribbon& ribbon : ribbons) {
        if (!WriteAnimatedGif(folder + "/gif_" + ribbon.file + ".gif", RibbonFrames(ribbon.word)))
            return false;
    }
    return WriteAnimatedGif(folder + "/gif_mark.gif", SparkleFrames()) &&
           WriteAnimatedGif(folder + "/gif_wait.gif", WaitingFrames()) &&
           WriteAnimatedGif(folder + "/gif_clock.gif", ClockHandFrames());
}

bool TableSounds(const std::string& folder) {
    struct Sound {
        const char* name;
        std::vector<Note> notes;
    };
    const double C5 = 523.3, E5 = 659.3, G5 = 784.0, C6 = 1046.5, A4 = 440.0, F4 = 349.2;
    const std::vector<Sound> sounds = {
        {"button", {{1200, 40, 0.5}}},
        {"coin", {{1568, 60, 0.5}, {2093, 120, 0.5}}},
        {"draw", {{0, 30, 0.3}}},
        {"fapai0", {{0, 25, 0.35}}},
        {"giveup", {{G5, 120, 0.5}, {E5, 120, 0.5}, {C5, 200, 0.5}}},
        {"loss", {{A4, 200, 0.5}, {F4, 200, 0.5}, {F4 / 2, 400, 0.5}}},
        {"notrust", {{E5, 80, 0.5}, {C5, 120, 0.5}}},
        {"openpoint", {{C5, 80, 0.5}, {G5, 160, 0.5}}},
        {"pass", {{A4, 150, 0.4}}},
        {"prompt", {{C6, 60, 0.4}, {C6, 60, 0.4}}},
        {"rang", {{E5, 100, 0.45}, {G5, 100, 0.45}}},
        {"revolution", {{C5, 90, 0.5}, {E5, 90, 0.5}, {G5, 90, 0.5}, {C6, 250, 0.5}}},
        {"shao", {{0, 60, 0.4}, {G5, 150, 0.5}}},
        {"start", {{C5, 100, 0.5}, {G5, 180, 0.5}}},
        {"takeout2", {{0, 35, 0.45}}},
        {"takeout5", {{0, 35, 0.45}, {E5, 80, 0.35}}},
        {"takeout6", {{0, 35, 0.45}, {G5, 100, 0.4}}},
        {"timerout", {{880, 80, 0.5}, {0, 40, 0.0}, {880, 80, 0.5}}},
        {"touke", {{C5, 100, 0.5}, {E5, 100, 0.5}, {G5, 100, 0.5}, {C6, 300, 0.5}}},
        {"trust", {{C5, 80, 0.5}, {E5, 120, 0.5}}},
        {"win", {{G5, 120, 0.5}, {C6, 120, 0.5}, {E5 * 2, 300, 0.5}}},
        {"wrong", {{220, 180, 0.5}}},
        {"xipai", {{0, 300, 0.3}}},
    };
    for (const Sound& sound : sounds) {
        if (!WriteWave(folder + "/" + sound.name + ".wav", sound.notes))
            return false;
    }
    return BackgroundMusic(folder);
}

bool BackgroundMusic(const std::string& folder) {
    // A quiet pentatonic tune of eight bars (about twelve seconds) that the
    // music player loops; the shipped settings name it in [BackMusic].
    const double C4 = 261.6, D4 = 293.7, E4 = 329.6, G4 = 392.0, A4 = 440.0, C5 = 523.3, D5 = 587.3,
                 E5 = 659.3;
    const double tune[] = {E4, G4, A4, C5, A4, G4, E4, D4, C4, D4, E4, G4, E4, D4, C4, C4,
                           A4, C5, D5, E5, D5, C5, A4, G4, E4, G4, A4, G4, E4, D4, C4, C4};
    std::vector<Note> notes;
    for (double frequency : tune)
        notes.push_back({frequency, 375, 0.25});
    return WriteWave(folder + "/pastorale.wav", notes);
}

} // namespace theme_pictures
