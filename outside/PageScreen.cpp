// Screening markup with gumbo, the parser the layout uses.

#include "outside/PageScreen.h"

#include "outside/PageText.h"

#include <gumbo.h>
#include <litehtml/litehtml.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int64_t kMaxGridCells = 20000;

// Start tags: '<' followed by a letter. Every element the parser makes comes
// from one, or is implied by one.
int StartTags(const std::string& text) {
    int count = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        count += text[i] == '<' && std::isalpha(static_cast<unsigned char>(text[i + 1]));
    return count;
}

// A cell's span as its attribute gives it: HTML's own range is 1 to 1000
// (0 and nonsense count as 1); a larger one is reported as such.
long Span(const GumboNode* cell, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&cell->v.element.attributes, name);
    if (!attribute)
        return 1;
    const long span = strtol(attribute->value, nullptr, 10);
    return span < 1 ? 1 : std::min(span, 1000001L);
}

const GumboVector& Children(const GumboNode* node) {
    return node->v.element.children;
}

bool IsElement(const GumboNode* node, GumboTag tag) {
    return node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag;
}

// The cells a table's grid holds: its rows (with what its cells span below
// them) times its widest row; 0 when a cell spans more than HTML allows.
int64_t GridCells(const GumboNode* table) {
    int64_t rows = 0, widest = 0, below = 0;
    const auto row = [&](const GumboNode* tr) {
        int64_t width = 0;
        ++rows;
        for (unsigned k = 0; k < Children(tr).length; ++k) {
            const auto* cell = static_cast<const GumboNode*>(Children(tr).data[k]);
            if (!IsElement(cell, GUMBO_TAG_TD) && !IsElement(cell, GUMBO_TAG_TH))
                continue;
            width += Span(cell, "colspan");
            below = std::max(below, Span(cell, "rowspan") - 1);
        }
        widest = std::max(widest, width);
    };
    for (unsigned k = 0; k < Children(table).length; ++k) {
        const auto* part = static_cast<const GumboNode*>(Children(table).data[k]);
        if (IsElement(part, GUMBO_TAG_TR))
            row(part);
        else if (IsElement(part, GUMBO_TAG_TBODY) || IsElement(part, GUMBO_TAG_THEAD) ||
                 IsElement(part, GUMBO_TAG_TFOOT))
            for (unsigned j = 0; j < Children(part).length; ++j)
                if (const auto* tr = static_cast<const GumboNode*>(Children(part).data[j]);
                    IsElement(tr, GUMBO_TAG_TR))
                    row(tr);
    }
    return (rows + below) * widest;
}

struct Shape {
    int depth = 0;
    int64_t elements = 0;  // with those the parser implies
    int64_t pieces = 0;    // the words and blanks of the text
    int64_t gridCells = 0; // of all tables
};

// The deepest element, the elements and pieces of text the layout will
// make, and the tables' grids, walked without recursion.
Shape ShapeOf(const GumboNode* root) {
    Shape shape;
    std::vector<std::pair<const GumboNode*, int>> pending{{root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        shape.depth = std::max(shape.depth, depth);
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
            node->type == GUMBO_NODE_CDATA) {
            shape.pieces += int64_t(CountPagePieces(node->v.text.text, strlen(node->v.text.text)));
            continue;
        }
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) {
            ++shape.pieces; // a comment
            continue;
        }
        ++shape.elements;
        if (IsElement(node, GUMBO_TAG_TABLE))
            shape.gridCells += GridCells(node);
        for (unsigned k = 0; k < Children(node).length; ++k)
            pending.push_back({static_cast<const GumboNode*>(Children(node).data[k]), depth + 1});
    }
    return shape;
}

} // namespace

std::string ScreenMarkup(const std::string& utf8, int maxElements, int maxPieces, int maxDepth) {
    const std::string tooMany = "网页的元素超过 " + std::to_string(maxElements) + " 个";
    if (StartTags(utf8) > maxElements)
        return tooMany;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size());
    if (!output)
        return "网页无法读取";
    const Shape shape = ShapeOf(output->root);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    if (shape.elements > maxElements)
        return tooMany;
    if (shape.pieces > maxPieces)
        return "网页的文字超过 " + std::to_string(maxPieces) + " 个词";
    if (shape.depth > maxDepth)
        return "网页的元素嵌套超过 " + std::to_string(maxDepth) + " 层";
    // The layout keeps a cell for every place of a table's grid.
    if (shape.gridCells > kMaxGridCells)
        return "网页的表格超过 " + std::to_string(kMaxGridCells) + " 格";
    return std::string();
}

std::string ScreenLayout(litehtml::document& page, int maxNested) {
    const auto shrinksToFit = [](const litehtml::element& el) {
        const litehtml::style_display display = el.get_display();
        const litehtml::element_position position = el.get_element_position();
        return el.get_float() != litehtml::float_none ||
               display == litehtml::display_inline_block ||
               display == litehtml::display_inline_table ||
               display == litehtml::display_table_cell ||
               position == litehtml::element_position_absolute ||
               position == litehtml::element_position_fixed;
    };
    std::vector<std::pair<litehtml::element::ptr, int>> pending{{page.root(), 0}};
    while (!pending.empty()) {
        auto [el, nested] = pending.back();
        pending.pop_back();
        if (!el)
            continue;
        nested += shrinksToFit(*el) ? 1 : 0;
        if (nested > maxNested)
            return "网页的浮动或自适应框嵌套超过 " + std::to_string(maxNested) + " 层";
        for (size_t k = 0; k < el->get_children_count(); ++k)
            pending.push_back({el->get_child(int(k)), nested});
    }
    return std::string();
}
