#pragma once
// Where the table tells the peer video about the players at the table. The video component
// (relay connection, camera, display) is not part of this build yet, so each call only
// records what the table asked for; the video windows will take these calls over.

#include <QString>
#include <array>

namespace sorvik {

struct PeerVideo {
    bool CaptureOn = false;
    std::array<QString, 4> ConnectedNames{};  // by position, as the table asked

    void StartLocalCapture() {}
    void ConnectPlayer(int position, const QString& account) {
        if (position >= 1 && position <= 3) ConnectedNames[position] = account;
    }
    void DropPlayer(const QString& account) {
        for (QString& name : ConnectedNames)
            if (name == account) name.clear();
    }
    void ClearPositionVideo(int position) {
        if (position >= 1 && position <= 3) ConnectedNames[position].clear();
    }
    void DropAllPlayers() { ConnectedNames.fill(QString()); }
};

}  // namespace sorvik
