// The table's animation-end events have one name each: every numbered
// event is declared once, in the events' own header, and no other file of
// the table gives one of their numbers a name of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The names given a number in a file: `kName = 1007` in an enum or a
// constant, event-like names only (ending in End or Event, or a clock event).
std::multimap<long, std::string> EventNames(const std::string& text) {
    static const std::regex named(R"(\b(k\w*(?:End|Event)\w*)\s*=\s*(\d+)\b)");
    std::multimap<long, std::string> names;
    for (std::sregex_iterator it(text.begin(), text.end(), named), end; it != end; ++it)
        names.emplace(std::stol((*it)[2]), (*it)[1]);
    return names;
}

TEST(AnimationEvents, EachNumberHasOneNameAndOnlyTheEventsHeaderNamesThem) {
    const std::filesystem::path table(TABLE_SOURCE_DIR);
    std::vector<std::filesystem::path> sources;
    std::filesystem::path header;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(table)) {
        if (entry.path().filename() == "AnimationEvents.h")
            header = entry.path();
        else if (entry.is_regular_file())
            sources.push_back(entry.path());
    }
    const auto declared = EventNames(ReadText(header));
    ASSERT_GE(declared.size(), 10u) << "the events' header was not read";
    for (auto it = declared.begin(); it != declared.end(); it = declared.upper_bound(it->first))
        EXPECT_EQ(declared.count(it->first), 1u) << "event " << it->first << " has more names";
    for (const auto& source : sources)
        for (const auto& [number, name] : EventNames(ReadText(source)))
            EXPECT_EQ(declared.count(number), 0u) << source.filename() << " names event " << number
                                                  << " " << name << " beside the events' header";
}

} // namespace
