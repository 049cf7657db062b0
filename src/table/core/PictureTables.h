#pragma once
// The lookup tables from a picture's role to its resource id, for the large and the small
// picture set.

#include <array>

namespace sorvik {

enum class DisplayMode { Large, Small };

// The large set needs a screen of at least 1024 × 768.
DisplayMode DisplayModeFor(int screenWidth, int screenHeight);

struct PictureTables {
    std::array<int, 64> CardPictures{};
    std::array<int, 33> ActionButtonPictures{};
    std::array<int, 2> CompareButtonPictures{};
    std::array<int, 20> ToolbarPictures{};
    std::array<int, 8> DialogButtonPictures{};
    std::array<int, 3> GiveUpBubblePictures{};
    std::array<int, 3> LookBubblePictures{};
    std::array<int, 20> AvatarPictures{};
    std::array<int, 4> ReadyPictures{};
    std::array<std::array<int, 20>, 5> ChipFrames{};
    int VsPicture = 0;
    std::array<int, 13> VideoToolIcons{};
    std::array<int, 6> VideoFramePictures{};
};

constexpr int kCardBackPicture = 260;

PictureTables BuildPictureTables(DisplayMode mode);

}  // namespace sorvik
