// sorvik-artgen: draws every picture of the client's resource catalogue and the named window
// pictures into a folder, and makes contact sheets of a folder of pictures for review.
//
//   sorvik-artgen <output-folder>
//   sorvik-artgen --sheet <pictures-folder> <sheet.png> cards|ui|table

#include "Art.h"
#include "Paint.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <vector>

using namespace artgen;

namespace {

struct Picture {
    QString name;  // file name without extension: the id, or a window picture's name
    QSize size;
    std::function<QImage(QSize)> draw;
    bool jpeg = false;
};

const char* const kToolbarLabels[10] = {"发送", "聊天", "开始", "继续", "设置",
                                        "隐藏", "战绩", "历史", "规则", "退出"};
// The action buttons in their control order, then the open variant of the compare button.
const char* const kActionLabels[10] = {"放弃", "看牌", "跟注", "比牌", "最大",
                                       "50",   "20",   "10",   "最小", "开牌"};
const int kChipValues[5] = {5, 10, 20, 50, 100};

QString U(const char* s) { return QString::fromUtf8(s); }

// Small-set size of a design size: times 0.78125, rounded.
QSize Small(QSize s) { return QSize(qRound(s.width() * 0.78125), qRound(s.height() * 0.78125)); }

std::vector<Picture> Catalogue() {
    std::vector<Picture> out;
    auto add = [&](int id, QSize size, std::function<QImage(QSize)> draw, bool jpeg = false) {
        out.push_back({QString::number(id), size, std::move(draw), jpeg});
    };
    add(1, {50, 45}, Handshake);

    // Cards. Large: id = 16 × suit + rank. Small: 301 + 13 × suit + position, positions A, 2, 3 .. K.
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 3; rank <= 15; ++rank) {
            add(16 * suit + rank, {92, 122}, [=](QSize s) { return CardFace(suit, rank, s); });
            const int position = rank == 14 ? 0 : rank == 15 ? 1 : rank - 1;
            add(301 + 13 * suit + position, {72, 95}, [=](QSize s) { return CardFace(suit, rank, s); });
        }
    add(16, {92, 122}, [](QSize s) { return Joker(false, s); });
    add(17, {92, 122}, [](QSize s) { return Joker(true, s); });
    add(353, {72, 95}, [](QSize s) { return Joker(false, s); });
    add(354, {72, 95}, [](QSize s) { return Joker(true, s); });
    add(18, {78, 103}, CardBack);
    add(260, {78, 103}, CardBack);

    // Toolbar buttons in normal/hover pairs; the small set has no send button.
    for (int i = 0; i < 20; ++i) {
        const QString label = U(kToolbarLabels[i / 2]);
        const bool hover = i % 2;
        add(150 + i, i < 2 ? QSize(48, 30) : QSize(55, 31), [=](QSize s) { return ToolbarButton(label, hover, s); });
        if (i >= 2) add(283 + i - 2, {43, 24}, [=](QSize s) { return ToolbarButton(label, hover, s); });
    }
    // Dialog buttons and the settings window's option pictures.
    for (int i = 0; i < 4; ++i) {
        const QString label = U(i < 2 ? "确定" : "取消");
        const bool hover = i % 2;
        add(170 + i, {70, 29}, [=](QSize s) { return DialogButton(label, hover, s); });
        add(174 + i, {64, 26}, [=](QSize s) { return OptionPicture(i, s); });
    }
    for (int i = 0; i < 20; ++i) add(240 + i, i == 1 ? QSize(87, 92) : QSize(85, 90), [=](QSize s) { return Portrait(i, s); });
    for (int level = 0; level < 3; ++level) add(280 + level, {70, 29}, [=](QSize s) { return ReadyMark(level, s); });
    for (int i = 0; i < 4; ++i) {
        const int number = i % 2 + 1;
        const bool hover = i >= 2;
        add(506 + i, {57, 13}, [=](QSize s) { return PhraseButton(number, hover, s); });
    }

    // Action buttons: triples normal/disabled/hover; the bet-size buttons are the smaller ones.
    const ButtonState states[3] = {ButtonState::Normal, ButtonState::Disabled, ButtonState::Hover};
    for (int i = 0; i < 30; ++i) {
        const QString label = U(kActionLabels[i / 3]);
        const ButtonState state = states[i % 3];
        const bool minor = i >= 12 && i <= 26;
        auto draw = [=](QSize s) { return ActionButton(label, state, s); };
        add(520 + i, minor ? QSize(40, 40) : QSize(55, 55), draw);
        add(550 + i, minor ? QSize(31, 31) : QSize(42, 42), draw);
    }
    for (int i = 0; i < 3; ++i) {
        const ButtonState state = states[i];
        auto draw = [=](QSize s) { return ActionButton(U("加注"), state, s); };
        add(590 + i, {55, 55}, draw);
        add(593 + i, {42, 42}, draw);
    }
    // Speech bubbles, three variants each.
    const QSize bubble[3] = {{131, 102}, {131, 102}, {129, 100}};
    for (int v = 0; v < 3; ++v) {
        add(580 + v, bubble[v], [=](QSize s) { return SpeechBubble(U("放弃"), QColor(0xC0, 0x20, 0x20), v, s); });
        add(583 + v, bubble[v], [=](QSize s) { return SpeechBubble(U("看牌"), QColor(0x15, 0x5C, 0xC0), v, s); });
    }
    add(586, {55, 55}, [](QSize s) { return CompareEmblem(false, s); });
    add(587, {55, 55}, [](QSize s) { return CompareEmblem(true, s); });
    add(588, {42, 42}, [](QSize s) { return CompareEmblem(false, s); });
    add(589, {42, 42}, [](QSize s) { return CompareEmblem(true, s); });

    // Chips: blocks of twenty frames, alternating large and small, by value.
    for (int d = 0; d < 5; ++d)
        for (int f = 0; f < 20; ++f) {
            const int value = kChipValues[d];
            add(601 + 40 * d + f, {40, 40}, [=](QSize s) { return ChipFrame(value, f, s); });
            add(621 + 40 * d + f, {31, 31}, [=](QSize s) { return ChipFrame(value, f, s); });
        }
    add(801, {92, 49}, VsEmblem);
    add(802, {70, 37}, VsEmblem);

    // Video tool icons: five in normal then hover, three title icons, the show-again pair.
    const ToolIcon tools[5] = {ToolIcon::Album, ToolIcon::Zoom, ToolIcon::Snapshot, ToolIcon::Music, ToolIcon::Close};
    for (int i = 0; i < 10; ++i) {
        const ToolIcon icon = tools[i % 5];
        const bool hover = i >= 5;
        add(850 + i, {16, 14}, [=](QSize s) { return ToolIconPicture(icon, hover, s); });
    }
    const ToolIcon titles[3] = {ToolIcon::TitleClose, ToolIcon::TitleLarger, ToolIcon::TitleSmaller};
    for (int i = 0; i < 3; ++i) {
        const ToolIcon icon = titles[i];
        add(860 + i, {17, 16}, [=](QSize s) { return ToolIconPicture(icon, false, s); });
    }
    add(863, {16, 14}, [](QSize s) { return ToolIconPicture(ToolIcon::ShowVideo, false, s); });
    add(864, {16, 14}, [](QSize s) { return ToolIconPicture(ToolIcon::ShowVideo, true, s); });

    // Video windows: small, normal, large, then the same scaled by 0.78125. The display sits
    // where the video window places it: 110, 230 / 150, 240 / 240, 480 twips.
    struct Frame {
        QSize size;
        QRectF display;
    };
    const Frame frames[3] = {{{175, 138}, {110 / 15.0, 230 / 15.0, 160, 120}},
                             {{276, 215}, {10, 16, 256, 192}},
                             {{434, 341}, {16, 32, 400, 300}}};
    const QSize smallFrames[3] = {{137, 108}, {216, 168}, {339, 266}};
    for (int i = 0; i < 3; ++i) {
        const QRectF d = frames[i].display;
        add(870 + i, frames[i].size, [=](QSize s) { return VideoFrame(s, d); }, true);
        const qreal k = 0.78125;
        const QRectF ds(d.left() * k, d.top() * k, d.width() * k, d.height() * k);
        add(873 + i, smallFrames[i], [=](QSize s) { return VideoFrame(s, ds); }, true);
    }
    return out;
}

std::vector<Picture> NamedPictures() {
    std::vector<Picture> out;
    auto add = [&](const QString& name, QSize size, std::function<QImage(QSize)> draw) {
        out.push_back({name, size, std::move(draw), false});
    };
    // The window frame and its title-bar buttons.
    add(U("skin"), {46, 220}, [](QSize) { return Skin(); });
    // "close-<state>" and "min-<state>": state 0 normal, 1 hover, 2 pressed.
    for (int st = 0; st < 3; ++st) {
        add(QStringLiteral("close-%1").arg(st), {17, 15}, [=](QSize s) { return TitleButton(true, st, s); });
        add(QStringLiteral("min-%1").arg(st), {17, 15}, [=](QSize s) { return TitleButton(false, st, s); });
    }
    add(U("icon"), {16, 16}, WindowIcon);
    // Table pieces, each in the large and the small set.
    struct Piece {
        const char* name;
        QSize size;
        std::function<QImage(QSize)> draw;
    };
    const Piece pieces[] = {
        {"table-green", {1024, 768}, [](QSize s) { return TableBackground(false, s); }},
        {"table-blue", {1024, 768}, [](QSize s) { return TableBackground(true, s); }},
        {"bar-top", {1024, 110}, TopBar},
        {"bar-bottom", {1024, 128}, BottomBar},
        {"countdown", {81, 38}, Countdown},
        {"panel-frame", {126, 105}, PanelFrame},
        {"tool-strip-local", {87, 17}, ToolStrip},
        {"tool-strip", {145, 17}, ToolStrip},
        {"phrase-strip", {394, 39}, PhraseStrip},
        {"score-icon", {60, 26}, ScoreIcon},
        {"dealer", {28, 28}, DealerMark},
    };
    for (const Piece& piece : pieces) {
        add(piece.name, piece.size, piece.draw);
        add(U(piece.name) + QStringLiteral("-small"), Small(piece.size), piece.draw);
    }
    // Window faces.
    add(U("dialog-exit"), {300, 140}, [](QSize s) { return DialogFace(0, s); });
    add(U("dialog-message"), {300, 140}, [](QSize s) { return DialogFace(1, s); });
    add(U("settings-face"), {220, 196}, [](QSize s) { return DialogFace(2, s); });
    return out;
}

bool IsOpaque(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255) return false;
    }
    return true;
}

bool Write(const QDir& dir, const Picture& picture) {
    const QImage drawn = picture.draw(picture.size);
    if (drawn.size() != picture.size) {
        std::fprintf(stderr, "%s: drawn at the wrong size\n", qPrintable(picture.name));
        return false;
    }
    const QString path = dir.filePath(picture.name + (picture.jpeg ? ".jpg" : ".png"));
    QImageWriter writer(path, picture.jpeg ? "jpeg" : "png");
    // Opaque pictures are stored without an alpha channel, which keeps the files small.
    QImage image = picture.jpeg || IsOpaque(drawn) ? drawn.convertToFormat(QImage::Format_RGB32)
                                                   : drawn.convertToFormat(QImage::Format_ARGB32);
    if (picture.jpeg) {
        writer.setQuality(90);
    } else {
        writer.setQuality(0);  // for PNG: the strongest compression
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

int Generate(const QString& folder) {
    QDir dir(folder);
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    // Start from an empty folder so a renamed picture leaves nothing stale behind.
    for (const QString& f : dir.entryList({"*.png", "*.jpg"}, QDir::Files)) dir.remove(f);
    int written = 0;
    for (const auto& list : {Catalogue(), NamedPictures()})
        for (const Picture& p : list) {
            if (!Write(dir, p)) return 1;
            ++written;
        }
    std::printf("%d pictures written to %s\n", written, qPrintable(dir.absolutePath()));
    return 0;
}

// ---- Contact sheets ----------------------------------------------------------------------

QImage Load(const QDir& dir, const QString& name) {
    QImage image(dir.filePath(name + ".png"));
    if (image.isNull()) image.load(dir.filePath(name + ".jpg"));
    return image;
}

// Lays pictures out in rows on a felt-coloured sheet, each with its name underneath.
class Sheet {
public:
    Sheet(int width, QColor background) : width_(width), background_(background) {}
    void Row(const QDir& dir, const QStringList& names, int scale = 1) {
        std::vector<std::pair<QString, QImage>> row;
        for (const QString& n : names) row.push_back({n, Load(dir, n)});
        rows_.push_back({row, scale});
    }
    QImage Render() const {
        int height = 8;
        for (const auto& r : rows_) height += RowHeight(r) + 8;
        QImage sheet(width_, height, QImage::Format_RGB32);
        sheet.fill(background_);
        QPainter p(&sheet);
        p.setFont(Latin(10, false));
        int y = 8;
        for (const auto& r : rows_) {
            int x = 8;
            const int h = RowHeight(r);
            for (const auto& [name, image] : r.first) {
                const QSize s = image.isNull() ? QSize(40, 20) : image.size() * r.second;
                if (x + s.width() > width_ - 8) break;
                if (image.isNull()) {
                    p.fillRect(QRect(QPoint(x, y), s), Qt::magenta);
                } else {
                    p.drawImage(QRect(QPoint(x, y), s), image);
                }
                p.setPen(QColor(255, 255, 255, 200));
                p.drawText(QRect(x, y + h - 13, qMax(s.width(), 30), 13), Qt::AlignLeft, name);
                x += qMax(s.width(), 30) + 6;
            }
            y += h + 8;
        }
        return sheet;
    }

private:
    using RowData = std::pair<std::vector<std::pair<QString, QImage>>, int>;
    static int RowHeight(const RowData& r) {
        int h = 20;
        for (const auto& [name, image] : r.first) h = qMax(h, image.height() * r.second);
        return h + 14;
    }
    int width_;
    QColor background_;
    std::vector<RowData> rows_;
};

QStringList Ids(int first, int last, int step = 1) {
    QStringList out;
    for (int i = first; i <= last; i += step) out << QString::number(i);
    return out;
}

QImage CardsSheet(const QDir& dir) {
    Sheet s(1300, QColor(0x0C, 0x52, 0x26));
    for (int suit = 0; suit < 4; ++suit) s.Row(dir, Ids(16 * suit + 3, 16 * suit + 15));
    s.Row(dir, {"16", "17", "18", "260", "353", "354"});
    for (int suit = 0; suit < 4; ++suit) s.Row(dir, Ids(301 + 13 * suit, 313 + 13 * suit));
    return s.Render();
}

QImage UiSheet(const QDir& dir) {
    Sheet s(1400, QColor(0x0C, 0x52, 0x26));
    s.Row(dir, Ids(520, 549));
    s.Row(dir, Ids(550, 579) + Ids(590, 595));
    s.Row(dir, Ids(150, 169));
    s.Row(dir, Ids(170, 177));
    s.Row(dir, Ids(283, 300) + Ids(280, 282) + Ids(506, 509));
    s.Row(dir, Ids(240, 249));
    s.Row(dir, Ids(250, 259));
    s.Row(dir, Ids(601, 620) + Ids(621, 640));
    s.Row(dir, Ids(641, 800, 8));
    s.Row(dir, Ids(580, 589) + QStringList{"801", "802", "1"});
    s.Row(dir, Ids(850, 864), 3);
    s.Row(dir, {"870", "871", "873", "874"});
    s.Row(dir, {"skin", "close-0", "close-1", "close-2", "min-0", "min-1", "min-2", "icon", "countdown", "countdown-small", "dealer", "score-icon", "panel-frame",
                "tool-strip", "tool-strip-local", "phrase-strip"});
    s.Row(dir, {"dialog-exit", "dialog-message", "settings-face"});
    return s.Render();
}

// The table as the window shows it: background, bars and pieces at their design places.
QImage TableSheet(const QDir& dir, bool blue) {
    QImage sheet(1040, 796, QImage::Format_RGB32);
    QPainter p(&sheet);
    // The frame from the skin's regions (in pixels, 15 twips each).
    const QImage skin = Load(dir, "skin");
    const int W = 1040, H = 796;
    p.drawImage(QRect(0, 0, 8, 20), skin, QRect(0, 0, 8, 20));
    p.drawImage(QRect(8, 0, W - 16, 20), skin, QRect(8, 0, 8, 20));
    p.drawImage(QRect(W - 8, 0, 8, 20), skin, QRect(38, 0, 8, 20));
    p.drawImage(QRect(0, 20, 8, H - 28), skin, QRect(0, 20, 8, 192));
    p.drawImage(QRect(W - 8, 20, 8, H - 28), skin, QRect(38, 20, 8, 192));
    p.drawImage(QRect(0, H - 8, 8, 8), skin, QRect(0, 212, 8, 8));
    p.drawImage(QRect(8, H - 8, W - 16, 8), skin, QRect(8, 212, 8, 8));
    p.drawImage(QRect(W - 8, H - 8, 8, 8), skin, QRect(38, 212, 8, 8));
    p.drawImage(QPoint(W - 17 - 5, 2), Load(dir, "close-0"));
    p.drawImage(QPoint(W - 17 - 5 - 17 - 2, 2), Load(dir, "min-1"));
    p.drawImage(QPoint(3, 2), Load(dir, "icon"));
    p.setPen(Qt::white);
    p.setFont(Cjk(12, false));
    p.drawText(QPoint(22, 15), QStringLiteral("Morvel游戏--Sorvik"));
    p.translate(8, 20);
    auto at = [&](int x, int y, const QString& name) { p.drawImage(QPoint(x, y), Load(dir, name)); };
    at(0, 0, blue ? "table-blue" : "table-green");
    at(0, 0, "bar-top");
    at(0, 640, "bar-bottom");
    at(10, 668, "240");
    at(7, 15, "245");
    at(350, 15, "252");
    at(693, 15, "258");
    at(632, 654, "phrase-strip");
    at(640, 659, "506");
    at(640, 675, "509");
    at(107, 650, "score-icon");
    at(573, 730, "150");
    for (int k = 1; k <= 8; ++k) {
        const int entry = k == 1 ? 2 : k == 2 ? 4 : 2 * k + 2;
        at(648 + 70 * ((k - 1) % 4), 699 + 32 * ((k - 1) / 4), QString::number(150 + entry + (k == 5 ? 1 : 0)));
    }
    // Cards: local hand face up, others face down, one opponent looked.
    at(460, 552, "62");
    at(480, 552, "46");
    at(500, 552, "14");
    for (int i = 0; i < 3; ++i) {
        at(40 + 20 * i, 312, "260");
        at(460 + 20 * i, 112, "260");
        at(860 + 20 * i, 312, "260");
    }
    at(8, 200, "583");
    at(406, 110, "581");
    // Action buttons at their places: a turn with follow, raise and compare offered.
    const int pos[9][2] = {{923, 507}, {826, 594}, {760, 600}, {886, 562}, {737, 567},
                           {785, 550}, {832, 528}, {874, 500}, {910, 468}};
    const int pic[9] = {520, 523, 526, 529, 533, 536, 539, 542, 545};
    for (int k = 0; k < 9; ++k) at(pos[k][0], pos[k][1], QString::number(pic[k] + (k == 6 ? 2 : 0)));
    // Chips in the pot, the countdown, the ready marks, the compare markers.
    const int chips[6][3] = {{470, 400, 601}, {500, 420, 641}, {530, 398, 681}, {515, 440, 721},
                             {480, 445, 761}, {552, 430, 606}};
    for (const auto& c : chips) at(c[0], c[1], QString::number(c[2]));
    at(490, 452, "countdown");
    at(460, 630, "dealer");
    at(460, 110, "282");
    at(900, 280, "281");
    at(290, 350, "586");
    at(720, 350, "587");
    at(520, 230, "801");
    return sheet;
}

int MakeSheet(const QString& folder, const QString& out, const QString& kind) {
    const QDir dir(folder);
    QImage sheet;
    if (kind == "cards")
        sheet = CardsSheet(dir);
    else if (kind == "ui")
        sheet = UiSheet(dir);
    else if (kind == "table")
        sheet = TableSheet(dir, false);
    else if (kind == "table-blue")
        sheet = TableSheet(dir, true);
    else if (kind.startsWith("zoom:")) {
        // zoom:<scale>:<name>,<name>,... shows the named pictures enlarged.
        const QStringList parts = kind.split(':');
        Sheet s(1400, QColor(0x0C, 0x52, 0x26));
        s.Row(dir, parts.value(2).split(','), qMax(1, parts.value(1).toInt()));
        sheet = s.Render();
    } else {
        std::fprintf(stderr, "unknown sheet %s\n", qPrintable(kind));
        return 2;
    }
    return sheet.save(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == "--sheet") return MakeSheet(args[2], args[3], args[4]);
    if (args.size() == 2 && !args[1].startsWith("-")) return Generate(args[1]);
    std::fprintf(stderr,
                 "usage: sorvik-artgen <output-folder>\n"
                 "       sorvik-artgen --sheet <pictures-folder> <sheet.png> cards|ui|table|table-blue|zoom:<scale>:<names>\n");
    return 2;
}
