#pragma once
// The TCP client socket as the table uses it: connect, state, send, close, and two events.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace sorvik {

enum SocketState : int {
    kSocketClosed = 0,
    kSocketResolving = 4,
    kSocketConnecting = 6,
    kSocketConnected = 7,
    kSocketClosing = 8,
    kSocketError = 9,
};

class StreamSocket {
public:
    virtual ~StreamSocket() = default;
    virtual void SetRemote(const std::string& host, int port) = 0;
    virtual void Connect() = 0;  // returns at once; the state says when it is up
    virtual int State() const = 0;
    virtual void SendData(const uint8_t* data, size_t size) = 0;
    virtual void Close() = 0;

    // Received bytes, in order; the buffer is only valid during the call.
    std::function<void(const uint8_t* data, size_t size)> onDataArrival;
    // The peer closed the connection.
    std::function<void()> onPeerClosed;
};

}  // namespace sorvik
