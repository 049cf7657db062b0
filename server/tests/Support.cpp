#include "Support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>

namespace sorvik::server::test {

PacketFrame ActionFrame(int seat, uint8_t code, int arg) {
    PacketFrame f{};
    f[3] = kActionFrame;
    f[6] = SeatBit(seat);
    f[9] = code;
    f[15] = uint8_t(arg);
    return f;
}

PacketFrame ReadyFrame(int seat) {
    PacketFrame f{};
    f[3] = kReadyOrLeave;
    f[6] = SeatBit(seat);
    f[15] = 1;
    return f;
}

PacketFrame LeaveFrame(int seat) {
    PacketFrame f{};
    f[3] = kReadyOrLeave;
    f[6] = SeatBit(seat);
    return f;
}

PacketFrame ChatFrame(int seat, uint8_t addressee, const std::string& text) {
    PacketFrame f{};
    f[3] = kChat;
    f[6] = SeatBit(seat);
    f[11] = addressee;
    for (size_t i = 0; i < text.size() && i < 200; ++i) f[16 + i] = uint8_t(text[i]);
    return f;
}

PacketFrame LoginFrame(const std::string& name, const std::string& key) {
    PacketFrame f{};
    f[3] = kLogin;
    for (size_t i = 0; i < name.size() && i < 16; ++i) f[16 + i] = uint8_t(name[i]);
    for (size_t i = 0; i < key.size() && i < 240; ++i) f[32 + i] = uint8_t(key[i]);
    return f;
}

PacketFrame ReconnectLoginFrame(const std::string& name, const std::string& key, uint16_t tag) {
    PacketFrame f = LoginFrame(name, key);
    f[4] = 28;
    f[261] = uint8_t(tag & 0xFF);
    f[262] = uint8_t(tag >> 8);
    return f;
}

std::vector<PacketFrame> OfType(const std::vector<PacketFrame>& frames, uint8_t type) {
    std::vector<PacketFrame> out;
    for (const PacketFrame& f : frames)
        if (f[3] == type) out.push_back(f);
    return out;
}

int64_t CheckResultRows(const std::vector<PacketFrame>& rows, int winner) {
    EXPECT_EQ(rows.size(), 4u);
    int64_t sum = 0, tax = 0;
    for (int s = 0; s < 4 && s < static_cast<int>(rows.size()); ++s) {
        const PacketFrame& r = rows[s];
        EXPECT_EQ(r[6], SeatBit(s));
        EXPECT_EQ(Hex(r, 8, 11), "00000064");
        EXPECT_EQ(r[15], 1);
        EXPECT_GE(r[91], 1);
        EXPECT_LE(r[91], 40);
        const int64_t gross = int64_t(ReadFrameNumber(r, 17, 8));
        const int64_t final = int64_t(ReadFrameNumber(r, 26, 8));
        if (s == winner) {
            EXPECT_EQ(r[16], 1);
            EXPECT_EQ(r[25], 1);
            EXPECT_EQ(final, gross - gross * 3 / 100);
            tax = gross - final;
            sum += final;
        } else {
            EXPECT_EQ(r[16], 0);
            EXPECT_EQ(r[25], 0);
            EXPECT_EQ(final, gross);
            sum -= final;
        }
    }
    EXPECT_EQ(sum, -tax);
    return tax;
}

std::string Hex(const PacketFrame& f, int from, int to) {
    std::string s;
    char buf[4];
    for (int i = from; i <= to; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", f[i]);
        s += buf;
    }
    return s;
}

TableRig::TableRig(int humans, uint64_t seed, TableOptions options, Rules tableRules) : rules(tableRules) {
    log.SetSink([this](const std::string& line) { logLines.push_back(line); });
    options.humanSeats = humans;
    table = std::make_unique<Table>(1, rules, options, sched, log, host, seed);
    table->Open();
    for (int i = 0; i < 4; ++i) {
        sinks.push_back(std::make_unique<RecordingSink>());
        sinks.back()->clock = &sched;
    }
}

int TableRig::SeatPerson(const std::string& name, int64_t coins) {
    Profile& p = accounts.Login(name, 0);
    p.coins = coins;
    int next = 0;
    while (next < 4 && table->SeatProfile(next)) ++next;
    if (next >= 4) return -1;
    return table->SeatHuman(p, sinks[next].get(), uint16_t(100 + next));
}

bool TableRig::LogHas(const std::string& needle) const {
    for (const std::string& l : logLines)
        if (l.find(needle) != std::string::npos) return true;
    return false;
}

bool AdvanceUntil(VirtualScheduler& sched, const std::function<bool()>& done, int64_t maxMs,
                  int64_t stepMs) {
    for (int64_t t = 0; !done(); t += stepMs) {
        if (t >= maxMs) return false;
        sched.Advance(stepMs);
    }
    return true;
}

const PacketFrame* LastOfType(const std::vector<PacketFrame>& frames, uint8_t type) {
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
        if ((*it)[3] == type) return &*it;
    return nullptr;
}

bool TurnOffered(const std::vector<PacketFrame>& frames, int seat) {
    const PacketFrame* f = LastOfType(frames, kTurnUpdate);
    return f && (*f)[12] == SeatBit(seat);
}

void EnsureApp() {
    static int argc = 1;
    static char name[] = "sorvik_server_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

LoopbackClient::LoopbackClient(int port) {
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { Pull(); });
    socket_.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
}

bool LoopbackClient::WaitConnected(int ms) { return WaitFor([this] { return Connected(); }, ms); }

void LoopbackClient::Pull() {
    pending_ += socket_.readAll();
    while (pending_.size() >= 272) {
        PacketFrame f;
        std::memcpy(f.data(), pending_.constData(), 272);
        pending_.remove(0, 272);
        received.push_back(f);
    }
}

void LoopbackClient::Send(const PacketFrame& f, const std::vector<int>& chunks) {
    const char* data = reinterpret_cast<const char*>(f.data());
    int at = 0;
    for (int c : chunks) {
        if (at + c > 272) break;
        socket_.write(data + at, c);
        socket_.flush();
        at += c;
    }
    if (at < 272) socket_.write(data + at, 272 - at);
    socket_.flush();
}

void LoopbackClient::SendBytes(const QByteArray& bytes) {
    socket_.write(bytes);
    socket_.flush();
}

bool LoopbackClient::Next(PacketFrame& out, int ms, uint8_t type) {
    bool found = false;
    WaitFor(
        [&] {
            while (cursor < received.size()) {
                const PacketFrame& f = received[cursor++];
                if (type == 0 || f[3] == type) {
                    out = f;
                    found = true;
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

bool LoopbackClient::WaitClosed(int ms) {
    return WaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, ms);
}

ServerProcess::ServerProcess(const QStringList& args) {
    EnsureApp();
    QStringList all = args;
    all << "--port" << "auto";
    process_.start(QStringLiteral(SORVIK_SERVER_PATH), all);
    if (!process_.waitForStarted(5000)) return;
    static const QRegularExpression listening("event=listening host=127.0.0.1 port=(\\d+)");
    WaitFor(
        [&] {
            const QRegularExpressionMatch m = listening.match(Stderr());
            if (m.hasMatch()) port_ = m.captured(1).toInt();
            return port_ > 0 || process_.state() == QProcess::NotRunning;
        },
        5000);
}

ServerProcess::~ServerProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString ServerProcess::Stderr() {
    err_ += QString::fromUtf8(process_.readAllStandardError());
    return err_;
}

QString ServerProcess::Stdout() {
    out_ += QString::fromUtf8(process_.readAllStandardOutput());
    return out_;
}

bool ServerProcess::WaitStderr(const QString& needle, int ms) {
    return WaitFor([&] { return Stderr().contains(needle); }, ms);
}

bool ServerProcess::WaitFinished(int ms) {
    return WaitFor([&] { return process_.state() == QProcess::NotRunning; }, ms);
}

}  // namespace sorvik::server::test
