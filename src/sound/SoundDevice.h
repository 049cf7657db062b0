#pragma once
// The one sound channel: at most one sound plays; starting a sound stops the last one.

#include <QString>

namespace sorvik {

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // Opens the audio output; false when there is none.
    virtual bool Init() = 0;
    // Stops and drops the current sound, then plays the wave file once or looping; false
    // when the file cannot be played (the device is fine).
    virtual bool Play(const QString& path, bool looping) = 0;
    // Stops the current sound; false when the device failed.
    virtual bool Stop() = 0;
    // Volume of the current sound in hundredths of a decibel, 0 full, -3000 quietest; false
    // when the device failed.
    virtual bool SetVolume(int hundredthsOfDecibel) = 0;
};

}  // namespace sorvik
