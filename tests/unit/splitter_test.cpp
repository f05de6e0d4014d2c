#include <gtest/gtest.h>

#include "Run.h"

namespace qrv {
namespace {

struct Split {
    std::vector<std::string> args;  // elements 1..N
    std::string element0;           // "<absent>" when never set
};

Split SplitOf(const std::string& text, int32_t maxArgs = 32767) {
    FakePlatform fake;
    fake.commandLine = U16(text);
    ArgList list = Form1(fake).GetCommandLine(maxArgs);
    Split s;
    s.element0 = list[0] ? U8(*list[0]) : "<absent>";
    for (size_t i = 1; i < list.size(); ++i) {
        EXPECT_TRUE(list[i].has_value()) << "argument " << i << " absent";
        s.args.push_back(U8(Value(list[i])));
    }
    return s;
}

using V = std::vector<std::string>;

struct Case {
    const char* text;
    V args;
};

TEST(ArgumentSplitter, SeparatesQuotesAndTabsAsTheHostExpects) {
    const Case cases[] = {
        {"", {}},
        {" \t  \t", {}},
        {"Delete \"a b.txt\" c", {"Delete", "a b.txt", "c"}},
        {"a\"b c\"d", {"ab cd"}},
        {"x \"\" y", {"x", "y"}},
        {"\"a\tb\"", {"a", "b"}},
        {"\"a b", {"a b"}},
        {"x \" y\"", {"x ", "y"}},
        {"a    b\t\t c", {"a", "b", "c"}},
        {"\"Delete\"", {"Delete"}},
        {"  lead", {"lead"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitOf(c.text).args, c.args) << "text: [" << c.text << "]";
    }
}

TEST(ArgumentSplitter, ElementZeroTakesQuotedBlanksBeforeAnyArgument) {
    Split s = SplitOf("\" y\"");
    EXPECT_EQ(s.element0, " ");
    EXPECT_EQ(s.args, V{"y"});
    EXPECT_EQ(SplitOf("a b").element0, "<absent>");
}

TEST(ArgumentSplitter, MaxArgsLimitsOnlyWhereAnArgumentWouldBegin) {
    EXPECT_EQ(SplitOf("a b c", 1).args, V{"a"});
    EXPECT_EQ(SplitOf("a b c", 0).args, V{});
    EXPECT_EQ(SplitOf("a b c", 2).args, (V{"a", "b"}));
    // Quoted blanks after the limit still join the last argument taken.
    EXPECT_EQ(SplitOf("\"a \" b", 1).args, V{"a "});
}

TEST(ArgumentSplitter, TheLongestCommandLineSplitsWholly) {
    std::string text;
    while (text.size() < 32760) text += "ab ";
    Split s = SplitOf(text);
    EXPECT_EQ(s.args.size(), 10920u);
    EXPECT_EQ(s.args.back(), "ab");
}

}  // namespace
}  // namespace qrv
