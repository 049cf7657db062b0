#pragma once
// The network side: a loopback listener, one connection per client cut into 272-byte
// frames, the login check, seating at tables, reconnects, the operator's commands and the
// summary of a counted run.

#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "Log.h"
#include "Profile.h"
#include "Rules.h"
#include "Scheduler.h"
#include "Table.h"

namespace sorvik::server {

struct ServerOptions {
    int port = 20000;      // 0: any free port in 20000..32767
    int bots = 3;          // bots per table
    int tables = 1;        // bot-only tables when every seat is a bot
    int64_t thinkMs = 1200;
    int64_t readyMs = 5000;
    int64_t dealMs = 4000;
    int64_t turnSeconds = 30;
    int64_t startSeconds = 15;
    uint64_t seed = 0;
    bool fast = false;
    std::optional<std::string> key;
    int refuse = 0;        // 2 or 3: every login gets this result
    std::string newsUrl;
    int64_t hands = 0;     // stop after this many settled hands, with a summary
    Rules rules;
    int64_t coins = 500000;  // a new account's coins, and every bot's
};

class Server;

class Connection : public QObject, public FrameSink {
public:
    enum class Phase { AwaitLogin, Seated, Detached, Closing };
    Connection(int id, QTcpSocket* socket, Server& server);
    void SendFrame(const PacketFrame& frame) override;
    // Sends what is queued, then closes.
    void CloseSoon();

    int id;
    QTcpSocket* socket;
    Phase phase = Phase::AwaitLogin;
    int tableId = -1;
    int seat = -1;
    std::string name;
    uint16_t tag = 0;
    int invalidLogged = 0;
    int64_t invalidCount = 0;
    std::array<uint8_t, 272> partial{};
    int fill = 0;
    Scheduler::Id timer = 0;

private:
    Server& server_;
};

struct RunSummary {
    int64_t hands = 0;
    double seconds = 0;
    int64_t started = 0, settled = 0, abandoned = 0, inFlight = 0;
    int64_t coinsIn = 0, coinsOut = 0, coinsSeated = 0, tax = 0;
    int64_t tables = 0, endedForCoins = 0;
    long rssFirstKb = 0, rssEndKb = 0, hwmKb = 0;
    bool conserved = false;
    std::string Line() const;
};

long ReadProcStatusKb(const char* field);  // VmRSS, VmHWM of this process

class Server : public QObject, public TableHost {
public:
    Server(const ServerOptions& options, Scheduler& scheduler, Logger& log);
    ~Server() override;

    // Listens on 127.0.0.1; port 0 picks a free one in 20000..32767.
    bool Listen();
    int Port() const { return port_; }
    // One operator command line.
    void Command(const QString& line);
    // Called when the server should stop (quit command, counted run done), with the exit code.
    std::function<void(int)> onStop;
    // Called once with the summary of a counted run.
    std::function<void(const RunSummary&)> onSummary;

    RunSummary Summary() const;
    int TableCount() const { return int(tables_.size()); }
    Table* FindTable(int id);

    // TableHost
    void SeatReleased(FrameSink* sink) override;
    void TableEnded(int tableId) override;
    void HandSettled(int tableId) override;

    // Used by Connection.
    void OnBytes(Connection* c);
    void OnDisconnected(Connection* c);

private:
    void OnNewConnection();
    void HandleFrame(Connection* c, const PacketFrame& f);
    void HandleLogin(Connection* c, const PacketFrame& f);
    void Refuse(Connection* c, uint8_t result, const char* why);
    void Invalid(Connection* c, const char* why, const PacketFrame& f);
    void ArmConnectionTimer(Connection* c, int64_t ms);
    Table* NewTable(int humanSeats);
    Table* JoinableTable();
    uint16_t NewTag();
    Connection* ConnectionOf(const std::string& name);
    void RemoveConnection(Connection* c);
    void Stop(int code);
    TableOptions TableOptionsFor(int humanSeats) const;

    ServerOptions opt_;
    Scheduler& sched_;
    Logger& log_;
    QTcpServer listener_;
    int port_ = 0;
    Rng rng_;
    AccountBook accounts_;
    std::map<int, std::unique_ptr<Table>> tables_;
    std::map<int, Connection*> conns_;
    std::set<std::string> kicked_;
    int nextTableId_ = 1;
    int nextConnId_ = 1;
    bool stopping_ = false;
    bool summarised_ = false;
    int64_t handsSettled_ = 0;
    int64_t firstHandMs_ = -1;
    long rssFirstKb_ = 0;
    Table::Ledger closedLedger_;
    int64_t closedTables_ = 0;
};

}  // namespace sorvik::server
