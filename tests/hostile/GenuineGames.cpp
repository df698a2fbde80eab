#include "GenuineGames.h"

#include "game/GameRecords.h"
#include "game/RefereeRecords.h"
#include "tools/tablehost/TableDriver.h"

#include <cstdio>

namespace hostile {

GenuineTable PlayGenuineTable(uint32_t seed, const std::string& rulesText, int games) {
    CTableDriver::Options options;
    options.rulesText = rulesText;
    options.seed = seed;
    CTableDriver driver(options);
    GenuineTable table;
    driver.onDeliver = [&](const CTableDriver::Sent& sent) {
        const bool toSeat0 =
            sent.code == kHostSendToAll ||
            ((sent.code == kHostSendToSeat || sent.code == kHostSendForwarded) && sent.param == 0);
        int id = 0;
        PeekGameRecordId(sent.record.data(), int(sent.record.size()), &id);
        if (toSeat0)
            table.records.push_back(sent.record);
        else if (sent.code == kHostSendSnapshot && id == kMsgSnapshot)
            table.snapshot = sent.record;
    };
    driver.SeatBots();
    // A watcher comes once the cards are out: it gets the running game.
    driver.RunBots(40);
    tagWATCHERINFO watcher{};
    snprintf(watcher.user.szUserName, sizeof watcher.user.szUserName, "watcher");
    watcher.nSeat = 0;
    driver.Dispatch(3, 0, reinterpret_cast<intptr_t>(&watcher));
    driver.Run(games);
    return table;
}

} // namespace hostile
