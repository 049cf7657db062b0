// sorvik-lobby: a small stand-in for the lobby. It seats the player by starting the table
// client with the 13-field command line, posts the lobby's orders to it and logs every
// message of the lobby link. Orders can also come one per line on standard input.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <cstdio>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "ClientCommandLine.h"
#include "LobbyWindow.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT close the lobby as "quit" does, so the client it started goes with it.
void QuitOnTerminationSignals(sorvik::lobby::LobbyWindow& window) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        window.Log(QStringLiteral("termination signal"));
        window.Quit();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// A loopback port in 20000..32767 that nothing listens on now.
int FreeLoopbackPort() {
    for (int tries = 0; tries < 200; ++tries) {
        const int port = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(12768));
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, static_cast<quint16>(port))) return port;
    }
    return 0;
}

// Polls the port until the server accepts connections, or it ends, or 10 s pass.
bool WaitUntilListening(int port, const QProcess& server) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && server.state() != QProcess::NotRunning) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
        if (s.waitForConnected(200)) return true;
        QThread::msleep(50);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("sorvik-lobby"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lobby stand-in: starts the table client for one seat and logs the lobby messages."));
    parser.addHelpOption();
    const QCommandLineOption user("user", "Field 1, user name.", "name", "player1");
    const QCommandLineOption key("key", "Field 2, login key.", "key", "key");
    const QCommandLineOption host("host", "Field 3, game server host.", "host", "127.0.0.1");
    const QCommandLineOption port("port", "Field 4, game server port.", "port", "20000");
    const QCommandLineOption location("location", "Field 5, location text.", "text",
                                      QStringLiteral("上海"));
    const QCommandLineOption proxyType("proxy-type", "Field 6, 0 direct, 5 SOCKS5.", "n", "0");
    const QCommandLineOption proxyHost("proxy-host", "Field 7, proxy host.", "host");
    const QCommandLineOption proxyPort("proxy-port", "Field 8, proxy port.", "port", "0");
    const QCommandLineOption proxyUser("proxy-user", "Field 9, proxy user.", "name");
    const QCommandLineOption proxyPassword("proxy-password", "Field 10, proxy password.",
                                           "password");
    const QCommandLineOption customTitles(
        "custom-titles", "Field 11 = 1: the client uses --lobby-title and --table-caption.");
    const QCommandLineOption lobbyTitle("lobby-title",
                                        "Field 12; also this window's title with --custom-titles.",
                                        "title", sorvik::lobby::DefaultLobbyTitle());
    const QCommandLineOption tableCaption("table-caption", "Field 13, the client's caption.",
                                          "caption");
    const QCommandLineOption client("client", "The table client program.", "path");
    const QCommandLineOption windowDir(
        "window-dir", "Lobby link folder (SORVIK_WINDOW_DIR) for the lobby and the client.",
        "dir");
    const QCommandLineOption autostart("autostart", "Start the client at once.");
    const QCommandLineOption demo(
        "demo", "Start a local sorvik-server with three bots on a free loopback port and sit down.");
    const QCommandLineOption seed("seed", "With --demo: the server's seed, for a reproducible table.",
                                  "n");
    parser.addOptions({user, key, host, port, location, proxyType, proxyHost, proxyPort,
                       proxyUser, proxyPassword, customTitles, lobbyTitle, tableCaption, client,
                       windowDir, autostart, demo, seed});
    parser.process(app);

    // Set before the link is made, and inherited by the client.
    if (parser.isSet(windowDir)) {
        const QString dir = parser.value(windowDir);
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("SORVIK_WINDOW_DIR", QFile::encodeName(QDir(dir).absolutePath()));
    }

    sorvik::lobby::ClientFields fields;
    fields.userName = parser.value(user);
    fields.loginKey = parser.value(key);
    fields.serverHost = parser.value(host);
    fields.serverPort = parser.value(port);
    fields.locationText = parser.value(location);
    fields.proxyType = parser.value(proxyType);
    fields.proxyHost = parser.value(proxyHost);
    fields.proxyPort = parser.value(proxyPort);
    fields.proxyUser = parser.value(proxyUser);
    fields.proxyPassword = parser.value(proxyPassword);
    fields.customTitles = parser.isSet(customTitles);
    fields.lobbyTitle = parser.value(lobbyTitle);
    fields.tableCaption = parser.value(tableCaption);

    const QString clientPath =
        parser.isSet(client)
            ? parser.value(client)
            : QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../games/svk/sorvik");

    // The demo: a local server with bots, on a port the client can read (at most 32767).
    QProcess server, relay;
    if (parser.isSet(demo)) {
        const int demoPort = FreeLoopbackPort();
        if (demoPort == 0) {
            std::fprintf(stderr, "sorvik-lobby: no free loopback port in 20000..32767\n");
            return 1;
        }
        QStringList args{"--port", QString::number(demoPort), "--bots", "3"};
        if (parser.isSet(seed)) args << "--seed" << parser.value(seed);
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QCoreApplication::applicationDirPath() + "/sorvik-server", args);
        if (!server.waitForStarted(5000) || !WaitUntilListening(demoPort, server)) {
            std::fprintf(stderr, "sorvik-lobby: the demo server did not start\n");
            return 1;
        }
        fields.serverHost = QStringLiteral("127.0.0.1");
        fields.serverPort = QString::number(demoPort);
        // The video relay beside it, where the clients look for it (port 8888); when the
        // port is taken, an already running relay serves the table.
        relay.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        relay.start(QCoreApplication::applicationDirPath() + "/sorvik-relay",
                    {"--listen", "127.0.0.1", "--port", "8888"});
    }
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&server, &relay] {
        for (QProcess* p : {&server, &relay}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(3000)) p->kill();
        }
    });

    sorvik::lobby::LobbyWindow window(fields, clientPath);
    QuitOnTerminationSignals(window);
    window.ListenToStandardInput();
    window.show();
    if (parser.isSet(demo))
        window.Log(QStringLiteral("demo server on 127.0.0.1:%1 with three bots").arg(fields.serverPort));
    if (parser.isSet(autostart) || parser.isSet(demo)) {
        QTimer::singleShot(0, &window, [&window] { window.StartClient(); });
    }
    return app.exec();
}
