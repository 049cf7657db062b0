#pragma once
// The whole client with fakes around it, in virtual time.

#include <QString>
#include <memory>

#include "Fakes.h"
#include "VirtualEventLoop.h"
#include "session/TableClient.h"

namespace sorvik::test {

struct LineFields {
    QString user = QStringLiteral("alice");
    QString key = QStringLiteral("k3y");
    QString host = QStringLiteral("127.0.0.7");
    QString port = QStringLiteral("9000");
    QString location = QStringLiteral("上海");
    QString proxyType = QStringLiteral("0");
    QString proxyHost, proxyPort = QStringLiteral("0"), proxyUser, proxyPassword;
    QString customTitles = QStringLiteral("0");
    QString lobbyTitle = QStringLiteral("Morvel山庄");
    QString caption;
    QString Join() const;  // the 13 fields, each with its "$"
};

// A frame from the server: zeroed with the type in byte 3.
PacketFrame ServerFrame(uint8_t type);

// A player description as the server sends it.
struct Player {
    uint8_t seat = 1;
    QString account = QStringLiteral("p1");
    QString nick = QStringLiteral("Nick");
    QString face = QStringLiteral("m1");
    QString title = QStringLiteral("新手");
    QString level = QStringLiteral("童生");
    double coins = 1000;
    bool ready = false;
};
PacketFrame UserInfoFrame(uint8_t ownSeat, const Player& p);
// A turn update: actor, action code, next player, its mask and stake, what the actor put in.
PacketFrame TurnFrame(uint8_t actor, uint8_t action, uint8_t next, uint8_t mask, uint8_t stake,
                      uint8_t put = 0);
// A card at a frame offset: suit bit in the low byte, rank in the next.
void PutCard(PacketFrame& f, int at, int rank, int suitBit);
// A result frame: the seat, won or lost, gross and final magnitudes, the level.
PacketFrame ResultFrame(uint8_t seat, bool won, uint64_t gross, uint64_t final, uint8_t level,
                        uint32_t room = 100);

class ClientHarness {
public:
    explicit ClientHarness(const PictureSource* pictures = nullptr);
    ~ClientHarness();

    // Runs the start-up; false when the program ended during it.
    bool Start(const QString& commandLine = LineFields().Join());
    // Runs until the login frame went out (the fake accepts connections at once).
    void Connect();
    // Connects and answers the login with an accepted reply.
    void LogIn();
    // Runs virtual time; false when the program ended meanwhile.
    bool Run(double seconds);
    // Calls `fn`; false when the program ended inside it.
    template <class F> bool Call(F&& fn) {
        try {
            fn();
            return true;
        } catch (const ProgramEnded&) {
            return false;
        }
    }

    VirtualEventLoop loop;
    FakeSocket socket{loop};
    FakeLobbyLink lobby;
    FakeDesktop desktop;
    FakeSoundDevice sound;
    FakePeerTransport peers;
    FakeCapture capture;
    std::unique_ptr<TableClient> client;
};

}  // namespace sorvik::test
