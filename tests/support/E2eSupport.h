#pragma once
// Real processes on loopback: a scripted game server, the test process as the lobby, and
// waits on the event loop with a deadline.

#include <QByteArray>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace sorvik::test {

// A loopback port in 20000..32767 that nothing listens on now; 0 when none was found.
int FreeLoopbackPort();

// Starts the client program offscreen with one command line, on a private lobby-link folder.
void StartClient(QProcess& client, const QString& program, const QString& windowDir,
                 const QString& commandLine);

// The user and system time a process has used, in clock ticks; -1 when it cannot be read.
long ProcessCpuTicks(qint64 pid);

// Runs the event loop until `done` holds or `seconds` pass; true when it held.
bool WaitFor(const std::function<bool()>& done, double seconds);

// Listens on 127.0.0.1 at a port in 20000..32767 (the client reads ports as 16-bit
// signed numbers); collects every connection and the bytes each one sent.
class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    int Port() const { return port_; }
    struct Peer {
        QTcpSocket* socket;
        QByteArray received;
        bool closed = false;
    };
    std::vector<std::unique_ptr<Peer>>& Peers() { return peers_; }
    // Frames of 272 bytes received on connection `i`.
    std::vector<QByteArray> Frames(size_t i) const;
    void Send(size_t i, const QByteArray& frame);

private:
    QTcpServer server_;
    int port_ = 0;
    std::vector<std::unique_ptr<Peer>> peers_;
};

}  // namespace sorvik::test
