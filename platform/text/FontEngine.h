#pragma once

// Fonts over FreeType. Every face name the program asks for is drawn with the
// installed CJK font (one proportional face and, when the file has one, a
// fixed-pitch face); sizes follow the Windows rules for a LOGFONT height, and
// bold and italic are made synthetically when the file has no such face.
//
// Glyphs are rendered once per font instance (face, size, style) and kept, so
// drawing a line of cached text is a table lookup and a blend per glyph.
// Without any usable font file every measure is 0 and drawing reports failure.

#include "platform/Types.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace platform {

struct GlyphImage {
    int advance = 0; // pen movement in pixels
    int left = 0;    // from the pen position to the first column
    int top = 0;     // from the baseline up to the first row
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage; // width x height, 0 (none) to 255 (full)
};

struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0; // ascent + descent: the cell
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int underlinePosition = 0; // rows below the baseline
    int underlineThickness = 0;
    int strikeoutPosition = 0; // rows above the baseline
    int strikeoutThickness = 0;
};

// What a LOGFONT asks for, reduced to what changes the pixels.
struct FontRequest {
    int height = 0; // LOGFONT rules: < 0 character height, > 0 cell height, 0 default
    int width = 0;  // average character width, 0 = natural
    bool bold = false;
    bool italic = false;
    bool fixedPitch = false;
    bool antialiased = false;
    // The brush-script (Kai) faces, drawn with a Kai font when one is installed.
    bool kai = false;

    auto Key() const { return std::tie(height, width, bold, italic, fixedPitch, antialiased, kai); }
    bool operator<(const FontRequest& o) const { return Key() < o.Key(); }
};

class FontFace;

class FontInstance {
public:
    FontInstance(std::shared_ptr<FontFace> face, const FontRequest& request);
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    // False when no font file could be opened: measures are 0, nothing draws.
    bool Usable() const { return m_face != nullptr; }
    const FontMetrics& Metrics() const { return m_metrics; }
    const FontRequest& Request() const { return m_request; }
    // The cached glyph of a character (rendered on first use).
    const GlyphImage& Glyph(char32_t code);
    int Advance(char32_t code) { return Glyph(code).advance; }

private:
    void Render(char32_t code, GlyphImage& glyph);

    std::shared_ptr<FontFace> m_face;
    FontRequest m_request;
    FontMetrics m_metrics;
    void* m_size = nullptr; // FT_Size of this instance
    long m_xScale = 0;      // 26.6 pixel sizes
    long m_yScale = 0;
    std::mutex m_mutex;
    std::array<std::unique_ptr<GlyphImage>, 128> m_ascii;
    std::unordered_map<char32_t, std::unique_ptr<GlyphImage>> m_others;
};

class FontEngine {
public:
    // Font files are tried in order; a .ttc offers its first face as the
    // proportional one and its second (if any) as the fixed-pitch one.
    explicit FontEngine(std::vector<std::string> candidates);
    ~FontEngine();

    // The process-wide engine over the installed fonts.
    static FontEngine& Default();
    static std::vector<std::string> DefaultCandidates();

    bool HasFont() const { return m_proportional != nullptr; }
    const std::string& FontFile() const { return m_file; }
    // Instances are shared between requests that draw the same pixels.
    std::shared_ptr<FontInstance> Instance(const FontRequest& request);

private:
    std::string m_file;
    std::shared_ptr<FontFace> m_proportional;
    std::shared_ptr<FontFace> m_fixed;
    std::shared_ptr<FontFace> m_kai; // null without a Kai font: the proportional face serves
    std::mutex m_mutex;
    std::map<FontRequest, std::shared_ptr<FontInstance>> m_instances;
};

} // namespace platform
