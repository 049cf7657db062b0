#include <gtest/gtest.h>

#include "ClientHarness.h"
#include "session/core/CommandLine.h"

using namespace sorvik;
using sorvik::test::LineFields;

TEST(CommandLine, ReadsThirteenFields) {
    LineFields f;
    f.port = "9000";
    f.proxyType = "5";
    f.proxyHost = "127.0.0.9";
    f.proxyPort = "1080";
    f.proxyUser = "pu";
    f.proxyPassword = "secret";
    const auto p = ParseCommandLine(f.Join());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->UserName, "alice");
    EXPECT_EQ(p->ServerHost, "127.0.0.7");
    EXPECT_EQ(p->ServerPort, 9000);
    EXPECT_EQ(p->LocationText, QString::fromUtf8("上海"));
    EXPECT_EQ(p->ProxyType, 5);
    EXPECT_EQ(p->ProxyPort, 1080);
    EXPECT_EQ(p->ProxyUserLength, 2);
    EXPECT_EQ(p->ProxyPasswordLength, 6);
    EXPECT_FALSE(p->CustomTitles);
}

TEST(CommandLine, RejectsLinesThatAreNotThirteenTerminatedFields) {
    const QString good = LineFields().Join();
    QString twelve = good;
    twelve.chop(1);  // the 13th field loses its "$"
    const struct {
        const char* what;
        QString line;
    } cases[] = {
        {"no final $", good.left(good.size() - 1)},
        {"12 fields", twelve.left(twelve.lastIndexOf('$') + 1)},
        {"text after the 13th $", good + "x"},
        {"14 fields", good + "x$"},
    };
    for (const auto& c : cases) EXPECT_FALSE(ParseCommandLine(c.line)) << c.what;
    // Leading and trailing blanks around the whole line do not count.
    EXPECT_TRUE(ParseCommandLine("  " + good + "  "));
}

TEST(CommandLine, NumericFields) {
    const struct {
        const char* port;
        bool ok;
        int value;
    } cases[] = {{"9000", true, 9000}, {"32767", true, 32767}, {"32768", false, 0},
                 {"", false, 0},       {"80x", false, 0},     {" 21 ", true, 21},
                 {"2.5", true, 2},     {"3.5", true, 4},      {"-1", true, -1}};
    for (const auto& c : cases) {
        LineFields f;
        f.port = c.port;
        const auto p = ParseCommandLine(f.Join());
        EXPECT_EQ(bool(p), c.ok) << c.port;
        if (p && c.ok) {
            EXPECT_EQ(p->ServerPort, c.value) << c.port;
        }
    }
}

TEST(CommandLine, CustomTitlesOnlyForTheValueOne) {
    const struct {
        const char* flag;
        bool custom;
    } cases[] = {{"1", true},  {"01", true}, {"1.0", true}, {" 1", true}, {"0", false},
                 {"2", false}, {"", false},  {"yes", false}, {"1.5", false}};
    for (const auto& c : cases) {
        LineFields f;
        f.customTitles = c.flag;
        const auto p = ParseCommandLine(f.Join());
        ASSERT_TRUE(p) << c.flag;
        EXPECT_EQ(p->CustomTitles, c.custom) << c.flag;
    }
}

TEST(CommandLine, TheLobbyTitleIsKnownOnceField12WasRead) {
    QString seen;
    const QString good = LineFields().Join();
    EXPECT_FALSE(ParseCommandLine(good.left(good.size() - 1), &seen));
    EXPECT_EQ(seen, QString::fromUtf8("Morvel山庄"));
    LineFields badPort;
    badPort.port = "";
    seen.clear();
    EXPECT_FALSE(ParseCommandLine(badPort.Join(), &seen));
    EXPECT_TRUE(seen.isEmpty());
}

TEST(LoginFrame, NameAndKeyOneBytePerCharacter) {
    const auto f = BuildLoginFrame("alice", "k3y");
    ASSERT_TRUE(f);
    EXPECT_EQ((*f)[2], 0);
    EXPECT_EQ((*f)[3], 18);
    EXPECT_EQ((*f)[16], 'a');
    EXPECT_EQ((*f)[20], 'e');
    EXPECT_EQ((*f)[21], 0);
    EXPECT_EQ((*f)[32], 'k');
    EXPECT_EQ((*f)[34], 'y');
    EXPECT_EQ((*f)[35], 0);
    EXPECT_TRUE(BuildLoginFrame(QString(16, 'n'), QString(240, 'k')));
    EXPECT_FALSE(BuildLoginFrame(QString::fromUtf8("张三"), "k"));  // double-byte name
    EXPECT_FALSE(BuildLoginFrame("a", QString(241, 'k')));         // key does not fit
    EXPECT_FALSE(BuildLoginFrame(QString(17, 'n'), "k"));          // name would run into the key
}
