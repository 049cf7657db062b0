// The client's CPU use while logged in and idle: starts the real client offscreen against a
// scripted server on loopback (this program is also its lobby), answers the login, and
// reads the client's user and system time from /proc over the idle period.
// Usage: sorvik-idle-cpu CLIENT_PATH [SECONDS]

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

#include "E2eSupport.h"
#include "platform/UnixLobbyLink.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CLIENT_PATH [SECONDS]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
    QTemporaryDir dir(QStringLiteral("/tmp/svkXXXXXX"));
    sorvik::UnixLobbyLink lobby(dir.path());
    lobby.Register(QString::fromUtf8("Morvel山庄"));
    sorvik::test::ScriptedServer server;

    QProcess client;
    sorvik::test::StartClient(client, QString::fromLocal8Bit(argv[1]), dir.path(),
                              QStringLiteral("idle$key$127.0.0.1$%1$x$0$$0$$$0$Morvel山庄$$").arg(server.Port()));
    if (!client.waitForStarted(10000)) return 1;
    if (!sorvik::test::WaitFor([&] { return !server.Peers().empty() && !server.Frames(0).empty(); }, 20))
        return 1;
    QByteArray reply(272, '\0');
    reply[3] = 18;
    reply[15] = 1;
    server.Send(0, reply);
    sorvik::test::WaitFor([] { return false; }, 2.0);  // settle

    const long t0 = sorvik::test::ProcessCpuTicks(client.processId());
    sorvik::test::WaitFor([] { return false; }, seconds);
    const long t1 = sorvik::test::ProcessCpuTicks(client.processId());
    const double cpuSeconds = static_cast<double>(t1 - t0) / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf("idle for %.0f s: %.2f s of CPU, %.3f%% of one core; %zu frames received (keep-alives)\n",
                seconds, cpuSeconds, 100.0 * cpuSeconds / seconds, server.Frames(0).size() - 1);
    std::fflush(stdout);
    client.kill();
    client.waitForFinished(5000);
    return 0;
}
