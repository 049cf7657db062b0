// The real client process, offscreen, against a scripted server on loopback, with this
// test process as the lobby on a private lobby-link folder.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "E2eSupport.h"
#include "platform/UnixLobbyLink.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

QByteArray ExpectedLoginFrame(const QByteArray& user, const QByteArray& key) {
    QByteArray f(272, '\0');
    f[3] = 18;
    for (int i = 0; i < user.size(); ++i) f[16 + i] = user[i];
    for (int i = 0; i < key.size(); ++i) f[32 + i] = key[i];
    return f;
}

QByteArray LoginReply() {
    QByteArray f(272, '\0');
    f[3] = 18;
    f[15] = 1;
    f[11] = 10;
    return f;
}

struct Lobby {
    explicit Lobby(const QString& dir) : link(dir) {
        link.Register(QString::fromUtf8("Morvel山庄"));
        link.onMessage = [this](uint32_t m, uint32_t w, uint32_t) {
            got.push_back(m == kWmSysCommand ? w : m);
        };
    }
    bool Has(uint32_t code) const { return std::find(got.begin(), got.end(), code) != got.end(); }
    UnixLobbyLink link;
    std::vector<uint32_t> got;
};

}  // namespace

TEST(ClientProcess, LogsInAnswersTheLobbyLeavesAndComesBack) {
    QTemporaryDir dir(QStringLiteral("/tmp/svkXXXXXX"));
    ASSERT_TRUE(dir.isValid());
    Lobby lobby(dir.path());
    ScriptedServer server;
    ASSERT_GT(server.Port(), 0);

    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedChannels);
    const QString line = QStringLiteral("alice$s3cret$127.0.0.1$%1$上海$0$$0$$$0$Morvel山庄$$")
                             .arg(server.Port());
    StartClient(client, QStringLiteral(SORVIK_CLIENT_PATH), dir.path(), line);
    ASSERT_TRUE(client.waitForStarted(10000));

    // The client connects, tells the lobby, and sends the login frame byte for byte.
    ASSERT_TRUE(WaitFor([&] { return !server.Peers().empty() && !server.Frames(0).empty(); }, 20));
    EXPECT_EQ(server.Frames(0)[0], ExpectedLoginFrame("alice", "s3cret"));
    ASSERT_TRUE(WaitFor([&] { return lobby.Has(771); }, 5));
    EXPECT_TRUE(lobby.Has(22));

    // Asked before the login is answered: 1126.
    lobby.got.clear();
    UnixLobbyLink asker(dir.path());
    ASSERT_TRUE(WaitFor([&] { return asker.FindWindow("Sorvik"); }, 5));
    asker.Post("Sorvik", 771, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return lobby.Has(1126); }, 5));

    server.Send(0, LoginReply());
    ASSERT_TRUE(WaitFor([&] { return lobby.Has(771); }, 5));  // login accepted

    // Not playing: the status query is answered 1024.
    lobby.got.clear();
    asker.Post("Sorvik", 1125, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return lobby.Has(1024); }, 5));

    // The exit order: the leave frame, the socket closed, the process still running.
    asker.Post("Sorvik", 1024, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return server.Peers()[0]->closed; }, 10));
    const auto frames = server.Frames(0);
    ASSERT_GE(frames.size(), 2u);
    const QByteArray leave = frames.back();
    EXPECT_EQ(leave[3], 16);
    EXPECT_EQ(leave[15], 0);
    EXPECT_FALSE(WaitFor([&] { return client.state() == QProcess::NotRunning; }, 1.5));

    // Sent to the table again: a fresh connection with the same login frame.
    asker.Post("Sorvik", 22, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return server.Peers().size() == 2 && !server.Frames(1).empty(); }, 20));
    EXPECT_EQ(server.Frames(1)[0], ExpectedLoginFrame("alice", "s3cret"));

    client.kill();
    client.waitForFinished(5000);
}

TEST(ClientProcess, EndsWithoutAMessageOnABadCommandLine) {
    QTemporaryDir dir(QStringLiteral("/tmp/svkXXXXXX"));
    Lobby lobby(dir.path());
    QProcess client;
    const QString twelveFields = QStringLiteral("alice$k$127.0.0.1$9000$x$0$$0$$$0$Morvel山庄$");
    StartClient(client, QStringLiteral(SORVIK_CLIENT_PATH), dir.path(), twelveFields);
    ASSERT_TRUE(client.waitForStarted(10000));
    ASSERT_TRUE(WaitFor([&] { return client.state() == QProcess::NotRunning; }, 20));
    EXPECT_TRUE(WaitFor([&] { return lobby.Has(kScRestore); }, 2));
}
