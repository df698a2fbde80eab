// The program's private window messages: one name per id.

#include "sprite/WindowMessages.h"
#include "platform/window/Messages.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

TEST(WindowMessages, NoTwoMessagesShareAnIdAndNoneFallsAmongTheSystemsOwn) {
    std::map<UINT, std::string> byId;
    for (const WindowMessageName& message : kWindowMessages) {
        const auto [at, fresh] = byId.emplace(message.id, message.name);
        EXPECT_TRUE(fresh) << message.name << " and " << at->second << " are both " << std::hex
                           << message.id;
        EXPECT_GE(message.id, UINT(WM_USER)) << message.name << " is a system message's id";
    }
}

} // namespace
