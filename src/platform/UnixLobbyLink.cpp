#include "platform/UnixLobbyLink.h"

#include <QCryptographicHash>
#include <QDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace sorvik {
namespace {

bool FillAddress(const QString& path, sockaddr_un& addr) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (static_cast<size_t>(bytes.size()) >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

QString UnixLobbyLink::DefaultFolder() {
    const QByteArray own = qgetenv("SORVIK_WINDOW_DIR");
    if (!own.isEmpty()) return QFile::decodeName(own);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) return QFile::decodeName(runtime) + "/sorvik-windows";
    return QStringLiteral("/tmp/sorvik-windows-%1").arg(getuid());
}

UnixLobbyLink::UnixLobbyLink(QString folder)
    : folder_(folder.isEmpty() ? DefaultFolder() : std::move(folder)) {
    ::mkdir(QFile::encodeName(folder_).constData(), 0700);
}

UnixLobbyLink::~UnixLobbyLink() {
    Unregister();
    if (lockFd_ >= 0) ::close(lockFd_);
}

QString UnixLobbyLink::PathOf(const QString& title) const {
    const QByteArray hash =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder_ + "/" + QString::fromLatin1(hash) + ".win";
}

int UnixLobbyLink::ConnectTo(const QString& title) {
    const QString path = PathOf(title);
    sockaddr_un addr;
    if (!FillAddress(path, addr)) return -1;
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    const int err = errno;
    ::close(fd);
    if (err == EAGAIN) return -2;  // alive, its queue is full
    if (err == ECONNREFUSED) ::unlink(QFile::encodeName(path).constData());  // stale
    return -1;
}

bool UnixLobbyLink::FindWindow(const QString& title) {
    if (title.isEmpty()) return false;
    const int fd = ConnectTo(title);
    if (fd >= 0) ::close(fd);
    return fd != -1;
}

bool UnixLobbyLink::Post(const QString& title, uint32_t message, uint32_t wParam,
                         uint32_t lParam) {
    if (title.isEmpty()) return false;
    const int fd = ConnectTo(title);
    if (fd == -1) return false;
    if (fd == -2) return true;  // found, but the message cannot be queued
    uint8_t datagram[12];
    PutLe32(datagram, message);
    PutLe32(datagram + 4, wParam);
    PutLe32(datagram + 8, lParam);
    ::send(fd, datagram, sizeof datagram, MSG_DONTWAIT | MSG_NOSIGNAL);
    ::close(fd);
    return true;
}

bool UnixLobbyLink::Register(const QString& title) {
    Unregister();
    const QString path = PathOf(title);
    sockaddr_un addr;
    if (!FillAddress(path, addr)) return false;
    const QByteArray native = QFile::encodeName(path);
    // A file left behind by a process that is gone is removed; a live owner keeps its name.
    if (QFile::exists(path)) {
        const int probe = ConnectTo(title);
        if (probe >= 0) {
            ::close(probe);
            return false;
        }
        if (probe == -2) return false;
        ::unlink(native.constData());
    }
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return false;
    }
    boundFd_ = fd;
    boundPath_ = path;
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadMessages(); });
    return true;
}

void UnixLobbyLink::Unregister() {
    // The notifier may be the one whose signal is running: let the event loop delete it.
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
    if (boundFd_ >= 0) {
        ::close(boundFd_);
        ::unlink(QFile::encodeName(boundPath_).constData());
    }
    boundFd_ = -1;
    boundPath_.clear();
}

bool UnixLobbyLink::AcquireInstanceLock() {
    if (lockFd_ >= 0) return true;
    const QByteArray path = QFile::encodeName(folder_ + "/sorvik.lock");
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

void UnixLobbyLink::ReadMessages() {
    const int fd = boundFd_;
    uint8_t datagram[64];
    while (fd >= 0 && fd == boundFd_) {
        const ssize_t n = ::recv(fd, datagram, sizeof datagram, MSG_DONTWAIT);
        if (n < 0) break;
        if (n != 12) continue;  // not one of ours
        if (onMessage) onMessage(GetLe32(datagram), GetLe32(datagram + 4), GetLe32(datagram + 8));
    }
}

}  // namespace sorvik
