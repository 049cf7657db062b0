// The client's CPU use over whole hands: the real client (offscreen) at a sorvik-server table
// with three bots; its turns run out, so it gives up by the countdown. CPU time is read from
// /proc between the server's hand_start and hand_end log lines.
// Usage: sorvik-hand-cpu CLIENT_PATH SERVER_PATH [HANDS]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

#include "E2eSupport.h"
#include "platform/UnixLobbyLink.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CLIENT_PATH SERVER_PATH [HANDS]\n", argv[0]);
        return 2;
    }
    const int hands = argc > 3 ? std::atoi(argv[3]) : 2;
    const int port = sorvik::test::FreeLoopbackPort();
    QProcess server;
    server.start(QString::fromLocal8Bit(argv[2]), {"--port", QString::number(port), "--bots", "3", "--seed", "5",
                                                   "--think-ms", "800", "--ready-ms", "1000", "--start-seconds", "1"});
    QString log;
    auto read = [&] { log += QString::fromUtf8(server.readAllStandardError()); };
    if (!sorvik::test::WaitFor([&] { read(); return log.contains("event=listening"); }, 10)) return 1;

    QTemporaryDir dir(QStringLiteral("/tmp/svkXXXXXX"));
    sorvik::UnixLobbyLink lobby(dir.path());
    lobby.Register(QString::fromUtf8("Morvel山庄"));
    QProcess client;
    sorvik::test::StartClient(client, QString::fromLocal8Bit(argv[1]), dir.path(),
                              QStringLiteral("cpu$key$127.0.0.1$%1$x$0$$0$$$0$Morvel山庄$$").arg(port));
    double cpu = 0, wall = 0;
    for (int h = 1; h <= hands; ++h) {
        if (!sorvik::test::WaitFor([&] { read(); return log.count("event=hand_start") >= h; }, 90)) return 1;
        const long t0 = sorvik::test::ProcessCpuTicks(client.processId());
        QElapsedTimer w;
        w.start();
        if (!sorvik::test::WaitFor([&] { read(); return log.count("event=hand_end") >= h; }, 180)) return 1;
        sorvik::test::WaitFor([] { return false; }, 4.0);  // the client's settlement and pot
        cpu += static_cast<double>(sorvik::test::ProcessCpuTicks(client.processId()) - t0) / static_cast<double>(sysconf(_SC_CLK_TCK));
        wall += w.elapsed() / 1000.0;
    }
    std::printf("%d hands over %.1f s: %.2f s of client CPU, %.2f%% of one core (deal, chips, face-offs, "
                "countdowns included)\n", hands, wall, cpu, 100.0 * cpu / wall);
    client.kill();
    server.kill();
    client.waitForFinished(3000);
    server.waitForFinished(3000);
    return 0;
}
