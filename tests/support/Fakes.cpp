#include "Fakes.h"

#include "VirtualEventLoop.h"

namespace sorvik::test {

void FakeSocket::Connect() {
    ++connects;
    state_ = kSocketConnecting;
    const unsigned attempt = ++attempt_;
    if (acceptAfterMs >= 0)
        loop_.SingleShot(acceptAfterMs, [this, attempt] {
            if (attempt == attempt_ && state_ == kSocketConnecting)
                state_ = refuse ? kSocketError : kSocketConnected;
        });
}

void FakeSocket::Close() {
    state_ = kSocketClosed;
    ++closes;
    closeTimes.push_back(loop_.Now());
}

void FakeSocket::SendData(const uint8_t* data, size_t size) {
    if (state_ != kSocketConnected) return;
    raw.append(reinterpret_cast<const char*>(data), size);
    sendTimes.push_back(loop_.Now());
}

void FakeSocket::Deliver(const uint8_t* data, size_t size) {
    if (onDataArrival) onDataArrival(data, size);
}

void FakeSocket::PeerClose() {
    state_ = kSocketClosed;
    if (onPeerClosed) onPeerClosed();
}

std::vector<PacketFrame> FakeSocket::Frames() const {
    std::vector<PacketFrame> frames;
    for (size_t at = 0; at + kFrameSize <= raw.size(); at += kFrameSize) {
        PacketFrame f;
        std::copy_n(reinterpret_cast<const uint8_t*>(raw.data()) + at, kFrameSize, f.begin());
        frames.push_back(f);
    }
    return frames;
}

std::vector<PacketFrame> FakeSocket::FramesOfType(uint8_t type) const {
    std::vector<PacketFrame> out;
    for (const auto& f : Frames())
        if (f[3] == type) out.push_back(f);
    return out;
}

bool FakeLobbyLink::Post(const QString& title, uint32_t message, uint32_t wParam,
                         uint32_t lParam) {
    if (!FindWindow(title)) return false;
    posted.emplace_back(message, wParam, lParam);
    return true;
}

std::vector<uint32_t> FakeLobbyLink::Codes() const {
    std::vector<uint32_t> codes;
    for (const auto& [m, w, l] : posted) codes.push_back(m == kWmSysCommand ? w : m);
    return codes;
}

QStringList FakeSoundDevice::Names() const {
    QStringList names;
    for (const auto& p : played) names << p.path.section('/', -1);
    return names;
}

}  // namespace sorvik::test
