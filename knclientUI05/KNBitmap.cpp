// CKNBitmap: lifetime, palettes, DIBs and the loads from resources and files.

#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/DibCheck.h"

#include "knclientUI05/PictureRender.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/KNpubText.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"
#include "platform/window/Wnd.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Screens of more than 256 colours have no use for a palette.
bool ScreenIsPaletteBased() {
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits <= 8;
}

void DeletePalette(CKNBitmap& bitmap) {
    if (bitmap.m_hPalette)
        ::DeleteObject(bitmap.m_hPalette);
    bitmap.m_hPalette = nullptr;
}

void ReplaceBitmap(CKNBitmap& held, HBITMAP bitmap) {
    held.DeleteObject();
    held.Attach(bitmap);
}

BOOL CreateFromChecked(CKNBitmap& held, const CheckedDib& dib) {
    held.DeleteObject();
    DeletePalette(held);
    held.CreatePaletteFromDib(dib.Info());
    HDC screen = GetDC(nullptr);
    HPALETTE oldPalette = nullptr;
    if (held.m_hPalette) {
        oldPalette = ::SelectPalette(screen, held.m_hPalette, FALSE);
        ::RealizePalette(screen);
    }
    HBITMAP bitmap =
        CreateDIBitmap(screen, &dib.Header(), CBM_INIT, dib.bits, dib.Info(), DIB_RGB_COLORS);
    if (oldPalette) {
        ::SelectPalette(screen, oldPalette, FALSE);
        ::RealizePalette(screen);
    }
    ReleaseDC(nullptr, screen);
    if (!bitmap) {
        DebugTrace("DIB refused: its pixels do not decode");
        return FALSE;
    }
    held.Attach(bitmap);
    return TRUE;
}

} // namespace

IMPLEMENT_DYNAMIC(CKNBitmap, CBitmap)

CKNBitmap::~CKNBitmap() {
    DeletePalette(*this);
    DeleteObject();
}

void CKNBitmap::CreatePaletteFromDib(const BITMAPINFO* info) {
    if (!info)
        return;
    int colors = DibColorEntries(info->bmiHeader);
    m_nColors = colors < 0 ? 0 : colors;
    if (m_nColors == 0 || !ScreenIsPaletteBased())
        return;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * size_t(m_nColors));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(m_nColors);
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) +
                                                         info->bmiHeader.biSize);
    for (int i = 0; i < m_nColors; ++i)
        palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    m_hPalette = CreatePalette(palette);
}

BOOL CKNBitmap::CreateFromDib(const BITMAPINFO* dib, BOOL) {
    // The caller's block has no stated length: the header's own fields are
    // checked and the block is trusted to hold what they describe.
    CheckedDib checked;
    if (!CheckPackedDib(dib, SIZE_MAX / 2, checked))
        return FALSE;
    return CreateFromChecked(*this, checked);
}

BOOL CKNBitmap::CreateFromDib(const void* dib, size_t size) {
    CheckedDib checked;
    if (!CheckPackedDib(dib, size, checked))
        return FALSE;
    return CreateFromChecked(*this, checked);
}

BOOL CKNBitmap::LoadBitmap(LPCSTR name, BOOL palette) {
    if (!palette)
        return LoadBitmap(AfxFindResourceHandle(name, RT_BITMAP), name, FALSE);
    return LoadBitmap(AfxGetResourceHandle(), name, TRUE);
}

BOOL CKNBitmap::LoadBitmap(HINSTANCE module, LPCSTR name, BOOL palette) {
    if (!palette) {
        HBITMAP bitmap = ::LoadBitmap(module, name);
        if (!bitmap)
            return FALSE;
        ReplaceBitmap(*this, bitmap);
        return TRUE;
    }
    HRSRC resource = FindResource(module, name, RT_BITMAP);
    if (!resource)
        return FALSE;
    HGLOBAL data = LoadResource(module, resource);
    const void* bytes = LockResource(data);
    BOOL result = bytes && CreateFromDib(bytes, SizeofResource(module, resource));
    FreeResource(data);
    return result;
}

BOOL CKNBitmap::LoadBitmap(UINT id, BOOL palette) {
    return LoadBitmap(MAKEINTRESOURCE(id), palette);
}

BOOL CKNBitmap::LoadBmpFile(LPCSTR path, BOOL, DWORD offset, DWORD length) {
    if (!path)
        return FALSE;
    if (!StrStrNoCase(path, ".bmp"))
        return LoadPictureFile(path);
    std::string bytes;
    if (!ReadWholeFile(NativePath(path), bytes, platform::kMaxPictureFileBytes))
        return FALSE;
    // An offset past the end, or a length past it, asks for bytes that are
    // not there.
    if (offset > bytes.size())
        return FALSE;
    size_t available = bytes.size() - offset;
    size_t take = length == 0 ? available : length;
    if (take > available)
        return FALSE;
    CheckedDib checked;
    if (!CheckBmpFile(bytes.data() + offset, take, checked))
        return FALSE;
    return CreateFromChecked(*this, checked);
}

BOOL CKNBitmap::LoadPictureFile(LPCSTR path) {
    // A file that cannot be read leaves the object as it was; once it is
    // read the held bitmap goes, so a picture that fails leaves none.
    std::string bytes;
    if (!path || !ReadWholeFile(NativePath(path), bytes, platform::kMaxPictureFileBytes))
        return FALSE;
    DeleteObject();
    HBITMAP bitmap = RenderPicture(bytes.data(), bytes.size());
    if (!bitmap)
        return FALSE;
    Attach(bitmap);
    return TRUE;
}

BOOL CKNBitmap::GetSize(SIZE* size) const {
    BITMAP bm;
    if (!m_hObject || !size || !GetBitmap(&bm))
        return FALSE;
    *size = {bm.bmWidth, bm.bmHeight};
    return TRUE;
}

void CKNBitmap::SelectPalette(CDC* dc, BOOL forceBackground) {
    if (!m_hPalette || !dc)
        return;
    ::SelectPalette(*dc, m_hPalette, forceBackground);
    ::RealizePalette(*dc);
}

void CKNBitmap::RealizePalette(CWnd* wnd, CDC* dc, BOOL forceBackground) {
    if (!m_hPalette)
        return;
    if (dc) {
        SelectPalette(dc, forceBackground);
        return;
    }
    if (!wnd || !wnd->GetSafeHwnd())
        return;
    HDC windowDc = GetDC(wnd->GetSafeHwnd());
    if (!windowDc)
        return;
    ::SelectPalette(windowDc, m_hPalette, forceBackground);
    ::RealizePalette(windowDc);
    ReleaseDC(wnd->GetSafeHwnd(), windowDc);
}

HBITMAP LoadPictureResource(HINSTANCE module, LPCSTR name, LPCSTR type) {
    if (!module)
        module = AfxGetResourceHandle();
    HRSRC resource = FindResource(module, name, type);
    if (!resource)
        return nullptr;
    HGLOBAL data = LoadResource(module, resource);
    const void* bytes = LockResource(data);
    HBITMAP bitmap = bytes ? RenderPicture(bytes, SizeofResource(module, resource)) : nullptr;
    FreeResource(data);
    return bitmap;
}

HBITMAP LoadPictureResourceById(HINSTANCE module, UINT id, LPCSTR type) {
    return LoadPictureResource(module, MAKEINTRESOURCE(WORD(id)), type);
}

HBITMAP LoadImageResource(HINSTANCE module, LPCSTR name, int kind) {
    switch (kind) {
    case 0:
        return ::LoadBitmap(module, name);
    case 1:
        return LoadPictureResource(module, name, "JPG");
    case 2:
        return LoadPictureResource(module, name, "JPEG");
    case 3:
        return LoadPictureResource(module, name, "GIF");
    default:
        return nullptr;
    }
}

HBITMAP LoadImageResourceById(HINSTANCE module, UINT id, int kind) {
    return LoadImageResource(module, MAKEINTRESOURCE(WORD(id)), kind);
}
