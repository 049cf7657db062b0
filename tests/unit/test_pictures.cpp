// The compiled-in pictures: every catalogue id at its size and no other id, the ids of the
// lookup tables in both display sets, the window pictures, and the library's cache.

#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <vector>

#include "table/PictureLibrary.h"
#include "table/core/PictureTables.h"

using namespace sorvik;

namespace {

struct Range {
    int first, last, width, height;
};

// The picture catalogue: id ranges and the size of their pictures.
const Range kCatalogue[] = {
    {1, 1, 50, 45},
    {3, 17, 92, 122}, {18, 18, 78, 103}, {19, 31, 92, 122}, {35, 47, 92, 122}, {51, 63, 92, 122},
    {150, 151, 48, 30}, {152, 169, 55, 31},
    {170, 173, 70, 29}, {174, 177, 64, 26},
    {240, 240, 85, 90}, {241, 241, 87, 92}, {242, 259, 85, 90},
    {260, 260, 78, 103},
    {280, 282, 70, 29},
    {283, 300, 43, 24},
    {301, 354, 72, 95},
    {506, 509, 57, 13},
    {520, 531, 55, 55}, {532, 546, 40, 40}, {547, 549, 55, 55},
    {550, 561, 42, 42}, {562, 576, 31, 31}, {577, 579, 42, 42},
    {580, 581, 131, 102}, {582, 582, 129, 100}, {583, 584, 131, 102}, {585, 585, 129, 100},
    {586, 587, 55, 55}, {588, 589, 42, 42}, {590, 592, 55, 55}, {593, 595, 42, 42},
    // Chip frames: ten blocks of twenty, large and small in turn.
    {601, 620, 40, 40}, {621, 640, 31, 31}, {641, 660, 40, 40}, {661, 680, 31, 31},
    {681, 700, 40, 40}, {701, 720, 31, 31}, {721, 740, 40, 40}, {741, 760, 31, 31},
    {761, 780, 40, 40}, {781, 800, 31, 31},
    {801, 801, 92, 49}, {802, 802, 70, 37},
    {850, 859, 16, 14}, {860, 862, 17, 16}, {863, 864, 16, 14},
    {870, 870, 175, 138}, {871, 871, 276, 215}, {872, 872, 434, 341},
    {873, 873, 137, 108}, {874, 874, 216, 168}, {875, 875, 339, 266},
};

std::map<int, QSize> CatalogueSizes() {
    std::map<int, QSize> sizes;
    for (const Range& r : kCatalogue)
        for (int id = r.first; id <= r.last; ++id) sizes[id] = QSize(r.width, r.height);
    return sizes;
}

std::vector<int> TableIds(const PictureTables& t) {
    std::vector<int> ids;
    auto add = [&](const auto& table) { ids.insert(ids.end(), table.begin(), table.end()); };
    for (int id : t.CardPictures)
        if (id != 0) ids.push_back(id);  // indexes without a card stay empty
    add(t.ActionButtonPictures);
    add(t.CompareButtonPictures);
    add(t.ToolbarPictures);
    add(t.DialogButtonPictures);
    add(t.GiveUpBubblePictures);
    add(t.LookBubblePictures);
    add(t.AvatarPictures);
    add(t.ReadyPictures);
    for (const auto& block : t.ChipFrames) add(block);
    ids.push_back(t.VsPicture);
    add(t.VideoToolIcons);
    add(t.VideoFramePictures);
    ids.push_back(kCardBackPicture);
    return ids;
}

bool HasRedInk(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 255 && qRed(c) > 150 && qGreen(c) < 80 && qBlue(c) < 80) return true;
        }
    return false;
}

}  // namespace

TEST(Pictures, EveryCatalogueIdAtItsSizeAndNoOtherId) {
    PictureLibrary pictures;
    const std::map<int, QSize> sizes = CatalogueSizes();
    std::vector<int> ids{-1, 100000};
    for (int id = 0; id <= 1000; ++id) ids.push_back(id);
    for (int id : ids) {
        const QPixmap pixmap = pictures.Picture(id);
        const auto expected = sizes.find(id);
        if (expected == sizes.end()) {
            EXPECT_TRUE(pixmap.isNull()) << "id " << id << " is not in the catalogue";
        } else {
            ASSERT_FALSE(pixmap.isNull()) << "id " << id;
            EXPECT_EQ(pixmap.size(), expected->second) << "id " << id;
        }
    }
}

TEST(Pictures, LookupTablesOfBothSetsPointAtPictures) {
    PictureLibrary pictures;
    for (DisplayMode mode : {DisplayMode::Large, DisplayMode::Small})
        for (int id : TableIds(BuildPictureTables(mode)))
            EXPECT_FALSE(pictures.Picture(id).isNull()) << "id " << id;
}

TEST(Pictures, CardFormulaGivesFacesOfTheSetInTheSuitColours) {
    PictureLibrary pictures;
    struct Case {
        DisplayMode mode;
        QSize face;
    };
    for (const Case& c : {Case{DisplayMode::Large, {92, 122}}, Case{DisplayMode::Small, {72, 95}}}) {
        const PictureTables t = BuildPictureTables(c.mode);
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 3; rank <= 15; ++rank) {
                const QPixmap face = pictures.Picture(t.CardPictures[16 * suit + rank]);
                ASSERT_EQ(face.size(), c.face) << "suit " << suit << " rank " << rank;
                // Diamonds and hearts print red; the figures of the court cards are left out.
                if (rank <= 10 || rank >= 14) {
                    EXPECT_EQ(HasRedInk(face), suit == 0 || suit == 2) << "suit " << suit << " rank " << rank;
                }
            }
        EXPECT_EQ(pictures.Picture(t.CardPictures[16]).size(), c.face);
        EXPECT_EQ(pictures.Picture(t.CardPictures[17]).size(), c.face);
        EXPECT_EQ(pictures.Picture(t.CardPictures[18]).size(), QSize(78, 103));
    }
}

TEST(Pictures, WindowPicturesAtTheirSizes) {
    PictureLibrary pictures;
    const std::pair<const char*, QSize> named[] = {
        {"skin", {46, 220}},
        {"close-0", {17, 15}}, {"close-1", {17, 15}}, {"close-2", {17, 15}},
        {"min-0", {17, 15}}, {"min-1", {17, 15}}, {"min-2", {17, 15}},
        {"icon", {16, 16}},
        {"table-green", {1024, 768}}, {"table-green-small", {800, 600}},
        {"table-blue", {1024, 768}}, {"table-blue-small", {800, 600}},
        {"bar-top", {1024, 110}}, {"bar-top-small", {800, 86}},
        {"bar-bottom", {1024, 128}}, {"bar-bottom-small", {800, 100}},
        {"countdown", {81, 38}}, {"countdown-small", {63, 30}},
        {"panel-frame", {126, 105}}, {"panel-frame-small", {98, 82}},
        {"tool-strip-local", {87, 17}}, {"tool-strip-local-small", {68, 13}},
        {"tool-strip", {145, 17}}, {"tool-strip-small", {113, 13}},
        {"phrase-strip", {394, 39}}, {"phrase-strip-small", {308, 30}},
        {"score-icon", {60, 26}}, {"score-icon-small", {47, 20}},
        {"dealer", {28, 28}}, {"dealer-small", {22, 22}},
        {"dialog-exit", {300, 140}}, {"dialog-message", {300, 140}}, {"settings-face", {220, 196}},
    };
    for (const auto& [name, size] : named) EXPECT_EQ(pictures.Named(QString::fromLatin1(name)).size(), size) << name;
    EXPECT_TRUE(pictures.Named(QStringLiteral("no-such-picture")).isNull());
}

TEST(Pictures, SecondLookupReturnsTheCachedPixmap) {
    PictureLibrary pictures;
    const QPixmap card = pictures.Picture(3);
    ASSERT_FALSE(card.isNull());
    EXPECT_EQ(pictures.Picture(3).cacheKey(), card.cacheKey());
    EXPECT_NE(pictures.Picture(4).cacheKey(), card.cacheKey());
    const QPixmap skin = pictures.Named(QStringLiteral("skin"));
    ASSERT_FALSE(skin.isNull());
    EXPECT_EQ(pictures.Named(QStringLiteral("skin")).cacheKey(), skin.cacheKey());
}
