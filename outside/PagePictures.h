#pragma once

// The pictures of one page, on the page's layout thread. Each picture is
// decoded whole as it arrives and, once the page has been laid out with its
// size, kept only at the size the page draws it (its own size at most): a
// picture of 4096 x 4096 pixels drawn as a 48-pixel icon keeps 48 x 48. What
// is kept has a budget; pictures that would pass it are refused, and the
// page with them.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelImage.h"

#include <map>
#include <memory>
#include <string>

class PagePictures {
public:
    struct Picture {
        int width = 0; // its own size, which the layout uses
        int height = 0;
        HBITMAP kept = nullptr; // as drawn; premultiplied when it has alpha
        int keptWidth = 0;
        int keptHeight = 0;
        bool alpha = false;
        std::unique_ptr<platform::PixelImage> decoded; // whole, until kept

        Picture() = default;
        Picture(const Picture&) = delete;
        Picture& operator=(const Picture&) = delete;
        ~Picture();
    };

    explicit PagePictures(size_t budgetBytes) : m_budget(budgetBytes) {}

    // True the first time a picture is named: it is then to be fetched.
    bool Ask(const std::string& url);
    // The arrived bytes, decoded whole until the next Keep; false (and why)
    // for bytes that are no picture we read.
    bool Decode(const std::string& url, const std::string& bytes, std::string* why);
    // A picture that has been decoded, or null.
    const Picture* Find(const std::string& url) const;

    // After a layout, given the largest size at which the page draws each
    // picture (one it does not name is kept whole, as backgrounds are): the
    // pictures decoded since the last call are kept at that size, and their
    // whole decodings let go. False when more than the budget would be kept.
    bool Keep(const std::map<std::string, SIZE>& drawn);
    size_t KeptBytes() const;
    size_t Budget() const { return m_budget; }

    // The picture shrunk to width x height (each at most its own), each new
    // pixel the average of those it covers.
    static platform::PixelImage Shrink(const platform::PixelImage& image, int width, int height);

private:
    std::map<std::string, Picture> m_pictures; // asked for, decoded or kept
    size_t m_budget;
};
