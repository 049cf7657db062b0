// sorvik-server: the reference game server. Operator commands come on standard input;
// its end stops nothing.

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "Options.h"
#include "Server.h"

using namespace sorvik::server;

int main(int argc, char** argv) {
    // A log reader that goes away must not end the server.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    const ParsedOptions parsed = ParseOptions(app.arguments());
    if (parsed.help) {
        std::fputs(parsed.usage.c_str(), stdout);
        return 0;
    }
    if (!parsed.ok) {
        std::fprintf(stderr, "sorvik-server: %s\n%s", parsed.error.c_str(), parsed.usage.c_str());
        return 2;
    }

    Logger log;
    QtScheduler scheduler;
    Server server(parsed.server, scheduler, log);
    server.onStop = [](int code) { QCoreApplication::exit(code); };
    server.onSummary = [](const RunSummary& s) {
        std::printf("%s\n", s.Line().c_str());
        std::fflush(stdout);
    };
    if (!server.Listen()) return 2;

    // Operator commands, a line at a time.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, &input, [&] {
        char buf[1024];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false);
            log.Event("stdin_closed");
            return;
        }
        pending.append(buf, size_t(n));
        size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            server.Command(QString::fromUtf8(line.data(), int(line.size())));
        }
        if (pending.size() > 4096) pending.clear();
    });
    return app.exec();
}
