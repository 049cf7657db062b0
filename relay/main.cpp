// sorvik-relay: the video relay for the table clients.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "Relay.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Video relay for Sorvik tables: pairs players who asked for each other's video."));
    parser.addHelpOption();
    const QCommandLineOption port("port", "Port to listen on (default 8888).", "n", "8888");
    const QCommandLineOption listen("listen", "Address to listen on (default 127.0.0.1).", "address",
                                    "127.0.0.1");
    parser.addOptions({port, listen});
    parser.process(app);
    bool ok = false;
    const int n = parser.value(port).toInt(&ok);
    const QHostAddress address(parser.value(listen));
    if (!ok || n < 1 || n > 65535 || address.isNull()) {
        std::fprintf(stderr, "sorvik-relay: bad --port or --listen\n");
        return 2;
    }
    sorvik::relay::Relay relay;
    if (!relay.Listen(address, static_cast<quint16>(n))) {
        std::fprintf(stderr, "sorvik-relay: cannot listen on %s:%d\n", qPrintable(address.toString()), n);
        return 1;
    }
    std::fprintf(stderr, "event=listening address=%s port=%d\n", qPrintable(address.toString()), n);
    return app.exec();
}
