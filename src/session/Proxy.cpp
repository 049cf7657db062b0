// Reaching the game server through a SOCKS5 proxy with user-name and password
// authentication: three messages out, three replies judged, then the login frame through
// the tunnel.

#include <QStringList>

#include "platform/Gbk.h"
#include "session/TableClient.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

// The host as four decimal parts, or nothing when it is not written that way.
std::optional<std::array<uint8_t, 4>> DottedParts(const QString& host) {
    const QStringList parts = host.split('.');
    if (parts.size() != 4) return std::nullopt;
    std::array<uint8_t, 4> bytes{};
    for (int i = 0; i < 4; ++i) {
        const QString& part = parts[i];
        if (part.isEmpty()) return std::nullopt;
        for (QChar c : part)
            if (c < '0' || c > '9') return std::nullopt;
        bool ok = false;
        const int value = part.toInt(&ok);
        bytes[i] = ok && value >= 0 && value <= 255 ? static_cast<uint8_t>(value) : 0;
    }
    return bytes;
}

// One byte per character; a character without a single-byte code leaves its byte at 0.
void AppendSingleBytes(std::string& out, const QString& text, int count) {
    for (int i = 0; i < count; ++i) {
        const uint16_t code = i < text.size() ? gbk::CodeOf(text[i]) : 0;
        out.push_back(static_cast<char>(code <= 0xFF ? code : 0));
    }
}

// Length of a complete connect reply, or 0 while it is still arriving.
int ConnectReplyLength(const ByteRing<kHandshakeSize>& b) {
    const int pending = b.Pending();
    if (pending < 5) return 0;
    const uint8_t type = b.Data[(b.Read + 3) % kHandshakeSize];
    const int address = type == 0x01 ? 4
                        : type == 0x04 ? 16
                        : type == 0x03 ? 1 + b.Data[(b.Read + 4) % kHandshakeSize]
                                       : 4;
    const int length = 4 + address + 2;
    return pending >= length ? length : 0;
}

}  // namespace

void TableClient::ConnectViaProxy() {
    transport_.RingReceive = false;
    seams_.socket.SetRemote(params_.ProxyHost.toStdString(), params_.ProxyPort);
    seams_.socket.Connect();
    const unsigned generation = ++connectGeneration_;
    const unsigned teardowns = teardowns_;
    // The same bounded wait as the direct connection; a newer attempt takes over.
    const bool up = seams_.loop.WaitUntil(
        [&] {
            return seams_.socket.State() == kSocketConnected ||
                   generation != connectGeneration_ || teardowns != teardowns_;
        },
        kConnectWaitSeconds);
    if (generation != connectGeneration_ || teardowns != teardowns_) return;
    if (!up) {
        if (!LobbyFound()) EndProgram(0);
        LeaveToLobby();
        SystemMessage(0, QStringLiteral("连接服务器超时，请重新入座！"));
        return;
    }
    state_.LoginPending = true;
    transport_.HandshakeStep = 0;
    transport_.ResetHandshakeBuffer();
    transport_.HandshakeStep = 1;
    SendHandshake(1);
    transport_.Slots.ExitClock.Arm();
}

void TableClient::SendHandshake(uint8_t step) {
    std::string message;
    switch (step) {
        case 1:
            message = {0x05, 0x02, 0x00, 0x02};
            break;
        case 3:
            message.push_back(0x01);
            message.push_back(static_cast<char>(params_.ProxyUserLength));
            AppendSingleBytes(message, params_.ProxyUser, params_.ProxyUserLength);
            message.push_back(static_cast<char>(params_.ProxyPasswordLength));
            AppendSingleBytes(message, params_.ProxyPassword, params_.ProxyPasswordLength);
            break;
        case 5: {
            message = {0x05, 0x01, 0x00};
            if (const auto parts = DottedParts(params_.ServerHost)) {
                message.push_back(0x01);
                for (uint8_t b : *parts) message.push_back(static_cast<char>(b));
            } else {
                // A name: the proxy resolves it.
                const QByteArray name = params_.ServerHost.toUtf8().left(255);
                message.push_back(0x03);
                message.push_back(static_cast<char>(name.size()));
                message.append(name.constData(), static_cast<size_t>(name.size()));
            }
            const uint16_t port = static_cast<uint16_t>(params_.ServerPort);
            message.push_back(static_cast<char>(port >> 8));
            message.push_back(static_cast<char>(port & 0xFF));
            break;
        }
        default:
            return;
    }
    transport_.ResetHandshakeBuffer();
    seams_.socket.SendData(reinterpret_cast<const uint8_t*>(message.data()), message.size());
    transport_.HandshakeStep = static_cast<uint8_t>(step + 1);
}

void TableClient::HandshakeReceived() {
    ByteRing<kHandshakeSize>& b = transport_.HandshakeBuffer;
    const uint8_t step = transport_.HandshakeStep;
    if (step != 2 && step != 4 && step != 6) return;
    // A reply is judged by its first two bytes, once both are here.
    if (b.Pending() < 2) return;
    const uint8_t b0 = b.Data[b.Read];
    const uint8_t b1 = b.Data[(b.Read + 1) % kHandshakeSize];
    QString refusal;
    if (step == 2) {
        if (b0 == 0x05 && b1 == 0x02) return SendHandshake(3);
        if (b0 == 0x05 && b1 == 0x00) return SendHandshake(5);
        refusal = QStringLiteral("请求代理失败！");
    } else if (step == 4) {
        if (b0 == 0x01 && b1 == 0x00) return SendHandshake(5);
        refusal = QStringLiteral("代理服务器用户验证失败！");
    } else {
        if (b0 == 0x05 && b1 == 0x00) {
            // The whole reply first: the server's first bytes may follow it in the same block,
            // and they belong to the frame stream.
            const int length = ConnectReplyLength(b);
            if (length == 0) return;
            std::array<uint8_t, kHandshakeSize> rest;
            const int extra = b.Pending() - length;
            for (int i = 0; i < extra; ++i) rest[i] = b.Data[(b.Read + length + i) % kHandshakeSize];
            b.Read = b.Write;
            transport_.RingReceive = true;
            NotifyLobby(kLobbyConnected);
            form_->Sysmsg[0]->clear();
            SystemMessage(0, QStringLiteral("连接代理服务器成功！"));
            seams_.socket.SendData(loginFrame_.data(), loginFrame_.size());
            StartPump();
            if (extra > 0) OnDataArrival(rest.data(), static_cast<size_t>(extra));
            return;
        }
        refusal = QStringLiteral("通过代理连接主站失败！");
    }
    transport_.HandshakeStep = 0;
    seams_.desktop.ShowMessage(refusal, QString::fromUtf8(kProgramTitle), MessageButtons::Ok);
    seams_.socket.Close();
}

}  // namespace sorvik
