#pragma once
#include <QHash>
#include <QSoundEffect>
#include <memory>

#include "sound/SoundDevice.h"

namespace sorvik {

// QSoundEffect per file, decoded once; only one plays at a time.
class QtSoundDevice final : public SoundDevice {
public:
    QtSoundDevice();
    ~QtSoundDevice() override;
    bool Init() override;
    bool Play(const QString& path, bool looping) override;
    bool Stop() override;
    bool SetVolume(int hundredthsOfDecibel) override;

private:
    bool available_ = false;
    QHash<QString, QSoundEffect*> effects_;
    QSoundEffect* current_ = nullptr;
};

}  // namespace sorvik
