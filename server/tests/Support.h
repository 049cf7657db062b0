#pragma once
// Shared pieces of the server tests: client frames, a recording sink, a table rig on
// virtual time, and a loopback client with an event-loop wait.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTcpSocket>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Frames.h"
#include "Log.h"
#include "Profile.h"
#include "Scheduler.h"
#include "Table.h"

namespace sorvik::server::test {

// Client-built frames, as the client fills them.
PacketFrame ActionFrame(int seat, uint8_t code, int arg);
PacketFrame ReadyFrame(int seat);
PacketFrame LeaveFrame(int seat);
PacketFrame ChatFrame(int seat, uint8_t addressee, const std::string& text);
PacketFrame LoginFrame(const std::string& name, const std::string& key);
PacketFrame ReconnectLoginFrame(const std::string& name, const std::string& key, uint16_t tag);

std::vector<PacketFrame> OfType(const std::vector<PacketFrame>& frames, uint8_t type);
std::string Hex(const PacketFrame& f, int from, int to);

// Checks the four result rows of a hand at a table of room 100: each row's seat, room and
// level; the winner's flags and the 3% tax off its gross; the others losing what they put
// in; the rows adding up to minus the tax. Returns the tax.
int64_t CheckResultRows(const std::vector<PacketFrame>& rows, int winner);

class RecordingSink : public FrameSink {
public:
    void SendFrame(const PacketFrame& frame) override {
        frames.push_back(frame);
        times.push_back(clock ? clock->NowMs() : 0);
        if (onFrame) onFrame(frame);
    }
    std::vector<PacketFrame> frames;
    std::vector<int64_t> times;  // when each frame arrived, with a clock
    const Scheduler* clock = nullptr;
    std::function<void(const PacketFrame&)> onFrame;
};

class FakeHost : public TableHost {
public:
    void SeatReleased(FrameSink* sink) override { released.push_back(sink); }
    void TableEnded(int id) override { ended.push_back(id); }
    void HandSettled(int) override { ++settled; }
    std::vector<FrameSink*> released;
    std::vector<int> ended;
    int settled = 0;
};

// A table on virtual time with people at seats 0..humans-1 and bots after them.
struct TableRig {
    explicit TableRig(int humans, uint64_t seed = 1, TableOptions options = {}, Rules rules = {});
    // Seats a person with a fresh account; returns its seat.
    int SeatPerson(const std::string& name, int64_t coins = 500000);
    void Send(int seat, const PacketFrame& f) { table->OnFrame(seat, f); }
    RecordingSink& Sink(int seat) { return *sinks[seat]; }
    std::vector<std::string> logLines;
    VirtualScheduler sched;
    Logger log;
    FakeHost host;
    AccountBook accounts{500000};
    Rules rules;
    std::unique_ptr<Table> table;
    std::vector<std::unique_ptr<RecordingSink>> sinks;
    bool LogHas(const std::string& needle) const;
};

// Moves virtual time in small steps until `done`; false if `maxMs` passed first.
bool AdvanceUntil(VirtualScheduler& sched, const std::function<bool()>& done, int64_t maxMs,
                  int64_t stepMs = 50);
// The last turn update among the frames offers the turn to `seat` (byte 12).
bool TurnOffered(const std::vector<PacketFrame>& frames, int seat);
const PacketFrame* LastOfType(const std::vector<PacketFrame>& frames, uint8_t type);

// A Qt application for the loopback tests, created once.
void EnsureApp();
// Runs the event loop until `done` or `ms` pass; returns done().
bool WaitFor(const std::function<bool()>& done, int ms);

// A client on loopback that cuts what arrives into frames.
class LoopbackClient {
public:
    explicit LoopbackClient(int port);
    bool Connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    bool WaitConnected(int ms = 3000);
    // Sends one frame, in chunks of the given sizes (the rest in one piece).
    void Send(const PacketFrame& f, const std::vector<int>& chunks = {});
    void SendBytes(const QByteArray& bytes);
    // Waits for the next frame (of `type` when not 0); false on timeout.
    bool Next(PacketFrame& out, int ms = 5000, uint8_t type = 0);
    bool WaitClosed(int ms = 5000);
    void Close() { socket_.abort(); }
    std::vector<PacketFrame> received;  // every frame, in order
    size_t cursor = 0;                  // frames already handed out by Next

private:
    void Pull();
    QTcpSocket socket_;
    QByteArray pending_;
};

// sorvik-server as a process on a port it picks itself.
class ServerProcess {
public:
    explicit ServerProcess(const QStringList& args);
    ~ServerProcess();
    bool Started() const { return port_ > 0; }
    int Port() const { return port_; }
    QString Stderr();
    QString Stdout();
    bool WaitStderr(const QString& needle, int ms);
    bool WaitFinished(int ms);
    int ExitCode() const { return process_.exitCode(); }
    void Write(const QByteArray& line) { process_.write(line); }
    void CloseInput() { process_.closeWriteChannel(); }

private:
    QProcess process_;
    QString err_, out_;
    int port_ = 0;
};

}  // namespace sorvik::server::test
