#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ClientHarness.h"
#include "results/ResultWindows.h"
#include "session/core/IniFile.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

// Local seat 1 at position 0; seats 2, 4, 8 at positions 1, 2, 3.
struct AtTable : ClientHarness {
    AtTable() {
        desktop.folder = dir.path();
        EXPECT_TRUE(Start());
        LogIn();
        const uint8_t seats[4] = {1, 2, 4, 8};
        for (int i = 0; i < 4; ++i)
            client->DispatchFrame(UserInfoFrame(1, {seats[i], QStringLiteral("a%1").arg(i), QStringLiteral("N%1").arg(i),
                                                    "m1", "t", "l", 50000}));
        client->state().GameRunning = true;
    }
    void Settle(std::array<PacketFrame, 4> rows) {
        for (auto& r : rows) client->DispatchFrame(r);
    }
    // The local player wins 200 gross, 194 final; the others lose.
    void StandardGame(uint64_t localFinal = 194) {
        Settle({ResultFrame(1, true, 200, localFinal, 5), ResultFrame(2, false, 100, 100, 3),
                ResultFrame(4, false, 0, 0, 0), ResultFrame(8, false, 100, 100, 41)});
    }
    ScoreWindow& score() { return client->Score(); }
    MainForm& form() { return client->form(); }
    HeroWindow& hero() { return client->Hero(); }
    QTemporaryDir dir;
};

}  // namespace

TEST(Settlement, NothingUntilTheFourthFrame) {
    AtTable h;
    h.client->DispatchFrame(ResultFrame(1, true, 200, 194, 5));
    h.client->DispatchFrame(ResultFrame(2, false, 100, 100, 3));
    h.client->DispatchFrame(ResultFrame(4, false, 0, 0, 0));
    EXPECT_EQ(h.score().State[0]->count(), 0);
    EXPECT_TRUE(h.client->state().GameRunning);
    h.client->DispatchFrame(ResultFrame(8, false, 100, 100, 41));
    EXPECT_FALSE(h.client->state().GameRunning);
    EXPECT_EQ(h.client->state().GameCount, 1);
}

TEST(Settlement, BillsTotalsLabelsAndLevels) {
    AtTable h;
    h.sound.played.clear();
    h.StandardGame();
    auto line = [](const char* text) { return QString::fromUtf8(text); };
    EXPECT_EQ(h.score().State[0]->Items(),
              (QStringList{line("房间条数：100金币"), "", "", line("总分：200金币"), "-----------", "",
                           line("扣税3%"), "", line("总分：194金币")}));
    EXPECT_EQ(h.score().State[4]->Items(), QStringList{line("最终分：194金币")});
    EXPECT_EQ(h.score().State[1]->Items(),
              (QStringList{line("房间条数：100金币"), "", "", line("总分：- 100金币"), "-----------", "", "", "",
                           line("总分： -100金币")}));
    // A zero loss: "0" in the lists and the hero list, "-0" beside the seat.
    EXPECT_EQ(h.score().State[6]->Items(), QStringList{line("总分： 0金币")});
    EXPECT_EQ(h.hero().Grade[2]->Items(), QStringList{"0"});
    EXPECT_EQ(h.form().StakeLabel[2]->Caption(), "-0");
    EXPECT_EQ(h.client->suanfen().sf[6]->Caption(), "-0");
    EXPECT_EQ(h.client->state().Profiles[2].Losses, 1);
    // The winner's label moves up 40 and shows the result.
    EXPECT_EQ(h.form().StakeLabel[0]->Caption(), "194");
    EXPECT_DOUBLE_EQ(h.form().StakeLabel[0]->Top(), 505 - 40);
    EXPECT_EQ(h.form().StakeLabel[3]->Caption(), "-100");
    EXPECT_DOUBLE_EQ(h.form().StakeLabel[3]->Left(), 790);
    // Coins and points, levels.
    EXPECT_EQ(h.client->state().Profiles[0].Coins, 50194);
    EXPECT_EQ(h.form().Cash[0]->Caption(), line("50194金币"));
    EXPECT_EQ(h.client->state().Profiles[0].Wins, 1);
    EXPECT_EQ(h.form().Level[0]->Caption(), line("第五级"));
    EXPECT_EQ(h.form().Level[2]->Caption(), "l");  // level 0 leaves the label
    EXPECT_EQ(h.form().Level[3]->Caption(), "l");  // level 41 too
    EXPECT_EQ(h.client->suanfen().sf[8]->Caption(), " 194");
    EXPECT_EQ(h.client->suanfen().sf[9]->Caption(), "-100");
    EXPECT_EQ(h.sound.Names(), QStringList{"victory.wav"});
    // The countdown and the continue prompt.
    EXPECT_EQ(h.form().Sysmsg[0]->Items(), QStringList{line("请点击【继续】按钮继续游戏！")});
    EXPECT_EQ(h.form().Sysmsg[1]->Items(), QStringList{line("游戏将在15秒内开始")});
    EXPECT_FALSE(h.client->state().ToolbarUsed[2]);
    EXPECT_TRUE(h.client->transport().Slots.StartClock.Armed);
    EXPECT_EQ(h.client->state().TurnSeconds, 15);
    EXPECT_TRUE(h.form().Number->isVisibleTo(h.form().Pic1));
    EXPECT_DOUBLE_EQ(h.form().Time_Img->Left(), 485);
    EXPECT_EQ(h.client->state().BaseStake, 100);
}

TEST(Settlement, TwoGamesAddUpAndLossesFloorCoinsAndPoints) {
    AtTable h;
    h.StandardGame();
    h.StandardGame(6);
    EXPECT_EQ(h.hero().Num->Items(), (QStringList{QString(11, ' ') + "1", QString(11, ' ') + "2"}));
    EXPECT_EQ(h.hero().sunScore[0]->Caption(), QString::fromUtf8("200金币"));
    EXPECT_EQ(h.hero().sunScore[1]->Caption(), QString::fromUtf8("-200金币"));
    EXPECT_TRUE(h.hero().sunScore[0]->isVisibleTo(&h.hero()));
    // A loss larger than the coins: coins 0, points 1.
    h.Settle({ResultFrame(1, false, 999999, 999999, 5), ResultFrame(2, true, 10, 10, 3),
              ResultFrame(4, false, 0, 0, 0), ResultFrame(8, false, 0, 0, 0)});
    EXPECT_EQ(h.client->state().Profiles[0].Coins, 0);
    EXPECT_EQ(h.client->state().Profiles[0].Points, 1);
    EXPECT_EQ(h.sound.Names().back(), "fail.wav");  // another player won
    // Win and loss counters at their limit stay there.
    h.client->state().Profiles[0].Wins = INT32_MAX;
    h.client->state().Profiles[1].Losses = INT32_MAX;
    h.StandardGame();
    EXPECT_EQ(h.client->state().Profiles[0].Wins, INT32_MAX);
    EXPECT_EQ(h.client->state().Profiles[1].Losses, INT32_MAX);
}

TEST(Settlement, SoundOffPlaysNothing) {
    AtTable h;
    h.client->sound().SoundOn = false;
    h.sound.played.clear();
    h.sound.volume = -1;
    h.StandardGame();
    EXPECT_TRUE(h.sound.played.empty());
    EXPECT_EQ(h.sound.volume, -1);
}

TEST(StatisticsFile, SavedPerGameAndLoadedBack) {
    AtTable h;
    h.StandardGame();
    const classIniFile file(h.dir.path() + "/info.mv");
    EXPECT_EQ(file.GetIniKey("juNum:1", "count( 0 )"), "9");
    EXPECT_EQ(file.GetIniKey("juNum:1", "count( 0 )( 3 )"), QString::fromUtf8("总分：200金币"));
    EXPECT_EQ(file.GetIniKey("juNum:1", "count( 4 )"), "1");
    h.Settle({ResultFrame(1, false, 50, 50, 5), ResultFrame(2, true, 50, 48, 3),
              ResultFrame(4, false, 0, 0, 0), ResultFrame(8, false, 0, 0, 0)});
    // Game 1 comes back exactly, blank lines as one space.
    h.client->LoadGameRecord(1);
    EXPECT_EQ(h.score().State[0]->Items()[3], QString::fromUtf8("总分：200金币"));
    EXPECT_EQ(h.score().State[0]->Items()[1], " ");
    EXPECT_EQ(h.score().State[0]->count(), 9);
    // n = 0 touches nothing; a missing count key stops at its list.
    const QStringList before = h.score().State[0]->Items();
    h.client->LoadGameRecord(0);
    EXPECT_EQ(h.score().State[0]->Items(), before);
    classIniFile(h.dir.path() + "/info.mv").DelIniKey("juNum:2", "count( 5 )");
    h.client->LoadGameRecord(2);
    EXPECT_EQ(h.score().State[0]->Items()[3], QString::fromUtf8("总分：- 50金币"));  // game 2
    EXPECT_EQ(h.score().State[4]->Items(), QStringList{QString::fromUtf8("总分： -50金币")});
    EXPECT_EQ(h.score().State[5]->Items(), QStringList{QString::fromUtf8("总分： -100金币")});  // still game 1
    // A count no record can have (an edited file) shows an empty list.
    for (const char* bad : {"1e20", "-3", "nan", "99999999999"}) {
        classIniFile(h.dir.path() + "/info.mv").WriteIniKey("juNum:2", "count( 4 )", bad);
        h.client->LoadGameRecord(2);
        EXPECT_EQ(h.score().State[4]->count(), 0) << bad;
    }
    // Leaving deletes the file.
    h.client->LeaveToLobby();
    EXPECT_FALSE(QFile::exists(h.dir.path() + "/info.mv"));
}

TEST(RecordWindows, ScoreButtonReloadsTheLatestGame) {
    AtTable h;
    h.client->OnToolbarClick(5);  // before any game: nothing loaded
    EXPECT_TRUE(h.score().isVisible());
    EXPECT_EQ(h.score().State[0]->count(), 0);
    h.client->OnToolbarClick(5);
    EXPECT_FALSE(h.score().isVisible());
    h.StandardGame();
    h.score().State[0]->clear();
    h.client->OnToolbarClick(5);
    EXPECT_EQ(h.score().State[0]->count(), 9);
    h.client->OnToolbarClick(6);
    EXPECT_TRUE(h.hero().isVisible());
    h.client->TablePressed();
    EXPECT_FALSE(h.hero().isVisible());
    EXPECT_FALSE(h.score().isVisible());
}

TEST(RecordWindows, HeroListsStayInStepAndDoubleClickLoadsAGame) {
    AtTable h;
    for (int g = 0; g < 5; ++g) h.StandardGame();
    HeroWindow& w = h.hero();
    w.Grade[2]->setCurrentRow(3);
    h.client->HeroGradeClicked(2);
    EXPECT_EQ(w.Num->currentRow(), 3);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(w.Grade[k]->currentRow(), 3);
    h.score().State[0]->clear();
    h.client->HeroDoubleClicked(w.Grade[2]->currentRow());
    EXPECT_TRUE(h.score().isVisible());
    EXPECT_EQ(h.score().State[0]->count(), 9);  // game 4
    w.Num->setCurrentRow(1);
    h.client->HeroNumClicked();
    EXPECT_EQ(w.Grade[0]->currentRow(), 1);
}
