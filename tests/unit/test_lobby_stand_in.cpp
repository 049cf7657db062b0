// The lobby stand-in's command line, checked against the client's own reader, and the
// message names its log is matched by.

#include <gtest/gtest.h>

#include <string>

#include "../../lobby/ClientCommandLine.h"
#include "../../lobby/LobbyMessages.h"
#include "session/core/CommandLine.h"

namespace sorvik::lobby {
namespace {

std::string S(const QString& text) { return text.toStdString(); }

ClientFields Defaults() {
    ClientFields f;
    f.userName = "player1";
    f.loginKey = "key";
    f.serverHost = "127.0.0.1";
    f.serverPort = "20000";
    f.locationText = QStringLiteral("上海");
    f.proxyType = "0";
    f.proxyPort = "0";
    f.lobbyTitle = DefaultLobbyTitle();
    return f;
}

ClientFields Proxied() {
    ClientFields f = Defaults();
    f.proxyType = "5";
    f.proxyHost = "10.0.0.2";
    f.proxyPort = "1080";
    f.proxyUser = "alice";
    f.proxyPassword = "pa ss";
    f.customTitles = true;
    f.lobbyTitle = "Lobby 2";
    f.tableCaption = QStringLiteral("桌 7");
    return f;
}

TEST(LobbyCommandLine, ReadsBackAsTheClientReadsIt) {
    struct Case {
        const char* name;
        ClientFields fields;
        const char* line;
        const char* masked;
    };
    const Case cases[] = {
        {"defaults", Defaults(), "player1$key$127.0.0.1$20000$上海$0$$0$$$0$Morvel山庄$$",
         "player1$***$127.0.0.1$20000$上海$0$$0$$$0$Morvel山庄$$"},
        {"proxy and custom titles", Proxied(),
         "player1$key$127.0.0.1$20000$上海$5$10.0.0.2$1080$alice$pa ss$1$Lobby 2$桌 7$",
         "player1$***$127.0.0.1$20000$上海$5$10.0.0.2$1080$alice$***$1$Lobby 2$桌 7$"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString line = BuildClientCommandLine(c.fields);
        EXPECT_EQ(S(line), c.line);
        EXPECT_EQ(S(MaskedClientCommandLine(c.fields)), c.masked);

        const auto read = ParseCommandLine(line);
        ASSERT_TRUE(read.has_value());
        const ClientFields& f = c.fields;
        EXPECT_EQ(S(read->UserName), S(f.userName));
        EXPECT_EQ(S(read->LoginKey), S(f.loginKey));
        EXPECT_EQ(S(read->ServerHost), S(f.serverHost));
        EXPECT_EQ(read->ServerPort, f.serverPort.toInt());
        EXPECT_EQ(S(read->LocationText), S(f.locationText));
        EXPECT_EQ(read->ProxyType, f.proxyType.toInt());
        EXPECT_EQ(S(read->ProxyHost), S(f.proxyHost));
        EXPECT_EQ(read->ProxyPort, f.proxyPort.toInt());
        EXPECT_EQ(S(read->ProxyUser), S(f.proxyUser));
        EXPECT_EQ(S(read->ProxyPassword), S(f.proxyPassword));
        EXPECT_EQ(read->CustomTitles, f.customTitles);
        EXPECT_EQ(S(read->LobbyTitle), S(f.lobbyTitle));
        EXPECT_EQ(S(read->TableCaption), S(f.tableCaption));
    }
}

TEST(LobbyCommandLine, TitlesMatchWhatTheClientUses) {
    struct Case {
        bool custom;
        const char* lobbyTitle;
        const char* caption;
        const char* lobbyWindow;
        const char* clientWindow;
    };
    const Case cases[] = {
        {false, "Elsewhere", "T1", "Morvel山庄", "Sorvik"},
        {true, "Elsewhere", "T1", "Elsewhere", "T1"},
    };
    for (const Case& c : cases) {
        ClientFields f = Defaults();
        f.customTitles = c.custom;
        f.lobbyTitle = QString::fromUtf8(c.lobbyTitle);
        f.tableCaption = QString::fromUtf8(c.caption);
        SCOPED_TRACE(c.custom);
        EXPECT_EQ(S(LobbyWindowTitle(f)), c.lobbyWindow);
        EXPECT_EQ(S(ClientWindowTitle(f)), c.clientWindow);
        // The client finds the lobby by field 12 only with custom titles, else by the fixed one.
        const auto read = ParseCommandLine(BuildClientCommandLine(f));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(S(read->CustomTitles ? read->LobbyTitle : DefaultLobbyTitle()),
                  c.lobbyWindow);
    }
}

TEST(LobbyCommandLine, FieldHoldingTheTerminatorIsNamed) {
    EXPECT_EQ(FieldWithTerminator(Proxied()), 0);
    using F = ClientFields;
    QString F::*const text[] = {&F::userName,     &F::loginKey,      &F::serverHost, &F::serverPort,
                                &F::locationText, &F::proxyType,     &F::proxyHost,  &F::proxyPort,
                                &F::proxyUser,    &F::proxyPassword, nullptr,        &F::lobbyTitle,
                                &F::tableCaption};
    for (int i = 0; i < kFieldCount; ++i) {
        if (!text[i]) continue;  // field 11 is a flag
        ClientFields f = Proxied();
        f.*text[i] = "a$b";
        EXPECT_EQ(FieldWithTerminator(f), i + 1) << FieldNames()[i];
    }
}

TEST(LobbyMessageNames, ReadBothDirections) {
    struct Case {
        uint32_t message, wParam, lParam;
        const char* received;
        const char* order;
    };
    const Case cases[] = {
        {22, 0, 0, "22 waiting for a connection (or login refused)", "22 reconnect now"},
        {771, 0, 0, "771 connected / login accepted", "771 status query with implied exit"},
        {1024, 0, 0, "1024 not playing, client leaving", "1024 exit now"},
        {1125, 0, 0, "1125 a hand is being played", "1125 status query"},
        {1126, 0, 0, "1126 connected, login not answered yet", "1126"},
        {1127, 0, 0, "1127 a hand has started", "1127"},
        {0x0112, 0xF120, 0, "system command restore", "system command restore"},
        {0x0112, 0xF020, 0, "system command minimise", "system command minimise"},
        {0x0112, 0xF030, 0, "system command 0xF030", "system command 0xF030"},
        {999, 0, 0, "999 unknown message", "999"},
        {771, 1, 2, "771 connected / login accepted (wParam 1, lParam 2)",
         "771 status query with implied exit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(S(DescribeReceived(c.message, c.wParam, c.lParam)), c.received);
        EXPECT_EQ(S(DescribeOrder(c.message, c.wParam)), c.order);
    }
}

}  // namespace
}  // namespace sorvik::lobby
