// Start-up time of the real client to its window being shown and findable, and the cost of
// changing a control's picture from the cache.
// Usage: sorvik-startup-bench CLIENT_PATH [RUNS]

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "E2eSupport.h"
#include "platform/UnixLobbyLink.h"
#include "table/Controls.h"
#include "table/PictureLibrary.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CLIENT_PATH [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir dir(QStringLiteral("/tmp/svkXXXXXX"));
        sorvik::UnixLobbyLink lobby(dir.path());
        lobby.Register(QString::fromUtf8("Morvel山庄"));
        sorvik::test::ScriptedServer server;
        QProcess client;
        QElapsedTimer t;
        t.start();
        sorvik::test::StartClient(client, QString::fromLocal8Bit(argv[1]), dir.path(),
                                  QStringLiteral("bench$key$127.0.0.1$%1$x$0$$0$$$0$Morvel山庄$$").arg(server.Port()));
        // The window registers itself as the last step of the start-up, after it is shown.
        if (!sorvik::test::WaitFor([&] { return lobby.FindWindow("Sorvik"); }, 20)) return 1;
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        client.kill();
        client.waitForFinished(5000);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to the window shown: median %.0f ms, min %.0f ms, max %.0f ms over %d runs\n",
                times[times.size() / 2], times.front(), times.back(), runs);

    sorvik::PictureLibrary pictures;
    sorvik::LayoutScale scale;
    sorvik::PictureBox box(nullptr, &pictures, &scale);
    box.SetPicture(520);
    box.SetPicture(522);  // both decoded once
    constexpr int kChanges = 200000;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kChanges; ++i) box.SetPicture(i % 2 ? 520 : 522);
    std::printf("picture change from the cache: %.0f ns each (%d changes, hover-style alternation)\n",
                static_cast<double>(t.nsecsElapsed()) / kChanges, kChanges);
    QElapsedTimer first;
    first.start();
    sorvik::PictureLibrary fresh;
    const QPixmap decoded = fresh.Picture(62);
    std::printf("first decode of a card picture: %.0f us\n", static_cast<double>(first.nsecsElapsed()) / 1e3);
    return decoded.isNull() ? 1 : 0;
}
