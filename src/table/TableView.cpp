// The table's pointer feedback, the toolbar, the keys, the window's own events, the player
// card and the sound settings window.

#include <QFileInfo>
#include <QKeyEvent>

#include "chat/ChatWindows.h"
#include "session/TableClient.h"
#include "table/ExitWindows.h"
#include "table/InformationWindow.h"
#include "table/MainForm.h"
#include "table/WebPanel.h"
#include "table/SettingsWindow.h"
#include "results/ResultWindows.h"

namespace sorvik {
namespace {

// The toolbar button's pair of picture entries: normal, hover.
int ToolbarEntry(int k, bool continuePicture) {
    if (k == 2) return continuePicture ? 6 : 4;
    return k <= 1 ? 2 * k : 2 * k + 2;
}

constexpr const char* kSiteHost = "www.morvel.com";
constexpr const char* kRulesPage = "http://www.morvel.com/gameinfo/svk/index.php";

}  // namespace

SettingsWindow& TableClient::VosSet() {
    if (!vosSet_) {
        vosSet_ = std::make_unique<SettingsWindow>(seams_.pictures, form_.get());
        for (int k = 0; k < 4; ++k)
            connect(vosSet_->Command2[k], &PictureBox::clicked, this, [this, k] { OnSettingsOption(k); });
        connect(vosSet_->Command1[0], &PictureBox::clicked, this, [this] { SettingsAccept(); });
        connect(vosSet_->Command1[1], &PictureBox::clicked, this, [this] { SettingsCancel(); });
        vosSet_->Changed.fill(false);
        for (int k = 0; k < 3; ++k) ShowSettingsOptionPicture(k);
        // The background option starts on the picture the player's profile names.
        const bool first = state_.Profiles[0].Extra5 == QStringLiteral("00");
        vosSet_->Command2[3]->SetPicture(pictureTables_.DialogButtonPictures[first ? 6 : 7]);
        vosSet_->Command2[3]->SetFallbackText(first ? QStringLiteral("蓝底") : QStringLiteral("绿底"));
        vosSet_->Command1[0]->SetPicture(pictureTables_.DialogButtonPictures[0]);
        vosSet_->Command1[1]->SetPicture(pictureTables_.DialogButtonPictures[2]);
    }
    return *vosSet_;
}

InformationWindow& TableClient::Information() {
    if (!information_) information_ = std::make_unique<InformationWindow>(form_.get());
    return *information_;
}

// ---- Toolbar ----

void TableClient::OnToolbarClick(int k) {
    switch (k) {
        case 2: {
            // Start / continue.
            if (hero_) hero_->hide();
            if (score_) score_->hide();
            if (state_.TableClosed) {
                ReturnToLobby();
                return;
            }
            if (state_.ToolbarUsed[2]) return;
            form_->AnNiu[2]->SetPicture(pictureTables_.ToolbarPictures[6]);
            form_->AnNiu[2]->show();
            form_->AnNiu[2]->raise();
            transport_.Slots.StartClock.Armed = false;
            form_->Time_Img->hide();
            form_->Number->hide();
            state_.ToolbarUsed[2] = true;
            HandPlayed = true;
            if (!state_.TableArmed) {
                ResetTableView();
                ResetForNextHand();
                state_.TableArmed = true;
            }
            // During a hand the button sends an all-zero frame; otherwise the ready frame.
            PacketFrame frame{};
            if (!state_.GameRunning) {
                frame = GameFrame(kReadyOrLeave);
                frame[15] = 1;
            }
            transport_.SendFrame(frame);
            return;
        }
        case 0:
            SendChatByButton();
            return;
        case 1:
            ToggleTalk();
            return;
        case 3:
            ToggleSettings();
            return;
        case 4:
            form_->showMinimized();
            if (talk_) talk_->hide();
            if (hero_) hero_->hide();
            if (score_) score_->hide();
            if (vosSet_) vosSet_->hide();
            return;
        case 5:
            ToggleScore();
            return;
        case 6:
            ToggleHero();
            return;
        case 7:
            seams_.desktop.OpenUrl(QString::fromUtf8(kRulesPage));
            return;
        case 8:
            ToggleExitConfirm();
            return;
        default:
            return;
    }
}

void TableClient::OnToolbarHover(int k) {
    if (ToolbarHover[k]) return;
    ToolbarHover[k] = true;
    const bool cont = k == 2 && form_->AnNiu[2]->PictureId() == pictureTables_.ToolbarPictures[6];
    form_->AnNiu[k]->SetPicture(pictureTables_.ToolbarPictures[ToolbarEntry(k, cont) + 1]);
}

void TableClient::TableMouseMove(bool fromBottomBar) {
    if (suanfen_) suanfen_->hide();
    for (int k = 0; k < 9; ++k) {
        if (!ToolbarHover[k]) continue;
        ToolbarHover[k] = false;
        // The start button shows "start" until a hand was played; the bottom bar always
        // puts back "continue".
        const bool cont = fromBottomBar || HandPlayed;
        form_->AnNiu[k]->SetPicture(pictureTables_.ToolbarPictures[ToolbarEntry(k, cont)]);
    }
    ResetActionHover();
    if (information_ && information_->isVisible()) information_->hide();
    if (!ChromeHoverClear) OnChromeButton(true, 4);
}

void TableClient::TablePressed() {
    form_->Pic1->setFocus();
    HideChatWindows();
    if (score_) score_->hide();
    if (hero_) hero_->hide();
}

void TableClient::OnTableKey(int key) {
    if (AltCSequence(key)) {
        ShowTalk();
    } else if (key == Qt::Key_Escape) {
        ToggleExitConfirm();
    } else if (key == Qt::Key_F1) {
        // The boss key: everything hides, the next restore ends it.
        if (information_) information_->hide();
        if (vosSet_) vosSet_->hide();
        if (exitWindow_) exitWindow_->hide();
        if (hero_) hero_->hide();
        if (score_) score_->hide();
        HideChatWindows();
        state_.BossKeyActive = true;
        state_.CountdownReload = 0;
        form_->showMinimized();
        MinimizeLobby();
    }
}

// ---- Action buttons' hover ----

void TableClient::OnActionHover(int k) {
    if (k < 0 || k > 8 || ActionHover[k] || !form_->Operation[k]->isEnabled()) return;
    ActionHover[k] = true;
    sound_.PlayEffect(QStringLiteral("mousemove.wav"));
    int entry = 3 * k + 2;
    if (k == 3) entry = state_.ActiveCount == 2 ? 29 : 11;
    if (k == 2 && RaisePending) entry = 32;
    form_->Operation[k]->SetPicture(pictureTables_.ActionButtonPictures[entry]);
}

void TableClient::ResetActionHover() {
    if (SkipHoverReset) {
        SkipHoverReset = false;
        return;
    }
    for (int k = 0; k < 9; ++k) {
        if (!state_.ActionEnabled[k] || !ActionHover[k]) continue;
        ActionHover[k] = false;
        int entry = 3 * k;
        if (k == 3) entry = state_.ActiveCount == 2 ? 27 : 9;
        if (k == 2 && RaisePending) entry = 30;
        form_->Operation[k]->SetPicture(pictureTables_.ActionButtonPictures[entry]);
    }
}

// ---- Quick phrase buttons ----

void TableClient::OnPhraseHover(int which) {
    if (PhraseHover[which]) return;
    PhraseHover[which] = true;
    (which == 0 ? form_->imgword1 : form_->imgword2)->SetPicture(508 + which);
}

void TableClient::OnPhraseStripHover() {
    PhraseHover.fill(false);
    form_->imgword1->SetPicture(506);
    form_->imgword2->SetPicture(507);
}

// ---- The news panel ----

void TableClient::OnWebComplete() {
    if (WebFailed) return;
    WebPanel* web = form_->WebBrowser1;
    web->move(form_->Bird->x() + 2, form_->Bird->y() + 2);
    web->show();
    web->raise();
}

void TableClient::OnWebError() {
    form_->WebBrowser1->hide();
    WebFailed = true;
}

// ---- The player card ----

void TableClient::ShowPlayerInfo(int p, bool fromVideo) {
    InformationWindow& card = Information();
    if (card.isVisible() || p < 0 || p > 3 || state_.Profiles[p].NickName.isEmpty()) return;
    if (state_.Seats[p].AccountName.isEmpty()) return;  // an empty seat shows nothing
    const QPoint origin = form_->mapToGlobal(QPoint(0, 0)) + form_->Pic1->pos();
    const double H = fromVideo ? form_->height() : form_->Pic1->height();
    const double W = fromVideo ? form_->width() : form_->Pic1->width();
    int left, top;
    if (p >= 1) {
        top = origin.y() + static_cast<int>((fromVideo ? 0.14 : 0.11) * H);
        left = origin.x() + static_cast<int>(std::lround((p - 1) * W)) / 3;
    } else {
        left = origin.x();
        top = origin.y() + static_cast<int>((scale_.ScaleX < 1.0 ? 0.3 : 0.42) * H);
    }
    card.Fill(state_.Profiles[p]);
    card.move(left, top);
    card.show();
}

// ---- The window's own frame and events ----

void TableClient::OnChromeButton(bool close, int event) {
    PictureBox* b = close ? form_->ImgClose : form_->ImgMin;
    auto draw = [&](PictureBox* button, bool isClose, int state) {
        const QString name = QStringLiteral("%1-%2").arg(isClose ? "close" : "min").arg(state);
        const QPixmap named = seams_.pictures ? seams_.pictures->Named(name) : QPixmap();
        if (!named.isNull()) button->setPixmap(named);
        else if (state == 0) button->setStyleSheet({});
        else button->setStyleSheet(QStringLiteral("background: rgba(255,255,255,60);"));
    };
    switch (event) {
        case 0: draw(b, close, 2); break;
        case 1:
            if (ChromeHoverClear) {
                draw(b, close, 1);
                ChromeHoverClear = false;
            }
            break;
        case 2: draw(b, close, 1); break;
        case 3:
            if (close) {
                ToggleExitConfirm();
            } else {
                form_->showMinimized();
            }
            break;
        case 4:  // the pointer is back on the window
            draw(form_->ImgClose, true, 0);
            draw(form_->ImgMin, false, 0);
            ChromeHoverClear = true;
            break;
    }
}

void TableClient::OnWindowMinimized() {
    for (int p = 0; p < 4; ++p)
        if (video_->WindowOpen(p)) video_->CloseVideoWindow(p);
    if (sound_.SoundOn) sound_.StopSound();
}

void TableClient::OnWindowRestored() {
    // A restored table takes the screen from the lobby.
    form_->raise();
    MinimizeLobby();
    if (state_.BossKeyActive) {
        state_.BossKeyActive = false;
        state_.CountdownReload = 10;
    }
}

// ---- The music player ----

void TableClient::LaunchMusicPlayer() {
    const QString musicBox = QStringLiteral("musicbox");
    if (seams_.lobby.FindWindow(musicBox)) {
        seams_.lobby.Post(musicBox, 1135, 0, 0);
        return;
    }
    sound_.StopSound();
    const QString program = seams_.desktop.ProgramFolder() + QStringLiteral("/../../plugin/music.exe");
    const QFileInfo info(program);
    if (info.isFile() && info.fileName() == QStringLiteral("music.exe")) {
        // One argument: the account, an empty field and the site, each ended by "$".
        seams_.desktop.StartProgram(program, {state_.Profiles[0].Account + QStringLiteral("$$") +
                                                  QString::fromUtf8(kSiteHost) + QStringLiteral("$")});
        return;
    }
    const MessageResult answer = seams_.desktop.ShowMessage(
        QStringLiteral("您的大厅安装不完整，请重新安装或到网站上下载独立的安装程序！"),
        QStringLiteral("Morvel山庄提示"), MessageButtons::OkCancel);
    if (answer == MessageResult::Ok)
        seams_.desktop.OpenUrl(QStringLiteral("http://") + QString::fromUtf8(kSiteHost) + QStringLiteral("/magic.php"));
}

// ---- Sound settings ----

void TableClient::ToggleSettings() {
    SettingsWindow& w = VosSet();
    if (w.isVisible()) {
        w.hide();
        return;
    }
    const QPoint origin = form_->mapToGlobal(QPoint(0, 0));
    w.move(origin.x() + static_cast<int>(form_->width() - 1.1 * w.width()),
           origin.y() + static_cast<int>(form_->height() - 1.35 * w.height()));
    w.show();
    w.raise();
}

void TableClient::ShowSettingsOptionPicture(int k) {
    const bool on = k == 0 ? sound_.MusicOn : k == 1 ? sound_.SpareOption : sound_.SoundOn;
    PictureBox* b = VosSet().Command2[k];
    b->SetPicture(pictureTables_.DialogButtonPictures[on ? 5 : 4]);
    b->SetFallbackText(on ? QStringLiteral("开启") : QStringLiteral("关闭"));
}

void TableClient::ApplySettingsOption(int k) {
    switch (k) {
        case 0:
            sound_.MusicOn = !sound_.MusicOn;
            if (sound_.MusicOn)
                sound_.StartMusic();
            else
                sound_.StopSound();
            break;
        case 1: sound_.SpareOption = !sound_.SpareOption; break;
        case 2: sound_.SoundOn = !sound_.SoundOn; break;
        case 3: {
            if (scale_.ScaleX < 1.0) return;  // the compact table has one background
            sound_.AltBackground = !sound_.AltBackground;
            form_->SetBackground(sound_.AltBackground);
            PictureBox* b = VosSet().Command2[3];
            b->SetPicture(pictureTables_.DialogButtonPictures[sound_.AltBackground ? 7 : 6]);
            b->SetFallbackText(sound_.AltBackground ? QStringLiteral("蓝底") : QStringLiteral("绿底"));
            return;
        }
        default: return;
    }
    ShowSettingsOptionPicture(k);
}

void TableClient::OnSettingsOption(int k) {
    ApplySettingsOption(k);
    VosSet().Changed[k] = !VosSet().Changed[k];
}

void TableClient::SettingsAccept() {
    VosSet().hide();
    VosSet().Changed.fill(false);
}

void TableClient::SettingsCancel() {
    SettingsWindow& w = VosSet();
    w.hide();
    for (int k = 0; k < 4; ++k)
        if (w.Changed[k]) ApplySettingsOption(k);
    w.Changed.fill(false);
}

}  // namespace sorvik
