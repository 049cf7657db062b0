#include "E2eSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcessEnvironment>
#include <QElapsedTimer>
#include <QRandomGenerator>

namespace sorvik::test {

bool WaitFor(const std::function<bool()>& done, double seconds) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > seconds * 1000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void StartClient(QProcess& client, const QString& program, const QString& windowDir,
                 const QString& commandLine) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SORVIK_WINDOW_DIR"), windowDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    client.setProcessEnvironment(env);
    client.start(program, {commandLine});
}

long ProcessCpuTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name: utime and stime are the 14th and 15th of the line.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLong() + fields.value(12).toLong();
}

int FreeLoopbackPort() {
    for (int tries = 0; tries < 200; ++tries) {
        const int port = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(12768));
        QTcpServer probe;
        if (probe.listen(QHostAddress(QStringLiteral("127.0.0.1")), static_cast<quint16>(port))) return port;
    }
    return 0;
}

ScriptedServer::ScriptedServer() {
    for (int tries = 0; tries < 200 && !server_.isListening(); ++tries) {
        const int port = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(12768));
        if (server_.listen(QHostAddress(QStringLiteral("127.0.0.1")), static_cast<quint16>(port)))
            port_ = port;
    }
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            auto peer = std::make_unique<Peer>();
            peer->socket = s;
            Peer* p = peer.get();
            QObject::connect(s, &QTcpSocket::readyRead, [p] { p->received += p->socket->readAll(); });
            QObject::connect(s, &QTcpSocket::disconnected, [p] { p->closed = true; });
            peers_.push_back(std::move(peer));
        }
    });
}

ScriptedServer::~ScriptedServer() {
    // The sockets' signals point at the peers: cut them before either goes.
    for (auto& peer : peers_) {
        QObject::disconnect(peer->socket, nullptr, nullptr, nullptr);
        delete peer->socket;
    }
}

std::vector<QByteArray> ScriptedServer::Frames(size_t i) const {
    std::vector<QByteArray> frames;
    const QByteArray& bytes = peers_.at(i)->received;
    for (qsizetype at = 0; at + 272 <= bytes.size(); at += 272) frames.push_back(bytes.mid(at, 272));
    return frames;
}

void ScriptedServer::Send(size_t i, const QByteArray& frame) {
    peers_.at(i)->socket->write(frame);
    peers_.at(i)->socket->flush();
}

}  // namespace sorvik::test
