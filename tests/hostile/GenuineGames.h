#pragma once

// What a real table sends one seat: whole games of six bots through the
// referee, with the records for seat 0 kept in the order they went out, and
// the snapshot a watcher of seat 0 gets while a game runs. The hostile host
// cuts, reorders and damages these.

#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

using Record = std::vector<uint8_t>;

struct GenuineTable {
    std::vector<Record> records; // to seat 0, first the table record (0x901)
    Record snapshot;             // 0x902 of a running game, as a watcher gets it
};

// Plays games at one table whose deals follow seed.
GenuineTable PlayGenuineTable(uint32_t seed, const std::string& rulesText, int games);

} // namespace hostile
