#include "tools/assetgen/GifWriter.h"

#include <gif_lib.h>

#include <cstdio>

namespace {

constexpr int kTransparentIndex = 255;

// 6 x 7 x 6 levels of red, green and blue, then magenta.
int CubeIndex(uint32_t p) {
    const int r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
    return ((r * 5 + 127) / 255) * 42 + ((g * 6 + 127) / 255) * 6 + (b * 5 + 127) / 255;
}

void CubePalette(GifColorType* colours) {
    for (int i = 0; i < 256; ++i)
        colours[i] = GifColorType{0, 0, 0};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                colours[r * 42 + g * 6 + b] = GifColorType{
                    GifByteType(r * 51), GifByteType(g * 255 / 6), GifByteType(b * 51)};
    colours[kTransparentIndex] = GifColorType{255, 0, 255};
}

bool Write(const std::string& path, const std::vector<GifFrame>& frames) {
    if (frames.empty())
        return false;
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) {
        fprintf(stderr, "assetgen: cannot write %s: %s\n", path.c_str(), GifErrorString(error));
        return false;
    }
    EGifSetGifVersion(gif, true);
    GifColorType colours[256];
    CubePalette(colours);
    ColorMapObject* map = GifMakeMapObject(256, colours);
    const int w = frames.front().picture.width, h = frames.front().picture.height;
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
    // Loop for ever.
    const unsigned char loop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<size_t>(w));
    for (const GifFrame& frame : frames) {
        if (!ok)
            break;
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.DelayTime = frame.delay;
        control.TransparentColor = kTransparentIndex;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t p = frame.picture.At(x, y) & 0x00FFFFFFu;
                row[size_t(x)] =
                    p == 0x00FF00FFu ? GifPixelType(kTransparentIndex) : GifPixelType(CubeIndex(p));
            }
            ok = EGifPutLine(gif, row.data(), w) == GIF_OK;
        }
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    if (!ok)
        fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return ok;
}

} // namespace

bool WriteAnimatedGif(const std::string& path, const std::vector<GifFrame>& frames) {
    return Write(path, frames);
}
