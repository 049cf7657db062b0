#pragma once
// Finding a top-level window by its title and posting it a message: the link between the
// table client, the lobby and the music player. See UnixLobbyLink for the wire form.

#include <QString>
#include <cstdint>
#include <functional>

namespace sorvik {

constexpr uint32_t kWmSysCommand = 0x0112;
constexpr uint32_t kScRestore = 0xF120;
constexpr uint32_t kScMinimize = 0xF020;

class LobbyLink {
public:
    virtual ~LobbyLink() = default;
    // True when a window with this exact title is registered and alive.
    virtual bool FindWindow(const QString& title) = 0;
    // Posts (message, wParam, lParam); false when no such window was found.
    virtual bool Post(const QString& title, uint32_t message, uint32_t wParam = 0,
                      uint32_t lParam = 0) = 0;
    // Makes this process's window findable under `title`, replacing an earlier title.
    virtual bool Register(const QString& title) = 0;
    virtual void Unregister() = 0;
    // The single-instance rule: false when another client holds the lock.
    virtual bool AcquireInstanceLock() = 0;

    // A message posted to the registered window.
    std::function<void(uint32_t message, uint32_t wParam, uint32_t lParam)> onMessage;
};

}  // namespace sorvik
