#include "platform/QtStreamSocket.h"

namespace sorvik {

QtStreamSocket::QtStreamSocket() {
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { ReadAvailable(); });
    QObject::connect(&socket_, &QTcpSocket::disconnected, [this] {
        if (onPeerClosed) onPeerClosed();
    });
}

void QtStreamSocket::SetRemote(const std::string& host, int port) {
    host_ = QString::fromStdString(host);
    port_ = static_cast<quint16>(port);
}

void QtStreamSocket::Connect() {
    socket_.abort();
    socket_.connectToHost(host_, port_);
}

int QtStreamSocket::State() const {
    switch (socket_.state()) {
        case QAbstractSocket::UnconnectedState: return kSocketClosed;
        case QAbstractSocket::HostLookupState: return kSocketResolving;
        case QAbstractSocket::ConnectingState: return kSocketConnecting;
        case QAbstractSocket::ConnectedState: return kSocketConnected;
        case QAbstractSocket::ClosingState: return kSocketClosing;
        default: return kSocketError;
    }
}

void QtStreamSocket::SendData(const uint8_t* data, size_t size) {
    if (socket_.state() != QAbstractSocket::ConnectedState) return;
    socket_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    socket_.flush();
}

void QtStreamSocket::Close() {
    if (socket_.state() == QAbstractSocket::ConnectedState) socket_.flush();
    socket_.abort();
}

void QtStreamSocket::ReadAvailable() {
    while (true) {
        const qint64 n = socket_.read(reinterpret_cast<char*>(buffer_.data()), buffer_.size());
        if (n <= 0) break;
        if (onDataArrival) onDataArrival(buffer_.data(), static_cast<size_t>(n));
    }
}

}  // namespace sorvik
