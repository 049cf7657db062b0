#pragma once
// Fakes of the socket, the lobby link and the desktop that record what the client did
// and answer for the server, the lobby and the user.

#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Desktop.h"
#include "platform/LobbyLink.h"
#include "platform/StreamSocket.h"
#include "session/core/Transport.h"
#include "sound/SoundDevice.h"
#include "video/core/VideoComponent.h"

namespace sorvik::test {

class VirtualEventLoop;

// The program ended: thrown by FakeDesktop::EndProgram so the test regains control.
struct ProgramEnded {
    int code;
};

class FakeSocket final : public StreamSocket {
public:
    explicit FakeSocket(VirtualEventLoop& loop) : loop_(loop) {}
    void SetRemote(const std::string& host, int port) override {
        host_ = host;
        port_ = port;
    }
    void Connect() override;
    int State() const override { return state_; }
    void SendData(const uint8_t* data, size_t size) override;
    void Close() override;

    // The server side.
    void Accept() { state_ = kSocketConnected; }
    void Deliver(const uint8_t* data, size_t size);
    void Deliver(const PacketFrame& f) { Deliver(f.data(), f.size()); }
    void PeerClose();
    // Whole 272-byte frames written so far (bytes that do not fill a frame are in `raw`).
    std::vector<PacketFrame> Frames() const;
    std::vector<PacketFrame> FramesOfType(uint8_t type) const;

    // A connect completes this many milliseconds later; -1 leaves it pending.
    int acceptAfterMs = 0;
    // While set, a connect fails instead (the server is unreachable).
    bool refuse = false;
    std::string raw;
    std::vector<double> sendTimes;   // virtual time of each SendData call
    std::vector<double> closeTimes;  // virtual time of each Close call
    int connects = 0;
    int closes = 0;
    std::string host_;
    int port_ = 0;

private:
    VirtualEventLoop& loop_;
    int state_ = kSocketClosed;
    unsigned attempt_ = 0;
};

class FakeLobbyLink final : public LobbyLink {
public:
    bool FindWindow(const QString& title) override {
        return (lobbyPresent && title == lobbyTitle) || otherWindows.contains(title);
    }
    bool Post(const QString& title, uint32_t message, uint32_t wParam, uint32_t lParam) override;
    bool Register(const QString& title) override {
        registered = title;
        return true;
    }
    void Unregister() override { registered.clear(); }
    bool AcquireInstanceLock() override { return !otherInstance; }

    // The lobby's side: post a message to the client's window.
    void SendToClient(uint32_t message, uint32_t wParam = 0, uint32_t lParam = 0) {
        if (onMessage) onMessage(message, wParam, lParam);
    }
    // The codes posted to the lobby, system commands as 0x0112 with their command.
    std::vector<uint32_t> Codes() const;
    std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> posted;
    bool lobbyPresent = true;
    QString lobbyTitle = QStringLiteral("Morvel山庄");
    bool otherInstance = false;
    QString registered;
    QStringList otherWindows;  // other findable windows (the music player, say)
};

class FakeDesktop final : public Desktop {
public:
    MessageResult ShowMessage(const QString& text, const QString& title,
                              MessageButtons buttons) override {
        boxes.emplace_back(text, title);
        return answer;
    }
    QSize ScreenSize() const override { return screen; }
    bool OpenUrl(const QString& url) override {
        opened << url;
        return true;
    }
    bool StartProgram(const QString& path, const QStringList& arguments) override {
        started << path;
        startedArguments << arguments;
        return true;
    }
    [[noreturn]] void EndProgram(int code) override {
        ended = true;
        throw ProgramEnded{code};
    }
    QString ProgramFolder() const override { return folder; }

    std::vector<std::pair<QString, QString>> boxes;
    MessageResult answer = MessageResult::Ok;
    QSize screen{1280, 1024};
    QStringList opened, started, startedArguments;
    bool ended = false;
    QString folder = QStringLiteral("/nonexistent-sorvik-folder");
};

// Records what was played; no device when `present` is false.
class FakeSoundDevice final : public SoundDevice {
public:
    bool Init() override { return present; }
    bool Play(const QString& path, bool looping) override {
        if (!present) return false;
        played.push_back({path, looping});
        current = path;
        return true;
    }
    bool Stop() override {
        current.clear();
        ++stops;
        return present;
    }
    bool SetVolume(int hundredthsOfDecibel) override {
        volume = hundredthsOfDecibel;
        return present;
    }
    // File names (without folders) played so far.
    QStringList Names() const;
    struct Played {
        QString path;
        bool looping;
    };
    std::vector<Played> played;
    QString current;
    int stops = 0;
    int volume = -1;
    bool present = true;
};

// The relay link as the table sees it: slots the test sets, calls recorded.
class FakePeerTransport final : public PeerTransport {
public:
    void SetSlotCount(int n) override { slotCount = n; }
    int SlotCount() const override { return slotCount; }
    void Login(const QString& account) override { logins.push_back(account); }
    void Logout() override { ++logouts; }
    QString SlotUser(int slot) const override { return slot >= 1 && slot <= 3 ? users[slot] : QString(); }
    int SlotState(int slot) const override { return slot >= 1 && slot <= 3 ? states[slot] : 0; }
    void RequestVideo(int slot, const QString& account) override {
        requests.push_back({slot, account});
        users[slot] = account;
        states[slot] = 1;
    }
    void CloseSlot(int slot) override {
        closes.push_back(slot);
        users[slot].clear();
        states[slot] = 0;
    }
    void SendFormat(int format, int slot) override { sent.push_back({slot, "format"}); }
    void SendMode(int mode, int slot) override { sent.push_back({slot, "mode"}); }
    void SendData(const QByteArray& data, int slot) override { sent.push_back({slot, data}); }

    int slotCount = 0;
    QString users[4];
    int states[4] = {};
    std::vector<QString> logins;
    int logouts = 0;
    std::vector<std::pair<int, QString>> requests;
    std::vector<int> closes;
    std::vector<std::pair<int, QByteArray>> sent;
};

// A camera that is there (or not); frames come when the test says.
class FakeCapture final : public CaptureDevice {
public:
    void InitCapture() override { ++inits; }
    int StartCapture() override {
        ++starts;
        return present ? 0 : 1;
    }
    void StopCapture() override { ++stops; }
    void CloseCapture() override { ++closes; }
    int StreamFormat() const override { return 7; }
    bool present = true;
    int inits = 0, starts = 0, stops = 0, closes = 0;
};

}  // namespace sorvik::test
