#include "ClientHarness.h"

#include "platform/Gbk.h"

namespace sorvik::test {

QString LineFields::Join() const {
    const QString fields[13] = {user,       key,           host,         port,       location,
                                proxyType,  proxyHost,     proxyPort,    proxyUser,  proxyPassword,
                                customTitles, lobbyTitle, caption};
    QString line;
    for (const QString& f : fields) line += f + "$";
    return line;
}

PacketFrame ServerFrame(uint8_t type) {
    PacketFrame f{};
    f[3] = type;
    return f;
}

namespace {

void PutText(PacketFrame& f, int at, const std::string& bytes) {
    std::copy(bytes.begin(), bytes.end(), f.begin() + at);
}

void PutLe(PacketFrame& f, int at, uint64_t v, int width) {
    for (int i = 0; i < width; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

PacketFrame UserInfoFrame(uint8_t ownSeat, const Player& p) {
    PacketFrame f = ServerFrame(kUserInfo);
    f[6] = ownSeat;
    PutText(f, 16, gbk::Encode(p.nick));
    PutText(f, 48, p.face.toStdString());
    f[64] = 1;
    PutText(f, 72, gbk::Encode(QStringLiteral("上海")));
    PutLe(f, 80, 500, 8);
    PutLe(f, 96, static_cast<uint64_t>(p.coins), 8);
    PutText(f, 112, gbk::Encode(p.level));
    PutText(f, 168, p.account.toStdString());
    PutText(f, 184, gbk::Encode(p.title));
    f[208] = p.ready ? 1 : 0;
    f[226] = p.seat;
    return f;
}

PacketFrame TurnFrame(uint8_t actor, uint8_t action, uint8_t next, uint8_t mask, uint8_t stake,
                      uint8_t put) {
    PacketFrame f = ServerFrame(kTurnUpdate);
    f[6] = actor;
    f[9] = action;
    f[11] = mask;
    f[12] = next;
    f[14] = put;
    f[15] = stake;
    return f;
}

void PutCard(PacketFrame& f, int at, int rank, int suitBit) {
    f[at] = static_cast<uint8_t>(suitBit);
    f[at + 1] = static_cast<uint8_t>(rank);
}

PacketFrame ResultFrame(uint8_t seat, bool won, uint64_t gross, uint64_t final, uint8_t level,
                        uint32_t room) {
    PacketFrame f = ServerFrame(kGameResult);
    f[6] = seat;
    f[8] = static_cast<uint8_t>(room >> 24);
    f[9] = static_cast<uint8_t>(room >> 16);
    f[10] = static_cast<uint8_t>(room >> 8);
    f[11] = static_cast<uint8_t>(room);
    f[15] = 1;
    f[16] = won ? 1 : 0;
    PutLe(f, 17, gross, 8);
    f[25] = won ? 1 : 0;
    PutLe(f, 26, final, 8);
    f[91] = level;
    return f;
}

ClientHarness::ClientHarness(const PictureSource* pictures) {
    client = std::make_unique<TableClient>(
        ClientSeams{loop, socket, lobby, desktop, sound, pictures, &peers, &capture});
}

ClientHarness::~ClientHarness() { client.reset(); }

bool ClientHarness::Start(const QString& commandLine) {
    return Call([&] { client->Load(commandLine); });
}

void ClientHarness::Connect() {
    loop.RunUntil([&] { return client->state().LoginPending; }, 2.0);
}

void ClientHarness::LogIn() {
    Connect();
    PacketFrame reply = ServerFrame(kLogin);
    reply[15] = 1;
    reply[11] = 15;
    socket.Deliver(reply);
    loop.RunUntil([&] { return client->state().LoginAccepted; }, 1.0);
}

bool ClientHarness::Run(double seconds) {
    return Call([&] { loop.RunFor(seconds); });
}

}  // namespace sorvik::test
