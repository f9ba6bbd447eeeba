// The Linux entry quotes its arguments into one command line that CommandLineToArgvW splits back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/command_line.h"
#include "platform/win32/win32.h"

namespace {

TEST(CommandLineTest, ArgumentsSurviveQuotingAndSplitting) {
    const std::vector<std::u16string> arguments{u"C:\\Program Files\\Merrowvale\\merrowvale.exe",
                                                u"--production",
                                                u"with \"quotes\"",
                                                u"trailing\\",
                                                u"",
                                                u"a\\\\b"};
    std::u16string line;
    for (const std::u16string& argument : arguments)
        line += (line.empty() ? u"" : u" ") + standin::quoteArgument(argument);
    INT count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(count, static_cast<INT>(arguments.size()));
    for (INT i = 0; i < count; ++i)
        EXPECT_EQ(std::u16string(argv[i]), arguments[static_cast<std::size_t>(i)]);
    LocalFree(argv);
}

}  // namespace
