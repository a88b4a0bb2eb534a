// Start failures that a test cannot provoke, and the budget count without a process.
#include "LaunchFailure.h"
#include "LaunchArguments.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

TEST(LaunchFailure, MapsEachReasonToItsMessageAndCode)
{
    struct Case
    {
        int reason;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {ENOENT, 2, "File or path is not found\n"},
        {E2BIG, 7, "Argument list exceeds 1024 bytes\n"},
        {ENOEXEC, 8, "Specified file is not executable or has invalid executable-file format\n"},
        {EACCES, 8, "Specified file is not executable or has invalid executable-file format\n"},
        {ENOMEM, 12, "Not enough memory is available to execute new process\n"},
        {EINVAL, 22, "mode argument is invalid\n"},
        {EPERM, -1, nullptr},
        {EAGAIN, -1, nullptr},
        {ETXTBSY, -1, nullptr},
        {0, -1, nullptr},
    };
    for (const Case& c : cases) {
        const LaunchFailure failure = DescribeLaunchFailure(c.reason);
        EXPECT_EQ(failure.exitCode, c.exitCode) << c.reason;
        if (c.message)
            EXPECT_STREQ(failure.message, c.message) << c.reason;
        else
            EXPECT_EQ(failure.message, nullptr) << c.reason;
    }
}

TEST(LaunchArguments, NameFirstThenArgumentsUnchanged)
{
    const char* const argv[] = {"/usr/local/bin/Kickra", "a b", "", "\"q\""};
    std::vector<std::string> arguments;
    ASSERT_TRUE(BuildLaunchArguments(4, argv, arguments));
    EXPECT_EQ(arguments, (std::vector<std::string>{"Orvane", "a b", "", "\"q\""}));

    ASSERT_TRUE(BuildLaunchArguments(1, argv, arguments));
    EXPECT_EQ(arguments, std::vector<std::string>{"Orvane"});
}

TEST(LaunchArguments, RefusesPastTheBudgetAndLeavesNothing)
{
    const std::string longest(4985, 'x'); // 11 + 4985 + 3 = 4999
    const std::string tooLong(4986, 'x');
    const char* const fits[] = {"Kickra", longest.c_str()};
    const char* const overflows[] = {"Kickra", tooLong.c_str()};
    std::vector<std::string> arguments{"stale"};
    EXPECT_FALSE(BuildLaunchArguments(2, overflows, arguments));
    EXPECT_TRUE(arguments.empty());
    EXPECT_TRUE(BuildLaunchArguments(2, fits, arguments));
    EXPECT_EQ(arguments.size(), 2u);
}

} // namespace
