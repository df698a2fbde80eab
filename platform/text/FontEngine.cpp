#include "platform/text/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace platform {

// One face of a font file, with its own FreeType library so that faces never
// share FreeType state; the mutex guards both.
class FontFace {
public:
    static std::shared_ptr<FontFace> Open(const std::string& path, long index) {
        auto face = std::shared_ptr<FontFace>(new FontFace);
        if (FT_Init_FreeType(&face->library) != 0) {
            face->library = nullptr;
            return nullptr;
        }
        if (FT_New_Face(face->library, path.c_str(), index, &face->face) != 0 ||
            !FT_IS_SCALABLE(face->face) || face->face->units_per_EM == 0) {
            face->face = nullptr;
            return nullptr;
        }
        face->ReadDesignMetrics();
        return face;
    }
    ~FontFace() {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
    long FaceCount() const { return face->num_faces; }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::mutex mutex;
    // Design units.
    double unitsPerEm = 0;
    double winAscent = 0;
    double winDescent = 0;
    double maxAdvance = 0;
    double underlinePosition = 0; // below the baseline, positive
    double underlineThickness = 0;
    double strikeoutPosition = 0;
    double strikeoutThickness = 0;

private:
    FontFace() = default;

    // Windows sizes cells by the OS/2 "win" ascent and descent; fall back on
    // the horizontal header when a font lacks them.
    void ReadDesignMetrics() {
        unitsPerEm = face->units_per_EM;
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
            winAscent = os2->usWinAscent;
            winDescent = os2->usWinDescent;
            strikeoutPosition = os2->yStrikeoutPosition;
            strikeoutThickness = os2->yStrikeoutSize;
        } else {
            winAscent = face->ascender;
            winDescent = -face->descender;
        }
        if (winAscent + winDescent <= 0) {
            winAscent = unitsPerEm * 0.86;
            winDescent = unitsPerEm * 0.14;
        }
        if (strikeoutPosition <= 0)
            strikeoutPosition = unitsPerEm * 0.25;
        if (strikeoutThickness <= 0)
            strikeoutThickness = unitsPerEm * 0.05;
        maxAdvance = face->max_advance_width;
        underlinePosition =
            face->underline_position < 0 ? -face->underline_position : unitsPerEm * 0.1;
        underlineThickness =
            face->underline_thickness > 0 ? face->underline_thickness : unitsPerEm * 0.05;
    }
};

namespace {

// The cell height Windows gives a font asked for with height 0.
constexpr int kDefaultCellHeight = 16;
// Synthetic italic leans the glyphs by this much per pixel of height.
constexpr double kItalicSlant = 0.2;

const GlyphImage& EmptyGlyph() {
    static const GlyphImage empty;
    return empty;
}

int Round(double value) {
    return int(std::lround(value));
}

// Widens a glyph by one column, each pixel taking the stronger of itself and
// its left neighbour: the synthetic bold Windows draws.
void Embolden(GlyphImage& glyph) {
    if (glyph.width == 0)
        return;
    int width = glyph.width + 1;
    std::vector<uint8_t> wide(size_t(width) * size_t(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const uint8_t* in = &glyph.coverage[size_t(y) * size_t(glyph.width)];
        uint8_t* out = &wide[size_t(y) * size_t(width)];
        for (int x = 0; x < width; ++x) {
            uint8_t here = x < glyph.width ? in[x] : 0;
            uint8_t left = x > 0 ? in[x - 1] : 0;
            out[x] = std::max(here, left);
        }
    }
    glyph.width = width;
    glyph.coverage = std::move(wide);
}

void CopyBitmap(const FT_Bitmap& bitmap, GlyphImage& glyph) {
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.coverage.assign(size_t(glyph.width) * size_t(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const uint8_t* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
        uint8_t* out = &glyph.coverage[size_t(y) * size_t(glyph.width)];
        for (int x = 0; x < glyph.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] >> (7 - (x & 7)) & 1) ? 255 : 0;
            else
                out[x] = row[x];
        }
    }
}

} // namespace

FontInstance::FontInstance(std::shared_ptr<FontFace> face, const FontRequest& request)
    : m_face(std::move(face)), m_request(request) {
    if (!m_face)
        return;
    const FontFace& f = *m_face;
    double cellUnits = f.winAscent + f.winDescent;
    double yPixels = 0;
    if (request.height < 0) {
        yPixels = -double(request.height);
        m_metrics.ascent = Round(f.winAscent * yPixels / f.unitsPerEm);
        m_metrics.descent = Round(f.winDescent * yPixels / f.unitsPerEm);
    } else {
        int cell = request.height > 0 ? request.height : kDefaultCellHeight;
        yPixels = cell * f.unitsPerEm / cellUnits;
        m_metrics.ascent = Round(f.winAscent * cell / cellUnits);
        m_metrics.descent = cell - m_metrics.ascent;
    }
    // Chinese fonts give a single-byte character half the width of a
    // double-byte one, so the average character width is half the em.
    double xPixels = request.width != 0 ? 2.0 * std::abs(request.width) : yPixels;
    m_metrics.height = m_metrics.ascent + m_metrics.descent;
    m_metrics.internalLeading = std::max(0, m_metrics.height - Round(yPixels));
    m_metrics.averageCharWidth = Round(xPixels / 2);
    m_metrics.maxCharWidth = Round(f.maxAdvance * xPixels / f.unitsPerEm) + (request.bold ? 1 : 0);
    m_metrics.underlinePosition = std::min(
        m_metrics.descent - 1, std::max(1, Round(f.underlinePosition * yPixels / f.unitsPerEm)));
    m_metrics.underlineThickness =
        std::max(1, Round(f.underlineThickness * yPixels / f.unitsPerEm));
    m_metrics.strikeoutPosition = Round(f.strikeoutPosition * yPixels / f.unitsPerEm);
    m_metrics.strikeoutThickness = m_metrics.underlineThickness;
    m_xScale = std::lround(xPixels * 64);
    m_yScale = std::lround(yPixels * 64);

    std::lock_guard lock(m_face->mutex);
    FT_Size size = nullptr;
    if (FT_New_Size(m_face->face, &size) != 0) {
        m_face.reset();
        m_metrics = FontMetrics{};
        return;
    }
    m_size = size;
    FT_Activate_Size(size);
    FT_Set_Char_Size(m_face->face, m_xScale, m_yScale, 72, 72);
}

FontInstance::~FontInstance() {
    if (m_face && m_size) {
        std::lock_guard lock(m_face->mutex);
        FT_Done_Size(static_cast<FT_Size>(m_size));
    }
}

const GlyphImage& FontInstance::Glyph(char32_t code) {
    if (!m_face)
        return EmptyGlyph();
    std::lock_guard lock(m_mutex);
    std::unique_ptr<GlyphImage>& slot = code < 128 ? m_ascii[code] : m_others[code];
    if (!slot) {
        slot = std::make_unique<GlyphImage>();
        Render(code, *slot);
    }
    return *slot;
}

void FontInstance::Render(char32_t code, GlyphImage& glyph) {
    std::lock_guard lock(m_face->mutex);
    FT_Face face = m_face->face;
    FT_Activate_Size(static_cast<FT_Size>(m_size));
    FT_UInt index = FT_Get_Char_Index(face, code);
    FT_Int32 flags =
        FT_LOAD_NO_BITMAP | (m_request.antialiased ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(face, index, flags) != 0)
        return;
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = int((slot->advance.x + 32) >> 6);
    if (m_request.italic && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Lean around the middle of the cell, so the slant spills out of the
        // glyph's box as little as possible on either side.
        FT_Matrix shear{0x10000, FT_Fixed(kItalicSlant * 0x10000), 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
        double middle = (m_metrics.ascent - m_metrics.descent) / 2.0;
        FT_Outline_Translate(&slot->outline, -FT_Pos(std::lround(kItalicSlant * middle * 64)), 0);
    }
    if (FT_Render_Glyph(slot,
                        m_request.antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    CopyBitmap(slot->bitmap, glyph);
    if (m_request.bold) {
        Embolden(glyph);
        glyph.advance += 1;
    }
}

namespace {
// Debian's fonts-arphic-ukai.
const char* const kKaiFontFile = "/usr/share/fonts/truetype/arphic/ukai.ttc";
} // namespace

FontEngine::FontEngine(std::vector<std::string> candidates) {
    for (const std::string& path : candidates) {
        m_proportional = FontFace::Open(path, 0);
        if (!m_proportional)
            continue;
        m_file = path;
        if (m_proportional->FaceCount() > 1)
            m_fixed = FontFace::Open(path, 1);
        break;
    }
    if (!m_fixed)
        m_fixed = m_proportional;
    // Only the system's own Kai font; an engine built for a given file (tests)
    // keeps to it.
    if (m_proportional && candidates == DefaultCandidates())
        m_kai = FontFace::Open(kKaiFontFile, 0);
}

FontEngine::~FontEngine() = default;

FontEngine& FontEngine::Default() {
    static FontEngine* engine = new FontEngine(DefaultCandidates()); // outlives static destructors
    return *engine;
}

std::vector<std::string> FontEngine::DefaultCandidates() {
    std::vector<std::string> candidates = {
        "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
        "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
        "/usr/share/fonts/truetype/arphic/uming.ttc",
    };
    for (const std::string& path : candidates) {
        std::error_code error;
        if (std::filesystem::exists(path, error))
            return candidates;
    }
    // Any other outline font, for a machine without a Chinese one: Latin text
    // still shows.
    std::vector<std::string> others;
    for (const char* folder : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            std::string extension = it->path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
            if (extension == ".ttf" || extension == ".ttc" || extension == ".otf")
                others.push_back(it->path().string());
        }
    }
    std::sort(others.begin(), others.end());
    candidates.insert(candidates.end(), others.begin(), others.end());
    return candidates;
}

std::shared_ptr<FontInstance> FontEngine::Instance(const FontRequest& request) {
    std::lock_guard lock(m_mutex);
    std::shared_ptr<FontInstance>& instance = m_instances[request];
    if (!instance)
        instance = std::make_shared<FontInstance>(request.fixedPitch     ? m_fixed
                                                  : request.kai && m_kai ? m_kai
                                                                         : m_proportional,
                                                  request);
    return instance;
}

} // namespace platform
