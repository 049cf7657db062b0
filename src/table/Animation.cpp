// Cards and animations: drawing and sorting cards, the deal, the chips that fly to the pot
// and to the winner, and the compare face-off.

#include <QEvent>
#include <QLabel>
#include <cmath>

#include "session/TableClient.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

constexpr int kDealOrder[4] = {0, 3, 2, 1};
constexpr int kChipValues[5] = {5, 10, 20, 50, 100};

int Round(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

double TableClient::Random() {
    // xorshift32: cheap, and the ranges are all the table needs.
    rngState_ ^= rngState_ << 13;
    rngState_ ^= rngState_ >> 17;
    rngState_ ^= rngState_ << 5;
    return (rngState_ >> 8) / 16777216.0;
}

// ---- Cards ----

void TableClient::ShowCard(int position, int imageIndex, int number) {
    if (number < 0 || number > 63) throw DispatchFault("card picture out of range");
    if (!IsDrawableCardPicture(number)) {
        // Not a card: the table gives up on this hand's display and hands back the screen.
        form_->showMinimized();
        RestoreLobby();
        return;
    }
    if (position < 0 || position > 3) return;
    PictureBox* card = form_->cardImage[position].at(static_cast<size_t>(imageIndex));
    card->SetPicture(pictureTables_.CardPictures[number]);
}

void TableClient::SortHand(int p) {
    SeatState& seat = state_.Seats.at(static_cast<size_t>(p));
    auto image = [&](int slot) {
        return form_->cardImage[p].at(static_cast<size_t>(seat.Cards[slot].ImageIndex));
    };
    std::array<int32_t, 3> codes = {seat.Cards[0].Code, seat.Cards[1].Code, seat.Cards[2].Code};
    if (p == 0)
        for (int e = 0; e < 3; ++e) image(e)->hide();
    const unsigned changed = SortHandCodes(codes);
    for (int e = 0; e < 3; ++e) {
        seat.Cards[e].Code = codes[e];
        if (changed & (1u << e)) ShowCard(p, seat.Cards[e].ImageIndex, CardPictureNumber(codes[e]));
    }
    for (int e = 0; e < 3; ++e) {
        image(e)->raise();
        image(e)->show();
    }
}

void TableClient::CollapseCards(int p) {
    auto& cards = form_->cardImage[p];
    if (p == 0)
        for (PictureBox* c : cards) c->SetPicture(kCardBackPicture);
    const double left = cards[0]->Left();
    for (int i = 1; i < 3; ++i) cards[i]->MoveTo(left + 2 * i * scale_.ScaleX, cards[i]->Top());
}

// ---- The deal ----

void TableClient::StartDeal() {
    for (int p = 0; p < 4; ++p)
        for (PictureBox* c : form_->cardImage[p]) {
            c->hide();
            c->setEnabled(false);
            c->SetPicture(p == 0 ? kCardBackPicture : pictureTables_.CardPictures[18]);
            c->MoveTo(480 * scale_.ScaleX, 312 * scale_.ScaleX);
        }
    timerDcard_->Start();
    seams_.loop.WaitSeconds(3.5);
}

void TableClient::DealTick() {
    const int s = state_.DealStep;
    if (s < 1 || s > 12) return;
    const int p = kDealOrder[(s - 1) % 4];
    const int i = (s - 1) / 4;
    auto& cards = form_->cardImage[p];
    PictureBox* c = cards[i];
    const double left = c->Left(), top = c->Top();
    const double step = 20 * scale_.ScaleX;
    bool travelling = false;
    switch (p) {
        case 0: travelling = top + 1 <= 536 * scale_.ScaleY; break;
        case 3: travelling = left + 1 <= 850 * scale_.ScaleX; break;
        case 2: travelling = top - 1 >= 115 * scale_.ScaleY; break;
        case 1: travelling = left - 1 >= 48 * scale_.ScaleX; break;
    }
    if (travelling) {
        c->show();
        const double dx[4] = {0, -step, 0, step}, dy[4] = {step, 0, -step, 0};
        c->MoveTo(left + dx[p], top + dy[p]);
        if (p == 1) {
            cards[1]->raise();
            cards[2]->raise();
        }
        return;
    }
    DealSound();
    for (int q : {0, 2, 3}) {
        form_->cardImage[q][1]->raise();
        form_->cardImage[q][2]->raise();
    }
    const double nudge[4][3] = {{-20, 0, 20}, {0, 20, 40}, {-20, 0, 20}, {0, 20, 40}};
    c->MoveTo(left + nudge[p][i] * scale_.ScaleX, top);
    if (s == 12) {
        timerDcard_->Stop();
        for (int q = 0; q < 4; ++q) AnimateBet(q, 10);  // the antes
    }
}

void TableClient::DealSound() {
    const int k = state_.DealStep++;
    if (k < 12 && sound_.SoundOn) {
        sound_.InitSound();
        sound_.StopSound();
        sound_.PlayEffect(QStringLiteral("deliver_card.wav"));
    }
}

// ---- Chips ----

std::vector<int> BreakIntoChips(int amount) {
    std::vector<int> chips;
    int rest = std::max(0, amount);
    for (int value : {100, 50, 20, 10, 5}) {
        for (int n = rest / value; n > 0 && chips.size() < 11; --n) chips.push_back(value);
        rest %= value;
    }
    if (chips.empty()) chips.push_back(100);  // below 5: one chip still shows the bet
    return chips;
}

int TableClient::ChipRow(int value) const {
    for (int r = 0; r < 5; ++r)
        if (kChipValues[r] == value) return r;
    return 4;
}

void TableClient::UnloadChips() { chips_.clear(); }

void TableClient::AnimateBet(int position, int amount) {
    if (position < 0 || position > 3) throw DispatchFault("bet position out of range");
    const std::vector<int> values = BreakIntoChips(amount);
    const double sx = scale_.ScaleX, sy = scale_.ScaleY;
    const double start[4][2] = {{499, 488}, {192, 344}, {499, 208}, {784, 344}};
    const size_t first = chips_.size();
    for (int value : values) {
        Chip chip;
        chip.value = value;
        chip.image = std::make_unique<PictureBox>(form_->Pic1, seams_.pictures, &scale_);
        chip.image->SetPicture(pictureTables_.ChipFrames[ChipRow(value)][0]);
        chip.image->resize(Round(40 * sx), Round(40 * sy));
        chip.image->setScaledContents(true);
        chip.image->Place(start[position][0], start[position][1]);
        chip.image->show();
        chip.image->raise();
        const int dx = static_cast<int>(std::floor(Random() * (position % 2 == 0 ? 101 : 51) - (position % 2 == 0 ? 50 : 25)));
        const int dy = static_cast<int>(std::floor(Random() * 51 - 25));
        chip.targetLeft = Round(Round(1.5 * dx * sx) * sx + 488 * sx);
        chip.targetTop = Round(Round(1.5 * dy * sx) * sx + 336 * sy);
        chips_.push_back(std::move(chip));
        if (sound_.SoundOn) {
            sound_.InitSound();
            sound_.StopSound();
            sound_.PlayEffect(QStringLiteral("coin_move.wav"));
        }
    }
    const size_t n = chips_.size() - first;
    size_t landed = 0;
    int j = 1;
    while (landed < n) {
        for (size_t k = chips_.size(); k > first && landed < n; --k) {
            Chip& chip = chips_[k - 1];
            PictureBox* img = chip.image.get();
            const int row = ChipRow(chip.value);
            if (!chip.landed) {
                double left = img->Left(), top = img->Top();
                const bool vertical = position == 0 || position == 2;
                const double main = vertical ? top : left, cross = vertical ? left : top;
                const double mainTarget = vertical ? chip.targetTop : chip.targetLeft;
                const double crossTarget = vertical ? chip.targetLeft : chip.targetTop;
                const bool arrived = position == 0   ? top <= chip.targetTop
                                     : position == 1 ? left >= chip.targetLeft
                                     : position == 2 ? top >= chip.targetTop
                                                     : left <= chip.targetLeft;
                if (!arrived) {
                    const double slope = main != mainTarget ? (crossTarget - cross) / std::abs(mainTarget - main) : 0;
                    const double dir = position == 0 || position == 3 ? -1 : 1;
                    const double nextMain = main + dir * j * sx;
                    const double nextCross = cross + j * slope * sx;
                    if (vertical)
                        img->MoveTo(nextCross, nextMain);
                    else
                        img->MoveTo(nextMain, nextCross);
                } else {
                    const int r = position == 0 ? static_cast<int>(std::floor(Random() * 6 - 10))
                                                : static_cast<int>(std::floor(Random() * 11 - 5));
                    img->MoveTo(left + r * sx, top + r * sx);
                    chip.landed = true;
                    ++landed;
                    img->SetPicture(pictureTables_.ChipFrames[row][static_cast<int>(std::floor(Random() * 20))]);
                }
            }
            seams_.loop.SleepSeconds(0.01);
            img->SetPicture(pictureTables_.ChipFrames[row][static_cast<int>(std::floor(Random() * 20))]);
            ++j;
        }
    }
}

void TableClient::CollectPot(int position) {
    if (position < 0 || position > 3) throw DispatchFault("winner position out of range");
    const double sx = scale_.ScaleX, sy = scale_.ScaleY;
    for (size_t k = 30; k < chips_.size(); ++k) chips_[k].image->hide();
    const int m = Round(50 * sx);
    const double aim[4][2] = {{499 * sx, 628 * sy}, {52 * sx, 344 * sy}, {499 * sx, 68 * sy}, {924 * sx, 344 * sy}};
    std::vector<bool> arrived(chips_.size(), false);
    size_t done = 0;
    const size_t count = chips_.size();
    const double pause = count <= 19 ? 0.001 : count <= 29 ? 0.0005 : 0.0;
    while (done < count) {
        for (size_t k = count; k > 0 && done < count; --k) {
            if (arrived[k - 1]) continue;
            PictureBox* img = chips_[k - 1].image.get();
            const double left = img->Left(), top = img->Top();
            const bool at = position == 0   ? top >= 478 * sy
                            : position == 1 ? left <= 202 * sx
                            : position == 2 ? top <= 218 * sy
                                            : left >= 774 * sx;
            if (at) {
                arrived[k - 1] = true;
                ++done;
            } else {
                const bool vertical = position == 0 || position == 2;
                const double main = vertical ? top : left, cross = vertical ? left : top;
                const double mainAim = vertical ? aim[position][1] : aim[position][0];
                const double crossAim = vertical ? aim[position][0] : aim[position][1];
                const double slope = main != mainAim ? (crossAim - cross) / std::abs(mainAim - main) : 0;
                const double dir = mainAim > main ? 1 : -1;
                const double nextMain = main + dir * m * sx, nextCross = cross + m * slope * sx;
                if (vertical)
                    img->MoveTo(nextCross, nextMain);
                else
                    img->MoveTo(nextMain, nextCross);
            }
            if (pause > 0) seams_.loop.SleepSeconds(pause);
        }
    }
    for (size_t k = 0; k < std::min<size_t>(4, chips_.size()); ++k)
        chips_[k].image->SetPicture(pictureTables_.ChipFrames[1][static_cast<int>(std::floor(Random() * 20))]);
    seams_.loop.SleepSeconds(1);
}

// ---- The compare face-off ----

namespace {

struct FaceOff {
    MainForm& f;
    EventLoop& loop;
    const LayoutScale& scale;
    int s;     // rounded step
    double d;  // unrounded step

    double X(double v) const { return std::lround(v * scale.ScaleX); }
    double Y(double v) const { return std::lround(v * scale.ScaleY); }
    std::array<PictureBox*, 3>& Hand(int p) { return f.cardImage[p]; }

    // A fixed-target hand: items move by s vertically along the straight line to their
    // own targets; returns 1 once an examined item is past `line`.
    int Towards(int p, const double (&targetLeft)[3], double targetTop, bool up,
                const std::function<bool(double)>& inPlace, const std::function<void()>& arrival,
                bool examineAll = false) {
        auto& hand = Hand(p);
        double ratio = 0;
        bool home = false;
        for (int i : {2, 1, 0}) {
            PictureBox* c = hand[i];
            if (inPlace(c->Top())) {
                if (!examineAll) {
                    arrival();
                    return 1;
                }
                arrival();
                home = true;
                continue;
            }
            const double tl = X(targetLeft[i]), tt = Y(targetTop);
            if (c->Top() != tt) ratio = (tl - c->Left()) / std::abs(tt - c->Top());
            c->MoveTo(c->Left() + s * ratio, c->Top() + (up ? -s : s));
        }
        return home ? 1 : 0;
    }

    int LocalToMiddle(bool leftSide) {
        const double left[3] = {leftSide ? 324. : 576., leftSide ? 354. : 606., leftSide ? 384. : 636.};
        return Towards(0, left, 312, true, [&](double top) { return top <= Y(312); }, [&] {
            for (PictureBox* c : Hand(0)) {
                c->raise();
                c->MoveTo(c->Left(), Y(312));
            }
        });
    }
    int TopToMiddle(bool leftSide) {
        const double left[3] = {leftSide ? 324. : 576., leftSide ? 354. : 606., leftSide ? 384. : 636.};
        return Towards(2, left, 312, false, [&](double top) { return Y(312) - top <= 1; }, [&] {
            for (PictureBox* c : Hand(2)) {
                c->MoveTo(c->Left(), Y(312));
                c->raise();
            }
        });
    }
    int LocalHome() {
        const double left[3] = {450, 480, 510};
        return Towards(0, left, 536, false, [&](double top) { return top >= Y(536); }, [&] {
            for (PictureBox* c : Hand(0)) {
                c->resize(static_cast<int>(X(90)), static_cast<int>(Y(120)));
                c->raise();
            }
        });
    }
    int TopHome() {
        const double left[3] = {450, 480, 510};
        return Towards(2, left, 115, true, [&](double top) { return top <= Y(115); }, [&] {
            Hand(2)[1]->raise();
            Hand(2)[2]->raise();
        }, true);
    }
    int Slide(int p, std::initializer_list<int> order, double dir, const std::function<bool(double)>& inPlace,
              bool waitOnArrival) {
        auto& hand = Hand(p);
        for (int i : order) {
            PictureBox* c = hand[i];
            if (inPlace(c->Left())) {
                if (waitOnArrival) {
                    loop.WaitSeconds(0.01);
                    for (PictureBox* x : hand) x->raise();
                }
                return 1;
            }
            c->show();
            c->MoveTo(c->Left() + dir * d, c->Top());
        }
        return 0;
    }
    int LeftToMiddle() { return Slide(1, {2, 1, 0}, 1, [&](double l) { return l + d > 384 * scale.ScaleX; }, true); }
    int RightToMiddle() { return Slide(3, {0, 1, 2}, -1, [&](double l) { return l - d < 576 * scale.ScaleX; }, true); }
    int LeftHome() { return Slide(1, {0, 1, 2}, -1, [&](double l) { return l - 1 < 48 * scale.ScaleX; }, false); }
    int RightHome() { return Slide(3, {2, 1, 0}, 1, [&](double l) { return l + 1 > 890 * scale.ScaleX; }, false); }

    int ToMiddle(int p, bool leftSide) {
        switch (p) {
            case 0: return LocalToMiddle(leftSide);
            case 1: return LeftToMiddle();
            case 2: return TopToMiddle(leftSide);
            default: return RightToMiddle();
        }
    }
    int Home(int p) {
        switch (p) {
            case 0: return LocalHome();
            case 1: return LeftHome();
            case 2: return TopHome();
            default: return RightHome();
        }
    }
};

}  // namespace

void TableClient::ShowCompare(int a, int b, std::array<int16_t, 24>& cards) {
    if (a < 0 || a > 3 || b < 0 || b > 3) throw DispatchFault("compare positions out of range");
    if (a == b) return;  // one hand against itself: nothing to show
    for (int e : {1, 5, 9, 13, 17, 21})
        if (cards[e] == 2) cards[e] = 15;
    MainForm& f = *form_;
    f.VsImg->raise();
    f.VsImg->show();
    f.VsImg->MoveTo(472 * scale_.ScaleX, 336 * scale_.ScaleX);
    f.VsImg->SetPicture(pictureTables_.VsPicture);

    const int lo = std::min(a, b), hi = std::max(a, b);
    // Which hand takes the left side, and which steps first towards the middle and home.
    struct Pair {
        int left, right, firstIn, firstHome;
    };
    const Pair pair = lo == 0 && hi == 1   ? Pair{1, 0, 0, 1}
                      : lo == 0 && hi == 2 ? Pair{0, 2, 2, 0}
                      : lo == 0 && hi == 3 ? Pair{0, 3, 0, 0}
                      : lo == 1 && hi == 2 ? Pair{1, 2, 1, 1}
                      : lo == 1 && hi == 3 ? Pair{1, 3, 1, 1}
                                           : Pair{2, 3, 2, 3};
    const bool local = lo == 0;
    FaceOff face{f, seams_.loop, scale_, Round(20 * scale_.ScaleX), 20 * scale_.ScaleX};
    if (local)
        for (PictureBox* c : f.cardImage[0]) c->resize(Round(80 * scale_.ScaleX), Round(108 * scale_.ScaleY));
    auto cycle = [&](int first, const std::function<int(int)>& step) {
        // Both hands step once per cycle until both are in place in the same cycle; the
        // short wait lets each cycle be drawn.
        while (true) {
            const int second = first == pair.left ? pair.right : pair.left;
            const int r1 = step(first);
            const int r2 = step(second);
            if (r1 == 1 && r2 == 1) return;
            seams_.loop.WaitSeconds(0.015);
        }
    };
    cycle(pair.firstIn, [&](int p) { return face.ToMiddle(p, p == pair.left); });
    sound_.PlayEffect(QStringLiteral("vs.wav"));
    seams_.loop.WaitSeconds(2);
    if (local)
        for (PictureBox* c : f.cardImage[0]) c->resize(Round(90 * scale_.ScaleX), Round(120 * scale_.ScaleY));
    cycle(pair.firstHome, [&](int p) { return face.Home(p); });
    seams_.loop.WaitSeconds(1);
    f.VsImg->hide();
    seams_.loop.WaitSeconds(1);
}

// ---- The open-cards notice ----

QWidget& TableClient::frm_kaipai() {
    if (!kaipai_) {
        kaipai_ = std::make_unique<QWidget>(form_.get());
        kaipai_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        kaipai_->setAutoFillBackground(true);
        QPalette p = kaipai_->palette();
        p.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC8));
        p.setColor(QPalette::WindowText, QColor(0x90, 0x20, 0x10));
        kaipai_->setPalette(p);
        kaipai_->setFixedSize(300, 60);
        kaipaiLabel_ = new QLabel(kaipai_.get());
        kaipaiLabel_->setTextFormat(Qt::PlainText);
        kaipaiLabel_->setAlignment(Qt::AlignCenter);
        kaipaiLabel_->setWordWrap(true);
        kaipaiLabel_->setGeometry(8, 6, 284, 48);
        kaipaiLabel_->installEventFilter(this);
        kaipai_->installEventFilter(this);
    }
    return *kaipai_;
}

bool TableClient::eventFilter(QObject* watched, QEvent* e) {
    // A click on the open-cards notice hides it.
    if (kaipai_ && e->type() == QEvent::MouseButtonPress &&
        (watched == kaipai_.get() || watched == kaipaiLabel_))
        kaipai_->hide();
    return QObject::eventFilter(watched, e);
}

void TableClient::ShowNotice(const QString& text) {
    QWidget& w = frm_kaipai();
    w.move(0, 0);  // topmost, at the screen's top-left corner
    w.show();
    w.raise();
    kaipaiLabel_->setText(text);
}

}  // namespace sorvik
