#include "ClientHarness.h"

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

ClientHarness::ClientHarness() {
    client = std::make_unique<TableClient>(ClientSeams{loop, socket, lobby, desktop, sound, nullptr});
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
