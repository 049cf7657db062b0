#pragma once
#include <QSocketNotifier>
#include <memory>

#include "platform/LobbyLink.h"

namespace sorvik {

// One AF_UNIX datagram socket per findable window, at
// <folder>/<sha1(title utf-8) in lowercase hex>.win; a message is one datagram of three
// little-endian 32-bit numbers.
class UnixLobbyLink final : public LobbyLink {
public:
    // An empty folder selects DefaultFolder().
    explicit UnixLobbyLink(QString folder = {});
    ~UnixLobbyLink() override;

    bool FindWindow(const QString& title) override;
    bool Post(const QString& title, uint32_t message, uint32_t wParam,
              uint32_t lParam) override;
    bool Register(const QString& title) override;
    void Unregister() override;
    bool AcquireInstanceLock() override;

    const QString& Folder() const { return folder_; }
    QString PathOf(const QString& title) const;

    // $SORVIK_WINDOW_DIR, else $XDG_RUNTIME_DIR/sorvik-windows, else /tmp/sorvik-windows-<uid>.
    static QString DefaultFolder();

private:
    int ConnectTo(const QString& title);  // connected datagram socket or -1
    void ReadMessages();

    QString folder_;
    QString boundPath_;
    int boundFd_ = -1;
    int lockFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace sorvik
