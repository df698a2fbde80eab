// Screening markup with gumbo, the parser the layout uses.

#include "outside/PageScreen.h"

#include <gumbo.h>

#include <cctype>
#include <utility>
#include <vector>

namespace {

// Start tags: '<' followed by a letter. Every element the parser makes comes
// from one, or is implied by one.
int StartTags(const std::string& text) {
    int count = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        count += text[i] == '<' && std::isalpha(static_cast<unsigned char>(text[i + 1]));
    return count;
}

// The deepest element, walked without recursion.
int Depth(const GumboNode* root) {
    int deepest = 0;
    std::vector<std::pair<const GumboNode*, int>> pending{{root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            continue;
        const GumboVector& children = node->v.element.children;
        for (unsigned k = 0; k < children.length; ++k)
            pending.push_back({static_cast<const GumboNode*>(children.data[k]), depth + 1});
    }
    return deepest;
}

} // namespace

std::string ScreenMarkup(const std::string& utf8, int maxElements, int maxDepth) {
    if (StartTags(utf8) > maxElements)
        return "网页的元素超过 " + std::to_string(maxElements) + " 个";
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size());
    if (!output)
        return "网页无法读取";
    const int depth = Depth(output->root);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    if (depth > maxDepth)
        return "网页的元素嵌套超过 " + std::to_string(maxDepth) + " 层";
    return std::string();
}
