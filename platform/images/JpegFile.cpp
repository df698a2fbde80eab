#include "platform/images/JpegFile.h"

#include "platform/system/FileIo.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace platform {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: jump
// back to the call that started the work, keeping the message.
struct ErrorTrap {
    jpeg_error_mgr manager;
    jmp_buf back;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void JumpBack(j_common_ptr info) {
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
    info->err->format_message(info, trap->message);
    longjmp(trap->back, 1);
}

// Warnings are not printed; the one that says the data ended early is kept,
// because libjpeg would otherwise hand back a picture padded with grey.
void NoteWarning(j_common_ptr info, int level) {
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        trap->truncated = true;
}

// A progressive picture's scans each walk every block of it: past the bound
// the decoding ends as an error does.
void CountScans(j_common_ptr info) {
    const auto* decoding = reinterpret_cast<j_decompress_ptr>(info);
    if (decoding->input_scan_number <= kMaxJpegScans)
        return;
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
    std::snprintf(trap->message, sizeof trap->message, "more than %d scans", kMaxJpegScans);
    longjmp(trap->back, 1);
}

void InstallTrap(ErrorTrap& trap, jpeg_common_struct* info) {
    info->err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JumpBack;
    trap.manager.emit_message = NoteWarning;
    trap.message[0] = '\0';
    trap.truncated = false;
}

// The parts of decoding that may jump; objects with destructors stay outside.
bool DecodeInto(jpeg_decompress_struct& info, ErrorTrap& trap, const void* data, size_t size,
                PixelImage& image, std::string* error) {
    if (setjmp(trap.back))
        return RefusePicture(error, std::string("JPEG picture broken: ") + trap.message);
    jpeg_mem_src(&info, static_cast<const unsigned char*>(data), (unsigned long)size);
    jpeg_read_header(&info, TRUE);
    if (!ImageSizeAllowed(info.image_width, info.image_height))
        return RefusePicture(error, "picture size out of range");
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    image.Reset(int(info.output_width), int(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&image.At(0, int(info.output_scanline)));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (trap.truncated)
        return RefusePicture(error, "JPEG picture truncated");
    return true;
}

bool EncodeInto(jpeg_compress_struct& info, ErrorTrap& trap, const PixelView& view, int quality,
                unsigned char** buffer, unsigned long* length, std::string* error) {
    if (setjmp(trap.back))
        return RefusePicture(error, std::string("JPEG encoding failed: ") + trap.message);
    jpeg_mem_dest(&info, buffer, length);
    info.image_width = JDIMENSION(view.width);
    info.image_height = JDIMENSION(view.height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(view.Row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

bool DecodeJpeg(const void* data, size_t size, PixelImage& image, std::string* error) {
    if (size == 0)
        return RefusePicture(error, "not a JPEG picture");
    jpeg_decompress_struct info;
    ErrorTrap trap;
    InstallTrap(trap, reinterpret_cast<jpeg_common_struct*>(&info));
    jpeg_create_decompress(&info);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = CountScans;
    info.progress = &progress;
    PixelImage decoded;
    bool ok = DecodeInto(info, trap, data, size, decoded, error);
    jpeg_destroy_decompress(&info);
    if (!ok)
        return false;
    for (uint32_t& p : decoded.pixels)
        p &= 0xFFFFFF;
    decoded.hasAlpha = false;
    image = std::move(decoded);
    return true;
}

bool EncodeJpeg(const PixelView& view, int quality, std::string& file, std::string* error) {
    if (view.IsEmpty())
        return RefusePicture(error, "empty picture");
    quality = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    jpeg_compress_struct info;
    ErrorTrap trap;
    InstallTrap(trap, reinterpret_cast<jpeg_common_struct*>(&info));
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    bool ok = EncodeInto(info, trap, view, quality, &buffer, &length, error);
    jpeg_destroy_compress(&info);
    if (ok)
        file.assign(reinterpret_cast<const char*>(buffer), length);
    std::free(buffer);
    return ok;
}

bool SaveJpegFile(const std::string& path, const PixelView& view, int quality, std::string* error) {
    std::string bytes;
    if (!EncodeJpeg(view, quality, bytes, error))
        return false;
    return WriteFileAtomically(path, bytes) || RefusePicture(error, "file cannot be written");
}

bool SaveJpegFile(const std::string& path, const Surface& surface, int quality,
                  std::string* error) {
    PixelImage image = ImageOfSurface(surface);
    return SaveJpegFile(path, image.View(), quality, error);
}

} // namespace platform
