#include "sound/Sound.h"

namespace sorvik {

void Sound::Start(const QString& programFolder) {
    MusicOn = SpareOption = SoundOn = true;
    AltBackground = false;
    SoundFolder = programFolder + QStringLiteral("/../common/svk/");
    SharedMusicFolder = programFolder + QStringLiteral("/../common/music/");
    if (!SoundOn) return;
    InitSound();
    StopSound();
    StartMusic();
}

void Sound::StartMusic() {
    PlaySoundFile(SharedMusicFolder + QStringLiteral("majiang.wav"), true);
    SetSoundVolume(3000);
}

void Sound::InitSound() {
    if (!device_.Init()) SoundOn = false;  // no device: the game goes on without effects
}

void Sound::PlaySoundFile(const QString& path, bool looping) {
    device_.Play(path, looping);  // a file that cannot be played changes no flag
}

void Sound::StopSound() {
    if (!device_.Stop()) SoundOn = false;
}

void Sound::SetSoundVolume(int level) {
    if (level < 0 || level > 3000) return;
    if (!device_.SetVolume(level - 3000)) SoundOn = false;
}

void Sound::PlayEffect(const QString& file) {
    if (!SoundOn) return;
    PlaySoundFile(SoundFolder + file, false);
    SetSoundVolume(3000);
}

void Sound::PlaySharedEffect(const QString& file) {
    if (!SoundOn) return;
    PlaySoundFile(SharedMusicFolder + file, false);
    SetSoundVolume(3000);
}

}  // namespace sorvik
