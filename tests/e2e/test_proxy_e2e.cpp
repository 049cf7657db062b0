// The client through a real SOCKS5 proxy (microsocks, user-name and password) to a scripted
// server, all on loopback.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "E2eSupport.h"
#include "platform/UnixLobbyLink.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

bool Listens(int port) {
    QTcpSocket probe;
    probe.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    return probe.waitForConnected(200);
}

// Starts microsocks on a free port in 20000..32767; 0 when it could not be started.
int StartMicrosocks(QProcess& proxy, const QString& user, const QString& password) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("microsocks"));
    if (program.isEmpty()) return 0;
    for (int tries = 0; tries < 20; ++tries) {
        const int port = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(12768));
        if (Listens(port)) continue;
        proxy.start(program, {"-i", "127.0.0.1", "-p", QString::number(port), "-u", user, "-P",
                              password});
        if (!proxy.waitForStarted(5000)) return 0;
        if (WaitFor([&] { return Listens(port) || proxy.state() == QProcess::NotRunning; }, 5) &&
            proxy.state() == QProcess::Running)
            return port;
        proxy.kill();
        proxy.waitForFinished(2000);
    }
    return 0;
}

}  // namespace

TEST(ProxyProcess, LogsInThroughMicrosocksWithAuthentication) {
    QProcess proxy;
    const int proxyPort = StartMicrosocks(proxy, "svkuser", "svkpass");
    ASSERT_GT(proxyPort, 0) << "microsocks is needed (Debian package microsocks)";
    QTemporaryDir dir(QStringLiteral("/tmp/svkXXXXXX"));
    UnixLobbyLink lobby(dir.path());
    std::vector<uint32_t> got;
    lobby.Register(QString::fromUtf8("Morvel山庄"));
    lobby.onMessage = [&](uint32_t m, uint32_t, uint32_t) { got.push_back(m); };
    ScriptedServer server;

    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedChannels);
    const QString line = QStringLiteral("bob$key$127.0.0.1$%1$x$5$127.0.0.1$%2$svkuser$svkpass$0$Morvel山庄$$")
                             .arg(server.Port())
                             .arg(proxyPort);
    StartClient(client, QStringLiteral(SORVIK_CLIENT_PATH), dir.path(), line);
    ASSERT_TRUE(client.waitForStarted(10000));

    ASSERT_TRUE(WaitFor([&] { return !server.Peers().empty() && !server.Frames(0).empty(); }, 20));
    const QByteArray login = server.Frames(0)[0];
    EXPECT_EQ(login[3], 18);
    EXPECT_EQ(login.mid(16, 4), QByteArray("bob\0", 4));
    EXPECT_EQ(login.mid(32, 4), QByteArray("key\0", 4));
    EXPECT_EQ(std::count(got.begin(), got.end(), 771u), 1);  // the tunnel is up

    QByteArray reply(272, '\0');
    reply[3] = 18;
    reply[15] = 1;
    server.Send(0, reply);
    ASSERT_TRUE(WaitFor([&] { return std::count(got.begin(), got.end(), 771u) == 2; }, 5));
    // Keep-alives flow through the tunnel (one every 5 seconds).
    ASSERT_TRUE(WaitFor([&] { return server.Frames(0).size() >= 2; }, 8));
    EXPECT_EQ(server.Frames(0)[1][3], 24);

    client.kill();
    client.waitForFinished(5000);
    proxy.kill();
    proxy.waitForFinished(5000);
}
