#pragma once
// Sound effects and music on the single channel, with the switches of the settings window.

#include <QString>

#include "sound/SoundDevice.h"

namespace sorvik {

class Sound {
public:
    explicit Sound(SoundDevice& device) : device_(device) {}

    bool MusicOn = true;
    bool SoundOn = true;
    bool SpareOption = true;
    bool AltBackground = false;
    QString SoundFolder;        // the game's own sounds
    QString SharedMusicFolder;  // sounds shared with the lobby

    // Start-up: the folders from the program folder, then the looping music.
    void Start(const QString& programFolder);
    void InitSound();
    void PlaySoundFile(const QString& path, bool looping);
    void StopSound();
    void SetSoundVolume(int level);  // 0..3000, 3000 full volume
    // An effect from the game's folder, once at full volume, only while SoundOn.
    void PlayEffect(const QString& file);
    // An effect from the shared folder, likewise.
    void PlaySharedEffect(const QString& file);
    void StartMusic();

private:
    SoundDevice& device_;
};

}  // namespace sorvik
