#include "Server.h"

#include <QHostAddress>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/Gbk.h"

namespace sorvik::server {

namespace {
constexpr int64_t kLoginTimeoutMs = 30000;   // a connection must log in within this
constexpr int64_t kDetachedTimeoutMs = 10000;  // a connection left without a table
constexpr qint64 kMaxQueuedBytes = 4 << 20;  // a client that stops reading is dropped
constexpr int kInvalidLogLimit = 20;
}  // namespace

long ReadProcStatusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long value = 0;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, n) == 0 && line[n] == ':') {
            value = std::strtol(line + n + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return value;
}

std::string RunSummary::Line() const {
    char buf[640];
    std::snprintf(buf, sizeof buf,
                  "summary hands=%lld seconds=%.3f hands_per_second=%.1f started=%lld settled=%lld "
                  "abandoned=%lld in_flight=%lld coins_in=%lld coins_out=%lld coins_seated=%lld "
                  "tax=%lld conserved=%d tables=%lld tables_ended_for_coins=%lld "
                  "rss_first_hand_kb=%ld rss_end_kb=%ld hwm_kb=%ld",
                  (long long)hands, seconds, seconds > 0 ? hands / seconds : 0.0, (long long)started,
                  (long long)settled, (long long)abandoned, (long long)inFlight, (long long)coinsIn,
                  (long long)coinsOut, (long long)coinsSeated, (long long)tax, conserved ? 1 : 0,
                  (long long)tables, (long long)endedForCoins, rssFirstKb, rssEndKb, hwmKb);
    return buf;
}

// --- Connection -------------------------------------------------------------------------

Connection::Connection(int id_, QTcpSocket* s, Server& server) : id(id_), socket(s), server_(server) {
    socket->setParent(this);
    QObject::connect(socket, &QTcpSocket::readyRead, this, [this] { server_.OnBytes(this); });
    QObject::connect(socket, &QTcpSocket::disconnected, this, [this] { server_.OnDisconnected(this); });
    QObject::connect(socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (socket->state() == QAbstractSocket::UnconnectedState) server_.OnDisconnected(this);
    });
}

void Connection::SendFrame(const PacketFrame& frame) {
    if (phase == Phase::Closing || socket->state() != QAbstractSocket::ConnectedState) return;
    PacketFrame f = frame;
    StampTag(f, tag);
    socket->write(reinterpret_cast<const char*>(f.data()), f.size());
    if (socket->bytesToWrite() > kMaxQueuedBytes) {
        // Never close from inside a send: the caller may be walking a table.
        phase = Phase::Closing;
        QMetaObject::invokeMethod(socket, [s = socket] { s->abort(); }, Qt::QueuedConnection);
    }
}

void Connection::CloseSoon() {
    phase = Phase::Closing;
    QMetaObject::invokeMethod(socket, [s = socket] { s->disconnectFromHost(); }, Qt::QueuedConnection);
}

// --- Server -----------------------------------------------------------------------------

Server::Server(const ServerOptions& options, Scheduler& scheduler, Logger& log)
    : opt_(options), sched_(scheduler), log_(log), rng_(options.seed ^ 0xA5A5A5A5ull),
      accounts_(options.coins) {
    QObject::connect(&listener_, &QTcpServer::newConnection, this, [this] { OnNewConnection(); });
}

Server::~Server() {
    stopping_ = true;
    tables_.clear();
    // Taken out first: closing a socket can report the disconnect at once.
    std::map<int, Connection*> conns;
    conns.swap(conns_);
    for (auto& [id, c] : conns) {
        if (c->timer) sched_.Cancel(c->timer);
        c->socket->disconnect(c);
        c->socket->abort();
        delete c;
    }
}

TableOptions Server::TableOptionsFor(int humanSeats) const {
    TableOptions t;
    t.humanSeats = humanSeats;
    t.thinkMs = opt_.fast ? 0 : opt_.thinkMs;
    t.readyMs = opt_.fast ? 0 : opt_.readyMs;
    t.dealMs = opt_.fast ? 0 : opt_.dealMs;
    t.firstStartMs = opt_.fast ? 0 : opt_.startSeconds * 1000;
    t.nextStartMs = opt_.fast ? 0 : 2 * opt_.startSeconds * 1000;
    t.turnMs = opt_.turnSeconds * 1000;
    t.botCoins = opt_.coins;
    t.verbose = !opt_.fast;
    return t;
}

bool Server::Listen() {
    const QHostAddress loopback(QHostAddress::LocalHost);
    if (opt_.port != 0) {
        if (!listener_.listen(loopback, quint16(opt_.port))) {
            log_.Event("listen_failed", {{"port", opt_.port}, {"error", listener_.errorString().toStdString()}});
            return false;
        }
        port_ = opt_.port;
    } else {
        std::random_device rd;
        Rng pick(uint64_t(rd()) << 32 | rd());
        for (int attempt = 0; attempt < 200 && !port_; ++attempt) {
            const int p = 20000 + int(pick.Below(32767 - 20000 + 1));
            if (listener_.listen(loopback, quint16(p))) port_ = p;
        }
        if (!port_) {
            log_.Event("listen_failed", {{"port", "auto"}});
            return false;
        }
    }
    log_.Event("listening", {{"host", "127.0.0.1"}, {"port", port_}, {"bots", opt_.bots},
                             {"fast", opt_.fast}, {"seed", opt_.seed}});
    if (opt_.bots >= 4)
        for (int i = 0; i < opt_.tables; ++i) NewTable(0);
    return true;
}

Table* Server::NewTable(int humanSeats) {
    const int id = nextTableId_++;
    auto table = std::make_unique<Table>(id, opt_.rules, TableOptionsFor(humanSeats), sched_, log_, *this,
                                         opt_.seed ^ (0x9E3779B97F4A7C15ull * uint64_t(id)));
    Table* t = table.get();
    tables_.emplace(id, std::move(table));
    t->Open();
    return t;
}

Table* Server::FindTable(int id) {
    auto it = tables_.find(id);
    return it == tables_.end() || it->second->State() == TableState::Closed ? nullptr : it->second.get();
}

Table* Server::JoinableTable() {
    for (auto& [id, t] : tables_)
        if (t->Joinable()) return t.get();
    return nullptr;
}

uint16_t Server::NewTag() {
    for (;;) {
        const uint16_t tag = uint16_t(1 + rng_.Below(0xFFFF));
        bool used = false;
        for (auto& [id, c] : conns_) used |= c->tag == tag;
        if (!used) return tag;
    }
}

Connection* Server::ConnectionOf(const std::string& name) {
    for (auto& [id, c] : conns_)
        if (c->name == name && c->phase == Connection::Phase::Seated) return c;
    return nullptr;
}

void Server::OnNewConnection() {
    while (QTcpSocket* s = listener_.nextPendingConnection()) {
        if (stopping_) {
            s->abort();
            s->deleteLater();
            continue;
        }
        auto* c = new Connection(nextConnId_++, s, *this);
        conns_.emplace(c->id, c);
        log_.Event("connect", {{"conn", c->id}, {"peer_port", int(s->peerPort())}});
        ArmConnectionTimer(c, kLoginTimeoutMs);
        if (s->bytesAvailable()) OnBytes(c);
    }
}

void Server::ArmConnectionTimer(Connection* c, int64_t ms) {
    if (c->timer) sched_.Cancel(c->timer);
    const int id = c->id;
    c->timer = sched_.After(ms, [this, id] {
        auto it = conns_.find(id);
        if (it == conns_.end()) return;
        Connection* conn = it->second;
        conn->timer = 0;
        if (conn->phase == Connection::Phase::AwaitLogin || conn->phase == Connection::Phase::Detached) {
            log_.Event("timeout", {{"conn", id}, {"phase", conn->phase == Connection::Phase::AwaitLogin
                                                              ? "login" : "no_table"}});
            conn->CloseSoon();
        }
    });
}

void Server::OnBytes(Connection* c) {
    char buf[4096];
    while (c->phase != Connection::Phase::Closing && c->socket->bytesAvailable() > 0) {
        const qint64 n = c->socket->read(buf, sizeof buf);
        if (n <= 0) break;
        for (qint64 i = 0; i < n && c->phase != Connection::Phase::Closing;) {
            const qint64 take = std::min<qint64>(n - i, 272 - c->fill);
            std::memcpy(c->partial.data() + c->fill, buf + i, size_t(take));
            c->fill += int(take);
            i += take;
            if (c->fill == 272) {
                c->fill = 0;
                PacketFrame f;
                std::memcpy(f.data(), c->partial.data(), 272);
                HandleFrame(c, f);
            }
        }
    }
    if (c->phase == Connection::Phase::Closing) c->socket->readAll();
}

void Server::OnDisconnected(Connection* c) {
    auto it = conns_.find(c->id);
    if (it == conns_.end() || it->second != c) return;
    if (c->phase == Connection::Phase::Seated) {
        if (Table* t = FindTable(c->tableId)) t->OnLinkLost(c->seat);
    }
    log_.Event("disconnect", {{"conn", c->id}, {"name", c->name}, {"invalid_frames", c->invalidCount}});
    RemoveConnection(c);
}

void Server::RemoveConnection(Connection* c) {
    c->phase = Connection::Phase::Closing;
    if (c->timer) sched_.Cancel(c->timer);
    c->timer = 0;
    conns_.erase(c->id);
    c->socket->disconnect(c);
    c->deleteLater();
}

void Server::Invalid(Connection* c, const char* why, const PacketFrame& f) {
    ++c->invalidCount;
    if (c->invalidLogged < kInvalidLogLimit) {
        ++c->invalidLogged;
        log_.Event("invalid", {{"conn", c->id}, {"why", why}, {"type", int(f[3])}});
    } else if (c->invalidLogged == kInvalidLogLimit) {
        ++c->invalidLogged;
        log_.Event("invalid_suppressed", {{"conn", c->id}, {"after", kInvalidLogLimit}});
    }
}

void Server::HandleFrame(Connection* c, const PacketFrame& f) {
    const uint8_t type = f[3];
    if (type == kKeepAlive) return;
    if (type == 0) {
        bool zero = true;
        for (uint8_t b : f) zero &= b == 0;
        if (!zero) Invalid(c, "garbage", f);
        return;
    }
    switch (c->phase) {
        case Connection::Phase::AwaitLogin:
            if (type == kLogin) HandleLogin(c, f);
            else Invalid(c, "before_login", f);
            return;
        case Connection::Phase::Detached:
            if (type == kReadyOrLeave && f[15] == 0) {
                log_.Event("leave", {{"conn", c->id}, {"name", c->name}, {"why", "after_table_end"}});
                c->CloseSoon();
            } else {
                Invalid(c, "no_table", f);
            }
            return;
        case Connection::Phase::Closing:
            return;
        case Connection::Phase::Seated:
            break;
    }
    Table* t = FindTable(c->tableId);
    if (!t) {
        Invalid(c, "no_table", f);
        return;
    }
    switch (type) {
        case kActionFrame:
        case kChat:
            t->OnFrame(c->seat, f);
            return;
        case kReadyOrLeave:
            if (f[15] == 0) {
                c->phase = Connection::Phase::Closing;
                t->Leave(c->seat, "leave");
                c->CloseSoon();
            } else {
                t->OnFrame(c->seat, f);
            }
            return;
        case kLogin:
            Invalid(c, "second_login", f);
            return;
        default:
            Invalid(c, "unknown_type", f);
    }
}

void Server::Refuse(Connection* c, uint8_t result, const char* why) {
    log_.Event("login_refused", {{"conn", c->id}, {"result", int(result)}, {"why", why}});
    c->SendFrame(LoginReplyFrame(result, {}));
    c->CloseSoon();
}

void Server::HandleLogin(Connection* c, const PacketFrame& f) {
    const LoginRequest req = ParseLogin(f, opt_.key);
    if (opt_.refuse == 2 || opt_.refuse == 3) return Refuse(c, uint8_t(opt_.refuse), "refuse_option");
    if (!req.valid) return Refuse(c, 3, req.problem.c_str());
    if (req.name.rfind("bot-", 0) == 0) return Refuse(c, 3, "reserved_name");
    if (kicked_.count(req.name)) return Refuse(c, 3, "kicked");

    if (req.reconnectMark) {
        for (auto& [id, t] : tables_) {
            if (t->State() == TableState::Closed) continue;
            const int seat = t->HeldSeat(req.name, req.tag);
            if (seat < 0) continue;
            if (c->timer) sched_.Cancel(c->timer);
            c->timer = 0;
            c->name = req.name;
            c->tag = req.tag;
            c->phase = Connection::Phase::Seated;
            c->tableId = t->Id();
            c->seat = seat;
            log_.Event("login", {{"conn", c->id}, {"name", req.name}, {"kind", "reconnect"},
                                 {"table", t->Id()}, {"seat", seat}});
            t->Reconnect(seat, c);
            return;
        }
        log_.Event("stale_reconnect_mark", {{"conn", c->id}, {"name", req.name}});
    }

    for (auto& [id, t] : tables_)
        if (t->State() != TableState::Closed && t->HasAccount(req.name)) return Refuse(c, 3, "name_in_use");
    for (auto& [id, other] : conns_)
        if (other != c && other->name == req.name && other->phase == Connection::Phase::Seated)
            return Refuse(c, 3, "name_in_use");

    Table* t = JoinableTable();
    if (!t && opt_.bots < 4 && !stopping_) t = NewTable(4 - opt_.bots);
    if (!t) return Refuse(c, 2, "no_seat");

    if (c->timer) sched_.Cancel(c->timer);
    c->timer = 0;
    Profile& account = accounts_.Login(req.name, ReserveCoins(opt_.rules));
    c->name = req.name;
    c->tag = NewTag();
    c->phase = Connection::Phase::Seated;
    c->tableId = t->Id();
    log_.Event("login", {{"conn", c->id}, {"name", req.name}, {"kind", "login"}, {"table", t->Id()}});
    c->SendFrame(LoginReplyFrame(1, opt_.newsUrl));
    c->seat = t->SeatHuman(account, c, c->tag);
}

void Server::SeatReleased(FrameSink* sink) {
    for (auto& [id, c] : conns_) {
        if (static_cast<FrameSink*>(c) != sink) continue;
        if (c->phase == Connection::Phase::Seated) {
            c->phase = Connection::Phase::Detached;
            c->tableId = -1;
            c->seat = -1;
            ArmConnectionTimer(c, kDetachedTimeoutMs);
        }
        return;
    }
}

void Server::TableEnded(int tableId) {
    // Removed once the table's own call has returned.
    sched_.After(0, [this, tableId] {
        auto it = tables_.find(tableId);
        if (it == tables_.end()) return;
        closedLedger_ += it->second->Accounts();
        ++closedTables_;
        tables_.erase(it);
        if (opt_.bots >= 4 && !stopping_) NewTable(0);
    });
}

void Server::HandSettled(int tableId) {
    ++handsSettled_;
    if (handsSettled_ == 1) rssFirstKb_ = ReadProcStatusKb("VmRSS");
    if (opt_.hands > 0 && handsSettled_ >= opt_.hands && !summarised_) {
        summarised_ = true;
        const RunSummary s = Summary();
        if (onSummary) onSummary(s);
        Stop(s.conserved && s.settled + s.abandoned + s.inFlight == s.started ? 0 : 1);
    }
}

RunSummary Server::Summary() const {
    RunSummary s;
    s.hands = handsSettled_;
    s.seconds = sched_.NowMs() / 1000.0;
    Table::Ledger l = closedLedger_;
    int64_t seated = 0;
    for (const auto& [id, t] : tables_) {
        l += t->Accounts();
        seated += t->CoinsSeated();
        if (t->CurrentHand() && !t->CurrentHand()->Over()) ++s.inFlight;
    }
    s.started = l.handsStarted;
    s.settled = l.handsSettled;
    s.abandoned = l.handsAbandoned;
    s.coinsIn = l.coinsIn;
    s.coinsOut = l.coinsOut;
    s.coinsSeated = seated;
    s.tax = l.tax;
    s.tables = closedTables_ + int64_t(tables_.size());
    s.endedForCoins = l.ended_for_coins;
    s.conserved = l.coinsIn == l.coinsOut + seated + l.tax;
    s.rssFirstKb = rssFirstKb_;
    s.rssEndKb = ReadProcStatusKb("VmRSS");
    s.hwmKb = ReadProcStatusKb("VmHWM");
    return s;
}

void Server::Stop(int code) {
    if (stopping_) return;
    stopping_ = true;
    log_.Event("stopping", {{"code", code}});
    // No table plays on: people are told, bot tables just close.
    for (auto& [id, t] : tables_) t->Notice(QString::fromUtf8("服务器已关闭，游戏结束！"));
    // Let queued frames leave before the process ends.
    for (auto& [id, c] : conns_) c->CloseSoon();
    sched_.After(300, [this, code] {
        if (onStop) onStop(code);
    });
}

void Server::Command(const QString& rawLine) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty()) return;
    const QString word = line.section(' ', 0, 0);
    const QString rest = line.section(' ', 1).trimmed();
    if (word == "notice") {
        bool ok = false;
        const int id = rest.section(' ', 0, 0).toInt(&ok);
        const QString text = rest.section(' ', 1).trimmed();
        Table* t = ok ? FindTable(id) : nullptr;
        if (!t || text.isEmpty()) {
            log_.Event("command_failed", {{"command", "notice"}, {"why", t ? "no_text" : "no_such_table"}});
            return;
        }
        log_.Event("command", {{"command", "notice"}, {"table", id}});
        t->Notice(text);
    } else if (word == "kick") {
        const std::string name = rest.toStdString();
        bool found = false;
        for (auto& [id, t] : tables_) {
            if (t->State() == TableState::Closed) continue;
            const int seat = t->SeatOf(name);
            if (seat < 0) continue;
            found = true;
            Connection* c = ConnectionOf(name);
            if (c) c->phase = Connection::Phase::Closing;
            t->Leave(seat, "kick");
            if (c) c->CloseSoon();
            break;
        }
        if (!name.empty()) kicked_.insert(name);
        log_.Event("command", {{"command", "kick"}, {"name", name}, {"found", found}});
    } else if (word == "tables") {
        for (auto& [id, t] : tables_) {
            std::string players;
            for (int s = 0; s < 4; ++s) {
                const Profile* p = t->SeatProfile(s);
                if (!players.empty()) players += ',';
                players += p ? p->account + (t->Held(s) ? "(held)" : "") : "-";
            }
            log_.Event("table", {{"table", id}, {"state", TableStateName(t->State())},
                                 {"hands", t->Accounts().handsSettled}, {"players", players}});
        }
        log_.Event("tables", {{"count", int64_t(tables_.size())}, {"connections", int64_t(conns_.size())}});
    } else if (word == "quit") {
        log_.Event("command", {{"command", "quit"}});
        Stop(0);
    } else if (word == "help") {
        log_.Event("help", {{"commands", "notice <table> <text>; kick <name>; tables; quit"}});
    } else {
        log_.Event("command_unknown", {{"command", word.toStdString()}});
    }
}

}  // namespace sorvik::server
