// The client's CPU use while logged in and idle: starts the real client offscreen against a
// scripted server on loopback (this program is also its lobby), answers the login, and
// reads the client's user and system time from /proc over the idle period.
// Usage: sorvik-idle-cpu CLIENT_PATH [SECONDS]

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

#include "E2eSupport.h"
#include "platform/UnixLobbyLink.h"

namespace {

// utime + stime of a process in clock ticks.
long CpuTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLong() + fields.value(12).toLong();
}

}  // namespace

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
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SORVIK_WINDOW_DIR", dir.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    client.setProcessEnvironment(env);
    client.start(QString::fromLocal8Bit(argv[1]),
                 {QStringLiteral("idle$key$127.0.0.1$%1$x$0$$0$$$0$Morvel山庄$$").arg(server.Port())});
    if (!client.waitForStarted(10000)) return 1;
    if (!sorvik::test::WaitFor([&] { return !server.Peers().empty() && !server.Frames(0).empty(); }, 20))
        return 1;
    QByteArray reply(272, '\0');
    reply[3] = 18;
    reply[15] = 1;
    server.Send(0, reply);
    sorvik::test::WaitFor([] { return false; }, 2.0);  // settle

    const long t0 = CpuTicks(client.processId());
    sorvik::test::WaitFor([] { return false; }, seconds);
    const long t1 = CpuTicks(client.processId());
    const double cpuSeconds = static_cast<double>(t1 - t0) / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf("idle for %.0f s: %.2f s of CPU, %.3f%% of one core; %zu frames received (keep-alives)\n",
                seconds, cpuSeconds, 100.0 * cpuSeconds / seconds, server.Frames(0).size() - 1);
    std::fflush(stdout);
    client.kill();
    client.waitForFinished(5000);
    return 0;
}
