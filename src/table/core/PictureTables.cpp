#include "table/core/PictureTables.h"

namespace sorvik {

DisplayMode DisplayModeFor(int screenWidth, int screenHeight) {
    return screenWidth >= 1024 && screenHeight >= 768 ? DisplayMode::Large : DisplayMode::Small;
}

PictureTables BuildPictureTables(DisplayMode mode) {
    const bool large = mode == DisplayMode::Large;
    PictureTables t;
    // Cards: index 16 × suit + rank, rank 3..13, 14 the ace, 15 the two.
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 3; rank <= 15; ++rank) {
            const int index = 16 * suit + rank;
            if (large)
                t.CardPictures[index] = index;
            else
                t.CardPictures[index] = rank <= 13 ? 300 + 13 * suit + rank : 287 + 13 * suit + rank;
        }
    t.CardPictures[16] = large ? 16 : 353;
    t.CardPictures[17] = large ? 17 : 354;
    t.CardPictures[18] = 18;

    for (int i = 0; i < 30; ++i) t.ActionButtonPictures[i] = (large ? 520 : 550) + i;
    for (int i = 0; i < 3; ++i) t.ActionButtonPictures[30 + i] = (large ? 590 : 593) + i;
    t.CompareButtonPictures = large ? std::array<int, 2>{586, 587} : std::array<int, 2>{588, 589};
    for (int i = 0; i < 20; ++i)
        t.ToolbarPictures[i] = large || i < 2 ? 150 + i : 283 + (i - 2);
    for (int i = 0; i < 8; ++i) t.DialogButtonPictures[i] = 170 + i;
    t.GiveUpBubblePictures = {580, 581, 582};
    t.LookBubblePictures = {583, 584, 585};
    for (int i = 0; i < 20; ++i) t.AvatarPictures[i] = 240 + i;
    t.ReadyPictures = {280, 281, 282, 280};
    for (int d = 0; d < 5; ++d)
        for (int f = 0; f < 20; ++f) t.ChipFrames[d][f] = (large ? 601 : 621) + 40 * d + f;
    t.VsPicture = large ? 801 : 802;
    for (int i = 0; i < 13; ++i) t.VideoToolIcons[i] = 850 + i;
    for (int i = 0; i < 6; ++i) t.VideoFramePictures[i] = 870 + i;
    return t;
}

}  // namespace sorvik
