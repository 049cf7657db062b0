#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QFile>
#include <QTemporaryDir>

#include "ClientHarness.h"
#include "table/ExitWindows.h"
#include "table/InformationWindow.h"
#include "table/MainForm.h"
#include "table/SettingsWindow.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

struct Table : ClientHarness {
    explicit Table(QSize screen = {1280, 1024}) {
        desktop.screen = screen;
        EXPECT_TRUE(Start());
    }
    MainForm& f() { return client->form(); }
    const PictureTables& t() { return client->pictureTables(); }
};

}  // namespace

TEST(Layout, ControlsSitAtTheirDesignPositionsInBothScales) {
    for (QSize screen : {QSize(1280, 1024), QSize(800, 600)}) {
        Table h(screen);
        const double s = h.client->scale().ScaleX;
        MainForm& f = h.f();
        const struct {
            const char* what;
            Placement* control;
            double left, top;
        } cases[] = {
            {"Tou(0)", f.Tou[0], 10, 668},       {"Tou(2)", f.Tou[2], 350, 15},
            {"Nid(0)", f.Nid[0], 181, 700},      {"Level(3)", f.Level[3], 852, 64},
            {"OK(1)", f.OK[1], 60, 280},         {"AnNiu(0)", f.AnNiu[0], 573, 730},
            {"AnNiu(4)", f.AnNiu[4], 858, 699},  {"AnNiu(5)", f.AnNiu[5], 648, 731},
            {"Operation(0)", f.Operation[0], 923, 507}, {"Operation(8)", f.Operation[8], 910, 468},
            {"Label1", f.StakeLabel[0], 505, 505}, {"Label4", f.StakeLabel[3], 790, 358},
            {"imgword2", f.imgword2, 640, 675},  {"Location", f.Location, 760, 668},
            {"bipai(2)", f.bipai[2], 720, 350},  {"Speak(3)", f.Speak[3], 936, 280},
        };
        for (const auto& c : cases) {
            EXPECT_DOUBLE_EQ(c.control->Left(), c.left * s) << c.what << " at " << s;
            EXPECT_DOUBLE_EQ(c.control->Top(), c.top * s) << c.what << " at " << s;
        }
        EXPECT_DOUBLE_EQ(f.Speak[2]->Top(), 110);  // not scaled
        EXPECT_EQ(f.cardImage[0][0]->size(), QSize(qRound(90 * s), qRound(120 * s)));
        EXPECT_EQ(f.cardImage[1][2]->size(), QSize(qRound(80 * s), qRound(108 * s)));
        for (int k = 0; k < 9; ++k) {
            EXPECT_FALSE(f.Operation[k]->isEnabled());
            EXPECT_EQ(f.Operation[k]->PictureId(), h.t().ActionButtonPictures[3 * k + 1]);
        }
        EXPECT_EQ(f.AnNiu[2]->PictureId(), h.t().ToolbarPictures[4]);
        EXPECT_TRUE(h.client->state().ToolbarUsed[2]);
    }
}

TEST(Hover, ToolbarButtonsLightUpUntilThePointerReachesTheTable) {
    Table h;
    const auto& tb = h.t().ToolbarPictures;
    h.client->OnToolbarHover(3);
    EXPECT_EQ(h.f().AnNiu[3]->PictureId(), tb[9]);
    h.client->OnToolbarHover(5);  // another button lights without restoring the first
    EXPECT_EQ(h.f().AnNiu[3]->PictureId(), tb[9]);
    EXPECT_EQ(h.f().AnNiu[5]->PictureId(), tb[13]);
    h.client->TableMouseMove(false);
    EXPECT_EQ(h.f().AnNiu[3]->PictureId(), tb[8]);
    EXPECT_EQ(h.f().AnNiu[5]->PictureId(), tb[12]);
    // The start button: "start" from the table before any hand, "continue" from the bottom bar.
    h.client->OnToolbarHover(2);
    EXPECT_EQ(h.f().AnNiu[2]->PictureId(), tb[5]);
    h.client->TableMouseMove(false);
    EXPECT_EQ(h.f().AnNiu[2]->PictureId(), tb[4]);
    h.client->OnToolbarHover(2);
    h.client->TableMouseMove(true);
    EXPECT_EQ(h.f().AnNiu[2]->PictureId(), tb[6]);
}

TEST(Hover, RealPointerMovesLightAButtonAndTheTablePutsItBack) {
    Table h;
    auto move = [](QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    const auto& tb = h.t().ToolbarPictures;
    move(h.f().AnNiu[3]);  // the move must not also reach the table behind the button
    EXPECT_EQ(h.f().AnNiu[3]->PictureId(), tb[9]);
    move(h.f().Pic1);
    EXPECT_EQ(h.f().AnNiu[3]->PictureId(), tb[8]);
}

TEST(Hover, QuickPhraseButtons) {
    Table h;
    h.client->OnPhraseHover(0);
    h.client->OnPhraseHover(1);
    EXPECT_EQ(h.f().imgword1->PictureId(), 508);
    EXPECT_EQ(h.f().imgword2->PictureId(), 509);
    h.client->OnPhraseStripHover();
    EXPECT_EQ(h.f().imgword1->PictureId(), 506);
    EXPECT_EQ(h.f().imgword2->PictureId(), 507);
}

TEST(PlayerCard, ShowsASeatedPlayerAndStaysUntilTheTableIsCrossed) {
    Table h;
    h.f().move(100, 50);
    TableState& s = h.client->state();
    s.Seats[2].AccountName = "bob";
    s.Profiles[2].NickName = QString::fromUtf8("小明");
    s.Profiles[2].IsMale = 1;
    s.Profiles[2].Points = 1234;
    s.Profiles[2].Wins = 7;
    s.Seats[0].AccountName = "me";
    s.Profiles[0].NickName = "Me";
    h.client->ShowPlayerInfo(1, false);  // an empty seat shows nothing
    EXPECT_FALSE(h.client->Information().isVisible());
    h.client->ShowPlayerInfo(2, false);
    InformationWindow& card = h.client->Information();
    ASSERT_TRUE(card.isVisible());
    EXPECT_EQ(card.Inf[0]->Caption(), QString::fromUtf8("小明"));
    EXPECT_EQ(card.Inf[1]->Caption(), QString::fromUtf8("男"));
    EXPECT_EQ(card.Inf[3]->Caption(), "1234");
    EXPECT_EQ(card.Inf[7]->Caption(), "7");
    EXPECT_EQ(card.Label[2]->Caption(), QString::fromUtf8("所 在 地"));
    const QPoint table = h.f().mapToGlobal(h.f().Pic1->pos());
    EXPECT_EQ(card.pos().x(), table.x() + h.f().Pic1->width() / 3);
    EXPECT_EQ(card.pos().y(), table.y() + static_cast<int>(0.11 * h.f().Pic1->height()));
    h.client->ShowPlayerInfo(0, false);  // visible: not refilled
    EXPECT_EQ(card.Inf[0]->Caption(), QString::fromUtf8("小明"));
    h.client->TableMouseMove(false);
    EXPECT_FALSE(card.isVisible());
    h.client->ShowPlayerInfo(0, false);  // the local card: left edge, lower
    EXPECT_EQ(card.Inf[0]->Caption(), "Me");
    EXPECT_EQ(card.pos().x(), table.x());
    EXPECT_EQ(card.pos().y(), table.y() + static_cast<int>(0.42 * h.f().Pic1->height()));
}

TEST(Sound, MusicAtStartThenEffectsOnTheOneChannel) {
    Table h;
    ASSERT_FALSE(h.sound.played.empty());
    EXPECT_TRUE(h.sound.played[0].path.endsWith("/../common/music/majiang.wav"));
    EXPECT_TRUE(h.sound.played[0].looping);
    EXPECT_EQ(h.sound.volume, 0);  // full volume
    h.client->sound().PlayEffect("button.wav");
    h.client->sound().PlayEffect("coin_click.wav");
    EXPECT_EQ(h.sound.current.section('/', -1), "coin_click.wav");
    EXPECT_TRUE(h.sound.played.back().path.endsWith("/../common/svk/coin_click.wav"));
    EXPECT_FALSE(h.sound.played.back().looping);
    h.client->sound().SoundOn = false;
    h.client->sound().PlayEffect("button.wav");
    EXPECT_EQ(h.sound.Names().back(), "coin_click.wav");
}

TEST(Sound, WithoutADeviceEffectsSwitchOff) {
    ClientHarness h;
    h.sound.present = false;
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(h.client->sound().SoundOn);
    EXPECT_TRUE(h.sound.played.empty());
}

TEST(Sound, CountdownTicksBelowSix) {
    Table h;
    h.LogIn();
    TableState& s = h.client->state();
    s.TurnSeconds = 7;
    s.TurnClockLast = h.loop.Now();
    h.client->transport().Slots.TurnClock.Arm();
    h.sound.played.clear();
    ASSERT_TRUE(h.Run(1.0));
    EXPECT_TRUE(h.sound.played.empty());  // 6
    ASSERT_TRUE(h.Run(1.0));
    EXPECT_EQ(h.sound.Names(), QStringList{"tishi.wav"});  // 5
}

TEST(Settings, OptionsApplyAtOnceAndCancelUndoesThem) {
    Table h;
    Sound& snd = h.client->sound();
    h.client->ToggleSettings();
    SettingsWindow& w = h.client->VosSet();
    EXPECT_TRUE(w.isVisible());
    // Music off, then on again even with effects off.
    h.client->OnSettingsOption(2);
    EXPECT_FALSE(snd.SoundOn);
    h.client->OnSettingsOption(0);
    EXPECT_FALSE(snd.MusicOn);
    h.sound.played.clear();
    h.client->OnSettingsOption(0);
    EXPECT_TRUE(snd.MusicOn);
    EXPECT_EQ(h.sound.Names(), QStringList{"majiang.wav"});
    h.client->SettingsAccept();
    EXPECT_FALSE(w.isVisible());
    // Two clicks on effects, then cancel: as before the window opened.
    h.client->ToggleSettings();
    h.client->OnSettingsOption(2);
    h.client->OnSettingsOption(2);
    h.client->OnSettingsOption(1);
    h.client->SettingsCancel();
    EXPECT_FALSE(snd.SoundOn);
    EXPECT_TRUE(snd.SpareOption);
    // The background switches only in the full layout.
    h.client->OnSettingsOption(3);
    EXPECT_TRUE(snd.AltBackground);
    Table compact({800, 600});
    compact.client->OnSettingsOption(3);
    EXPECT_FALSE(compact.client->sound().AltBackground);
}

TEST(WindowEvents, RestoreMinimisesTheLobbyAndEndsTheBossKey) {
    Table h;
    h.lobby.posted.clear();
    h.client->OnTableKey(Qt::Key_F1);
    EXPECT_TRUE(h.client->state().BossKeyActive);
    EXPECT_EQ(h.client->state().CountdownReload, 0);
    EXPECT_TRUE(h.f().isMinimized());
    EXPECT_EQ(h.lobby.Codes(), std::vector<uint32_t>{kScMinimize});
    h.f().showNormal();
    EXPECT_FALSE(h.client->state().BossKeyActive);
    EXPECT_EQ(h.client->state().CountdownReload, 10);
    EXPECT_EQ(h.lobby.Codes(), (std::vector<uint32_t>{kScMinimize, kScMinimize}));
    h.lobby.lobbyPresent = false;  // restored with the lobby gone: the program ends
    h.f().showMinimized();
    EXPECT_FALSE(h.Call([&] { h.f().showNormal(); }));
}

TEST(WindowEvents, EscapeTogglesTheExitWindow) {
    Table h;
    h.client->OnTableKey(Qt::Key_Escape);
    EXPECT_TRUE(h.client->frmExit().isVisible());
    h.client->OnTableKey(Qt::Key_Escape);
    EXPECT_FALSE(h.client->frmExit().isVisible());
}

TEST(Pictures, CardFormulaInBothSets) {
    const PictureTables large = BuildPictureTables(DisplayMode::Large);
    const PictureTables small = BuildPictureTables(DisplayMode::Small);
    const struct {
        int index, large, small;
    } cases[] = {{16 * 3 + 14, 62, 340},  // ace of spades
                 {16 * 2 + 15, 47, 328},  // two of hearts
                 {16 * 0 + 15, 15, 302},  // two of diamonds
                 {16 * 1 + 3, 19, 316},   // three of clubs
                 {18, 18, 18},            // the back
                 {16, 16, 353},
                 {17, 17, 354}};
    for (const auto& c : cases) {
        EXPECT_EQ(large.CardPictures[c.index], c.large) << c.index;
        EXPECT_EQ(small.CardPictures[c.index], c.small) << c.index;
    }
    EXPECT_EQ(large.CardPictures[0], 0);  // no card there
    EXPECT_EQ(small.ToolbarPictures[1], 151);
    EXPECT_EQ(small.ToolbarPictures[19], 300);
    EXPECT_EQ(small.ChipFrames[4][19], 621 + 160 + 19);
}

TEST(Pictures, AMissingPictureLeavesTheControlAsItWas) {
    struct OnlyOne : PictureSource {
        QPixmap Picture(int id) const override {
            if (id != 7) return {};
            QPixmap p(10, 10);
            p.fill(Qt::red);
            return p;
        }
    } source;
    LayoutScale scale;
    PictureBox box(nullptr, &source, &scale);
    box.SetPicture(7);
    const qint64 shown = box.pixmap().cacheKey();
    box.SetPicture(8);
    EXPECT_EQ(box.pixmap().cacheKey(), shown);
}

TEST(Frame, PaintedRegionsFollowTheWindowSize) {
    const auto pieces = MainForm::FramePieces({1040, 796});  // 15600 x 11940 twips
    EXPECT_EQ(pieces[1].target, QRect(8, 0, 1024, 20));        // top edge: at 120, 15360 wide
    EXPECT_EQ(pieces[3].target, QRect(0, 20, 8, 768));         // sides: at 300, 11520 high
    EXPECT_EQ(pieces[4].target, QRect(1032, 20, 8, 768));
    EXPECT_EQ(pieces[7].target, QRect(1032, 788, 8, 8));
    Table framed;
    EXPECT_TRUE(framed.f().IsFramed());
    EXPECT_EQ(framed.f().Pic1->geometry(), QRect(8, 20, 1024, 768));
    Table full({1024, 768});
    EXPECT_FALSE(full.f().IsFramed());
    EXPECT_EQ(full.f().Pic1->geometry(), QRect(0, 0, 1024, 768));
}

TEST(MusicPlayer, PostsToItsWindowOrStartsItOrSaysWhatIsMissing) {
    {
        Table h;
        h.lobby.otherWindows << "musicbox";
        h.lobby.posted.clear();
        h.client->LaunchMusicPlayer();
        EXPECT_EQ(h.lobby.Codes(), std::vector<uint32_t>{1135});
        EXPECT_TRUE(h.desktop.started.isEmpty());
    }
    QTemporaryDir root;
    QDir(root.path()).mkpath("games/svk");
    QDir(root.path()).mkpath("plugin");
    {
        Table h;
        h.desktop.folder = root.path() + "/games/svk";
        h.desktop.answer = MessageResult::Ok;
        h.client->LaunchMusicPlayer();  // not installed: the message, then the page
        ASSERT_EQ(h.desktop.boxes.size(), 1u);
        EXPECT_EQ(h.desktop.boxes[0].second, QString::fromUtf8("Morvel山庄提示"));
        EXPECT_EQ(h.desktop.opened, QStringList{"http://www.morvel.com/magic.php"});
    }
    QFile exe(root.path() + "/plugin/music.exe");
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.close();
    {
        Table h;
        h.desktop.folder = root.path() + "/games/svk";
        h.client->state().Profiles[0].Account = "alice";
        h.client->LaunchMusicPlayer();
        ASSERT_EQ(h.desktop.started.size(), 1);
        EXPECT_TRUE(h.desktop.started[0].endsWith("/games/svk/../../plugin/music.exe"));
        EXPECT_EQ(h.desktop.startedArguments, QStringList{"alice$$www.morvel.com$"});
    }
}
