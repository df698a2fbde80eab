#include "sprite/SpriteImage.h"

RECT CSpriteImage::GetRect(SPRITEINFO* pSprite, int) {
    const SIZE size = GetSize(pSprite);
    return RECT{0, 0, size.cx, size.cy};
}

CSpriteImageList::~CSpriteImageList() {
    POSITION pos = m_list.GetHeadPosition();
    while (pos)
        delete static_cast<CSpriteImage*>(m_list.GetNext(pos));
    m_list.RemoveAll();
}

POSITION CSpriteImageList::Find(int nId, CSpriteImage** ppImage) const {
    for (POSITION pos = m_list.GetHeadPosition(); pos;) {
        POSITION here = pos;
        auto* image = static_cast<CSpriteImage*>(m_list.GetNext(pos));
        if (image->m_nId == nId) {
            if (ppImage)
                *ppImage = image;
            return here;
        }
    }
    if (ppImage)
        *ppImage = nullptr;
    return nullptr;
}

int CSpriteImageList::AddRef(POSITION pos) {
    CSpriteImage* image = GetAt(pos);
    return image ? image->AddRef() : 0;
}

int CSpriteImageList::Release(POSITION pos) {
    CSpriteImage* image = GetAt(pos);
    if (!image)
        return 0;
    const int count = image->Release();
    if (count == 0 && image->m_bAutoFree) {
        m_list.RemoveAt(pos);
        delete image;
    }
    return count;
}
