// What the process learns about itself: its id and the name of its user,
// which a SOCKS 4 request carries as the user id.

#include "platform/system/ProcessInfo.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <string>
#include <unistd.h>

TEST(ProcessInfoTest, ProcessIdIsTheSystemsOwn) {
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
}

TEST(ProcessInfoTest, UserNameFitsOrAsksForTheSizeItNeeds) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = entry->pw_name;

    char name[256] = {};
    DWORD size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    EXPECT_EQ(std::string(name), expected);
    EXPECT_EQ(size, expected.size() + 1);

    // One byte short of the terminator: nothing written, the size needed given.
    char small[256];
    std::fill(std::begin(small), std::end(small), 'x');
    DWORD smallSize = static_cast<DWORD>(expected.size());
    EXPECT_FALSE(GetUserNameA(small, &smallSize));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(smallSize, expected.size() + 1);
    EXPECT_EQ(small[0], 'x');
    EXPECT_FALSE(GetUserNameA(name, nullptr));
}
