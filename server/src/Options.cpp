#include "Options.h"

#include <QCommandLineParser>
#include <random>

namespace sorvik::server {

namespace {

bool ToInt(const QString& text, int64_t lo, int64_t hi, int64_t& out) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

ParsedOptions ParseOptions(const QStringList& arguments) {
    ParsedOptions r;
    ServerOptions& o = r.server;
    QCommandLineParser p;
    p.setApplicationDescription("Reference game server for the Sorvik table client, with bots.");
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption port("port", "Loopback port (1..32767), or 'auto' for a free one in 20000..32767.", "port", "20000");
    const QCommandLineOption bots("bots", "Bots per table, 0..4 (4: bot-only tables).", "n", "3");
    const QCommandLineOption tables("tables", "Bot-only tables to run when --bots is 4.", "n", "1");
    const QCommandLineOption think("think-ms", "A bot's think time per action.", "ms", "1200");
    const QCommandLineOption ready("ready-ms", "A bot gets ready this long after a table fills or a hand is settled.", "ms", "5000");
    const QCommandLineOption deal("deal-ms", "Wait after the game start for the client's deal.", "ms", "4000");
    const QCommandLineOption start("start-seconds", "The first hand starts this long after a table fills.", "s", "15");
    const QCommandLineOption turn("turn-seconds", "The server gives up for a player after this.", "s", "30");
    const QCommandLineOption seed("seed", "Seed for deals and bot choices.", "n");
    const QCommandLineOption fast("fast", "No think time, ready delay, deal wait or start countdown.");
    const QCommandLineOption hands("hands", "Stop after this many settled hands and print a summary.", "n", "0");
    const QCommandLineOption key("key", "Accept only this login key.", "key");
    const QCommandLineOption refuse("refuse", "Refuse every login with result 2 or 3.", "result");
    const QCommandLineOption news("news-url", "Page address sent with the login reply.", "url");
    const QCommandLineOption base("base", "Base stake in coins per unit.", "coins", "100");
    const QCommandLineOption coins("coins", "Coins of a new account and of every bot.", "coins", "500000");
    const QCommandLineOption pot("pot-limit", "Units in the pot that open all hands.", "units", "500");
    p.addOptions({help, port, bots, tables, think, ready, deal, start, turn, seed, fast, hands, key, refuse,
                  news, base, coins, pot});
    r.usage = p.helpText().toStdString();
    if (!p.parse(arguments)) {
        r.ok = false;
        r.error = p.errorText().toStdString();
        return r;
    }
    if (p.isSet(help)) {
        r.help = true;
        return r;
    }
    if (!p.positionalArguments().isEmpty()) {
        r.ok = false;
        r.error = "unexpected argument: " + p.positionalArguments().first().toStdString();
        return r;
    }
    auto fail = [&](const char* what) {
        r.ok = false;
        r.error = std::string("bad value for --") + what;
        return r;
    };
    int64_t v = 0;
    if (p.value(port) == "auto") o.port = 0;
    else if (ToInt(p.value(port), 1, 32767, v)) o.port = int(v);
    else return fail("port (1..32767 or auto)");
    if (!ToInt(p.value(bots), 0, 4, v)) return fail("bots (0..4)");
    o.bots = int(v);
    if (!ToInt(p.value(tables), 1, 64, v)) return fail("tables (1..64)");
    o.tables = int(v);
    if (!ToInt(p.value(think), 0, 600000, o.thinkMs)) return fail("think-ms");
    if (!ToInt(p.value(ready), 0, 600000, o.readyMs)) return fail("ready-ms");
    if (!ToInt(p.value(deal), 0, 600000, o.dealMs)) return fail("deal-ms");
    if (!ToInt(p.value(start), 0, 3600, o.startSeconds)) return fail("start-seconds");
    if (!ToInt(p.value(turn), 1, 3600, o.turnSeconds)) return fail("turn-seconds");
    if (!ToInt(p.value(hands), 0, int64_t(1) << 40, o.hands)) return fail("hands");
    if (p.isSet(seed)) {
        bool ok = false;
        o.seed = p.value(seed).toULongLong(&ok);
        if (!ok) return fail("seed");
    } else {
        std::random_device rd;
        o.seed = uint64_t(rd()) << 32 | rd();
    }
    o.fast = p.isSet(fast);
    if (p.isSet(key)) {
        const QString k = p.value(key);
        for (QChar c : k)
            if (c.unicode() < 0x20 || c.unicode() > 0x7E) return fail("key (printable single-byte text)");
        if (k.size() > 240) return fail("key (at most 240 characters)");
        o.key = k.toStdString();
    }
    if (p.isSet(refuse)) {
        if (!ToInt(p.value(refuse), 2, 3, v)) return fail("refuse (2 or 3)");
        o.refuse = int(v);
    }
    if (p.isSet(news)) {
        const QString url = p.value(news);
        for (QChar c : url)
            if (c.unicode() < 0x20 || c.unicode() > 0x7E) return fail("news-url (single-byte text)");
        if (url.size() > 100) return fail("news-url (at most 100 characters)");
        o.newsUrl = url.toStdString();
    }
    if (!ToInt(p.value(base), 1, 1000000, v)) return fail("base");
    o.rules.baseStake = int(v);
    if (!ToInt(p.value(coins), 0, int64_t(1) << 50, o.coins)) return fail("coins");
    if (!ToInt(p.value(pot), 50, 20000, v)) return fail("pot-limit (50..20000)");
    o.rules.potLimit = int(v);
    return r;
}

}  // namespace sorvik::server
