#pragma once
#include <QTcpSocket>
#include <array>

#include "platform/StreamSocket.h"

namespace sorvik {

class QtStreamSocket final : public StreamSocket {
public:
    QtStreamSocket();
    void SetRemote(const std::string& host, int port) override;
    void Connect() override;
    int State() const override;
    void SendData(const uint8_t* data, size_t size) override;
    void Close() override;

private:
    void ReadAvailable();

    QTcpSocket socket_;
    QString host_;
    quint16 port_ = 0;
    std::array<uint8_t, 4096> buffer_{};  // reused for every read
};

}  // namespace sorvik
