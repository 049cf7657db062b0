#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/UnixLobbyLink.h"

using namespace sorvik;

namespace {

// Runs the event loop until `done` or a second has passed.
bool Pump(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace

TEST(LobbyLink, FindAndPostByTitle) {
    QTemporaryDir dir("/tmp/svkXXXXXX");
    UnixLobbyLink lobby(dir.path()), client(dir.path());
    const QString title = QString::fromUtf8("Morvel山庄");
    EXPECT_FALSE(client.FindWindow(title));
    EXPECT_FALSE(client.Post(title, 771, 0, 0));
    ASSERT_TRUE(lobby.Register(title));
    // The file name is the SHA-1 of the UTF-8 title.
    const QString hash =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex();
    EXPECT_TRUE(QFile::exists(dir.path() + "/" + hash + ".win"));
    EXPECT_TRUE(client.FindWindow(title));

    std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> got;
    lobby.onMessage = [&](uint32_t m, uint32_t w, uint32_t l) { got.emplace_back(m, w, l); };
    EXPECT_TRUE(client.Post(title, 771, 0, 0));
    EXPECT_TRUE(client.Post(title, kWmSysCommand, kScRestore, 0));
    ASSERT_TRUE(Pump([&] { return got.size() == 2; }));
    EXPECT_EQ(got[0], std::make_tuple(771u, 0u, 0u));
    EXPECT_EQ(got[1], std::make_tuple(kWmSysCommand, kScRestore, 0u));

    // A retitled window moves; a closed one is gone.
    ASSERT_TRUE(lobby.Register("Other"));
    EXPECT_FALSE(client.FindWindow(title));
    EXPECT_TRUE(client.FindWindow("Other"));
    lobby.Unregister();
    EXPECT_FALSE(client.FindWindow("Other"));
}

TEST(LobbyLink, IgnoresDatagramsOfTheWrongSize) {
    QTemporaryDir dir("/tmp/svkXXXXXX");
    UnixLobbyLink window(dir.path()), other(dir.path());
    ASSERT_TRUE(window.Register("W"));
    int count = 0;
    window.onMessage = [&](uint32_t, uint32_t, uint32_t) { ++count; };
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(window.PathOf("W"));
    std::memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const char junk[5] = {1, 2, 3, 4, 5};
    ::sendto(fd, junk, sizeof junk, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::close(fd);
    other.Post("W", 1125, 0, 0);
    ASSERT_TRUE(Pump([&] { return count == 1; }));
}

TEST(LobbyLink, StaleFilesAreReplacedAndTheInstanceLockIsExclusive) {
    QTemporaryDir dir("/tmp/svkXXXXXX");
    {
        // A window file whose process is gone: a bound socket closed without unlinking.
        UnixLobbyLink dead(dir.path());
        const QByteArray path = QFile::encodeName(dead.PathOf("T"));
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
        EXPECT_TRUE(QFile::exists(dead.PathOf("T")));
        EXPECT_FALSE(dead.FindWindow("T"));
    }
    UnixLobbyLink a(dir.path()), b(dir.path());
    EXPECT_TRUE(a.Register("T"));
    EXPECT_FALSE(b.Register("T"));  // a live owner keeps its title
    EXPECT_TRUE(a.AcquireInstanceLock());
    EXPECT_FALSE(b.AcquireInstanceLock());
}
