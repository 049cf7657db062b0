// The settlement: the four result frames of a game become the bills, totals, levels,
// result labels, sounds and the countdown to the next game.

#include <cstdint>
#include <cmath>
#include <exception>

#include "results/ResultWindows.h"
#include "session/TableClient.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

const char* const kLevelTitles[40] = {
    "第一级", "第二级", "第三级", "第四级", "第五级", "第六级", "第七级", "第八级",
    "第九级", "第十级", "第十一级", "第十二级", "第十三级", "第十四级", "第十五级",
    "第十六级", "第十七级", "第十八级", "第十九级", "第二十级", "第二十一级", "第二十二级",
    "第二十三级", "第二十四级", "第二十五级", "第二十六级", "第二十七级", "第二十八级",
    "第二十九级", "第三十级", "第三十一级", "第三十二级", "第三十三级", "第三十四级",
    "第三十五级", "第三十六级", "第三十七级", "第三十八级", "第三十九级", "第四十级"};

// Each step of the settlement stands alone: one that faults is skipped.
template <class F> void Step(F&& body) {
    try {
        body();
    } catch (const std::exception&) {
    }
}

// A running net that would leave the 32-bit range stays as it was.
void AddNet(int32_t& net, double amount) {
    const double next = static_cast<double>(net) + amount;
    if (next >= -2147483648.0 && next <= 2147483647.0) net = static_cast<int32_t>(next);
}

}  // namespace

QString LevelTitle(int level) {
    return level >= 1 && level <= 40 ? QString::fromUtf8(kLevelTitles[level - 1]) : QString();
}

void TableClient::OnGameResult(const PacketFrame& frame) {
    state_.MyStakeUnits = 0;
    ++state_.ResultFramesSinceReset;
    ++state_.ResultFramesTotal;
    form_->Time_Img->hide();
    form_->Number->hide();
    transport_.Slots.TurnClock.Armed = false;
    for (MessageList* list : Score().State) list->clear();
    ShowGameResult(frame);
    if (state_.ResultFramesSinceReset == 1) CollectPot(state_.PositionOfSeat(frame[35]));
}

void TableClient::ShowGameResult(const PacketFrame& frame) {
    TableState& s = state_;
    if (s.ResultFrameCount < 0 || s.ResultFrameCount > 3) s.ResultFrameCount = 0;
    s.ResultFrames[s.ResultFrameCount++] = frame;
    if (s.ResultFrameCount < 4) return;

    ScoreWindow& score = Score();
    HeroWindow& hero = Hero();
    SuanfenWindow& sf = suanfen();
    // 1.-2.
    Step([&] {
        for (PictureBox* img : form_->shanImage) img->hide();
        for (TextLabel* l : hero.sunScore) l->show();
    });
    Step([&] {
        const uint32_t room = uint32_t(frame[8]) << 24 | uint32_t(frame[9]) << 16 |
                              uint32_t(frame[10]) << 8 | frame[11];
        if (room <= 0x7FFFFFFFu) s.BaseStake = static_cast<int32_t>(room);
        for (int p = 0; p < 4; ++p)
            score.State[p]->AddItem(QStringLiteral("房间条数：") + QString::number(room) + QStringLiteral("金币"));
    });
    // 3. Each seat's row.
    for (int r = 0; r < 4; ++r) {
        const PacketFrame& row = s.ResultFrames[r];
        const int p = s.PositionOfSeat(row[6]);
        SeatProfile& profile = s.Profiles[p];
        const double gross = static_cast<double>(ReadFrameNumber(row, 17, 8));
        const double final = static_cast<double>(ReadFrameNumber(row, 26, 8));
        const QString G = PlainAmount(gross), F = PlainAmount(final);
        MessageList* bill = score.State[p];
        MessageList* last = score.State[p + 4];
        Step([&] {
            bill->AddItem({});
            bill->AddItem({});
            if (row[16] == 1) {
                bill->AddItem(QStringLiteral("总分：") + G + QStringLiteral("金币"));
                if (profile.Wins < INT32_MAX) ++profile.Wins;
            } else {
                if (profile.Losses < INT32_MAX) ++profile.Losses;
                bill->AddItem((gross != 0 ? QStringLiteral("总分：- ") : QStringLiteral("总分： ")) + G +
                              QStringLiteral("金币"));
            }
            bill->AddItem(QStringLiteral("-----------"));
        });
        TextLabel* result = form_->StakeLabel[p];
        if (row[25] == 1) {
            Step([&] {
                bill->AddItem({});
                bill->AddItem(QStringLiteral("扣税3%"));
                bill->AddItem({});
                bill->AddItem(QStringLiteral("总分：") + F + QStringLiteral("金币"));
                last->AddItem(QStringLiteral("最终分：") + F + QStringLiteral("金币"));
            });
            Step([&] {
                if (p == 0) profile.Coins += final;
                profile.Points += final;
            });
            Step([&] {
                if (sound_.SoundOn) sound_.PlayEffect(p == 0 ? QStringLiteral("victory.wav") : QStringLiteral("fail.wav"));
            });
            Step([&] { hero.Grade[p]->AddItem(F); });
            Step([&] {
                s.CumulativeScore[p] += final;
                hero.sunScore[p]->SetCaption(PlainAmount(s.CumulativeScore[p]) + QStringLiteral("金币"));
                hero.sunScore[p]->adjustSize();
            });
            Step([&] { AddNet(s.RunningNet[p], final); });
            Step([&] { sf.sf[p + 4]->SetCaption(" " + F); });
            Step([&] {
                result->SetCaption(F);
                result->adjustSize();
                result->show();
                result->raise();
                const double dx[4] = {0, 50, 0, -50}, dy[4] = {-40, 0, 40, 0};
                result->MoveTo(result->Left() + dx[p] * scale_.ScaleX, result->Top() + dy[p] * scale_.ScaleY);
            });
        } else {
            const QString lost = (final != 0 ? QStringLiteral("总分： -") : QStringLiteral("总分： ")) + F +
                                 QStringLiteral("金币");
            Step([&] {
                bill->AddItem({});
                bill->AddItem({});
                bill->AddItem({});
            });
            Step([&] {
                if (p == 0) profile.Coins -= final;
                profile.Points -= final;
                if (profile.Coins < 0) profile.Coins = 0;
                if (profile.Points < 0) profile.Points = 1;
            });
            Step([&] {
                bill->AddItem(lost);
                last->AddItem(lost);
            });
            Step([&] { hero.Grade[p]->AddItem(final != 0 ? "-" + F : F); });
            Step([&] {
                s.CumulativeScore[p] -= final;
                hero.sunScore[p]->SetCaption(PlainAmount(s.CumulativeScore[p]) + QStringLiteral("金币"));
                hero.sunScore[p]->adjustSize();
            });
            Step([&] { AddNet(s.RunningNet[p], -final); });
            Step([&] { sf.sf[p + 4]->SetCaption("-" + F); });
            Step([&] {
                result->SetCaption("-" + F);
                result->adjustSize();
                result->show();
                result->raise();
            });
        }
        Step([&] {
            const int32_t net = s.RunningNet[p];
            sf.sf[p + 8]->SetCaption(net >= 1 ? " " + QString::number(net) : QString::number(net));
        });
        Step([&] {
            const QString title = LevelTitle(row[91]);
            if (title.isEmpty()) return;
            form_->Level[p]->SetCaption(title);
            form_->Level[p]->adjustSize();
            form_->Level[p]->raise();
        });
        Step([&] {
            if (p != 0) return;
            form_->Cash[0]->SetCaption(PlainAmount(profile.Coins) +
                                       (row[15] == 1 ? QStringLiteral("金币") : QStringLiteral("金条")));
            form_->Cash[0]->adjustSize();
        });
    }
    // 4.-6.
    Step([&] {
        ++s.GameCount;
        hero.Num->AddItem(PadLeft(QString::number(s.GameCount), 12));
    });
    s.ResultFrameCount = 0;
    Step([&] {
        form_->Sysmsg[0]->clear();
        SystemMessage(0, QStringLiteral("请点击【继续】按钮继续游戏！"));
        s.ToolbarUsed[2] = false;
        form_->AnNiu[2]->setEnabled(true);
        s.GameRunning = false;
        s.TableArmed = false;
        form_->Sysmsg[1]->clear();
        SystemMessage(1, QStringLiteral("游戏将在15秒内开始"));
    });
    // 7. The countdown to the next game.
    Step([&] {
        transport_.Slots.StartClock.Arm();
        s.StartClockLast = seams_.loop.Now();
        ShowCountdown(485, 288);
    });
    // 8.-9.
    Step([&] {
        for (PictureBox* b : form_->Speak) b->hide();
    });
    Step([&] { SaveGameRecord(s.GameCount); });
}

}  // namespace sorvik
