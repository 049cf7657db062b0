// Memory over many hands: the whole client in virtual time plays hand after hand against a
// scripted server (deal, turns, a compare, the results, the countdown); the resident size is
// read from /proc after the first hands and at the end.
// Usage: sorvik-hands-memory [HANDS]

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <cstdio>

#include "ClientHarness.h"
#include "results/ResultWindows.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

long RssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int hands = argc > 1 ? std::atoi(argv[1]) : 200;
    ClientHarness h;
    h.Start();
    h.LogIn();
    const uint8_t seats[4] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i) {
        Player p{seats[i], QStringLiteral("a%1").arg(i), QStringLiteral("N%1").arg(i)};
        p.coins = 1e9;
        h.client->DispatchFrame(UserInfoFrame(1, p));
    }
    // Frames go through the socket and the pump, as they do at a real table.
    auto send = [&h](const PacketFrame& f) {
        h.socket.Deliver(f);
        h.loop.RunFor(0.15);
    };
    long early = 0;
    QElapsedTimer wall;
    wall.start();
    for (int hand = 1; hand <= hands; ++hand) {
        PacketFrame start = ServerFrame(kGameStart);
        start[15] = 10;
        send(start);
        send(TurnFrame(8, 4, 4, 0, 10, 10));
        send(TurnFrame(4, 2, 2, 0, 10));
        send(TurnFrame(2, 4, 1, 0x07, 10, 10));
        h.client->OnActionClick(2);
        PacketFrame compare = TurnFrame(4, 8, 8, 0, 10, 10);
        compare[16] = 4;
        compare[32] = 2;
        send(compare);
        send(TurnFrame(8, 1, 0, 0, 0));
        PacketFrame first = ResultFrame(1, false, 20, 20, 3);
        first[35] = 4;
        send(first);
        send(ResultFrame(2, false, 30, 30, 3));
        send(ResultFrame(4, true, 60, 58, 3));
        send(ResultFrame(8, false, 10, 10, 3));
        h.loop.RunFor(16.5);  // the countdown readies the next hand
        // The fakes record everything; drop it so only the client's own memory is measured.
        h.socket.raw.clear();
        h.socket.sendTimes.clear();
        h.sound.played.clear();
        // Virtual time runs no Qt event loop: let the events the widgets posted be handled,
        // as the program's loop does all the time.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (std::getenv("SORVIK_BENCH_CLEAR_HERO")) {
            h.client->Hero().Num->clear();
            for (auto* g : h.client->Hero().Grade) g->clear();
        }
        if (hand == 10) early = RssKb();
    }
    const long late = RssKb();
    std::printf("%d hands in %.1f s of wall time: VmRSS %ld kB after 10 hands, %ld kB after %d (%+ld kB); "
                "hero list %d lines, %d chips on the table\n",
                hands, wall.elapsed() / 1000.0, early, late, hands, late - early,
                h.client->Hero().Num->count(), h.client->ChipCount());
    return 0;
}
