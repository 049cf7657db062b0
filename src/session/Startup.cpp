// Start-up from the lobby's command line, the lobby link and the window's unloading.

#include <QFont>
#include <cstdlib>

#include "chat/ChatWindows.h"
#include "session/TableClient.h"
#include "table/ExitWindows.h"
#include "table/InformationWindow.h"
#include "table/MainForm.h"
#include "table/WebPanel.h"
#include "video/QtCameraCapture.h"
#include "video/VideoDisplay.h"
#include "video/core/RelayPeerTransport.h"
#include "table/SettingsWindow.h"
#include "results/ResultWindows.h"

namespace sorvik {

TableClient::TableClient(ClientSeams seams) : seams_(seams), sound_(seams.sound) {
    timerBong_ = seams_.loop.CreateTimer(50, [this] { PumpTick(); });
    timerKeepAlive_ = seams_.loop.CreateTimer(5000, [this] { KeepAliveTick(); });
    timerCount_ = seams_.loop.CreateTimer(3000, [this] { ReconnectTick(); });
    // The deal steps as fast as a person can follow: the twelve cards take about 2.5 s.
    timerDcard_ = seams_.loop.CreateTimer(12, [this] { RunGuarded([this] { DealTick(); }); }, true);
    timerChat_ = seams_.loop.CreateTimer(800, [this] { ChatTimerTick(); });
    if (!seams_.peers) {
        ownPeers_ = std::make_unique<RelayPeerTransport>(seams_.loop);
        seams_.peers = ownPeers_.get();
    }
    if (!seams_.capture) {
        ownCapture_ = std::make_unique<QtCameraCapture>();
        seams_.capture = ownCapture_.get();
    }
    video_ = std::make_unique<PeerVideo>(state_, *seams_.peers, *seams_.capture, seams_.loop, scale_);
    seams_.socket.onDataArrival = [this](const uint8_t* d, size_t n) { OnDataArrival(d, n); };
    seams_.socket.onPeerClosed = [this] { OnPeerClosed(); };
}

TableClient::~TableClient() {
    seams_.socket.onDataArrival = nullptr;
    seams_.socket.onPeerClosed = nullptr;
    seams_.lobby.onMessage = nullptr;
}

ExitConfirmWindow& TableClient::frmExit() {
    if (!exitWindow_) {
        exitWindow_ = std::make_unique<ExitConfirmWindow>(seams_.pictures, &scale_);
        exitWindow_->pbCloseMe->SetPicture(pictureTables_.DialogButtonPictures[0]);
        exitWindow_->pbCancel->SetPicture(pictureTables_.DialogButtonPictures[2]);
        connect(exitWindow_->pbCloseMe, &PictureBox::clicked, this, [this] { ExitConfirmed(); });
        connect(exitWindow_->pbCancel, &PictureBox::clicked, this, [this] { ExitCancelled(); });
    }
    return *exitWindow_;
}

OtherExitWindow& TableClient::frmOtherExit() {
    if (!otherExitWindow_) {
        otherExitWindow_ = std::make_unique<OtherExitWindow>(seams_.pictures, &scale_);
        otherExitWindow_->imgOK->SetPicture(pictureTables_.DialogButtonPictures[0]);
        otherExitWindow_->imgCancel->SetPicture(pictureTables_.DialogButtonPictures[2]);
        connect(otherExitWindow_->imgOK, &PictureBox::clicked, this, [this] { OtherExitOk(); });
        connect(otherExitWindow_->imgCancel, &PictureBox::clicked, this,
                [this] { OtherExitCancel(); });
    }
    return *otherExitWindow_;
}

void TableClient::EndProgram(int code) {
    seams_.desktop.EndProgram(code);
    std::abort();  // the desktop's end never returns
}

void TableClient::FailStartup() {
    RestoreLobby();
    EndProgram(1);
}

void TableClient::Load(const QString& commandLine) {
    // 1. One client per desktop.
    if (!seams_.lobby.AcquireInstanceLock()) {
        seams_.desktop.ShowMessage(QStringLiteral("Sorvik已经运行！"), QStringLiteral("警告"),
                                   MessageButtons::Ok);
        EndProgram(1);
    }
    // 2. Initial values.
    state_.CountdownReload = 10;
    state_.BossKeyActive = false;

    // 3. The window's size and the layout for this screen.
    const QSize screen = seams_.desktop.ScreenSize();
    scale_ = MainForm::ScaleForScreen(screen);
    pictureTables_ = BuildPictureTables(DisplayModeFor(screen.width(), screen.height()));
    form_ = std::make_unique<MainForm>(seams_.pictures, &scale_);
    form_->ApplyWindowSize(screen);

    // 4. Pump slots, sound, table counters and the table's controls.
    transport_.Slots.DisarmAll();
    state_.SilenceCount = 0;
    state_.LoginPending = false;
    sound_.Start(seams_.desktop.ProgramFolder());
    form_->LayOutTable(pictureTables_);
    state_.ToolbarUsed.fill(false);
    state_.ToolbarUsed[2] = true;  // the start button stays locked until released
    WireWindows();
    video_->Attach(
        form_.get(), seams_.pictures, &seams_.desktop, [this](const QString& line) { AddMessageLine(line); },
        [this] { LaunchMusicPlayer(); });
    for (int p = 1; p <= 3; ++p)
        connect(form_->vshow[p], &VideoDisplay::mouseMoved, this, [this, p] { ShowPlayerInfo(p, true); });
    video_->StartLocalCapture();

    // 5. The command line.
    const QString line = commandLine.trimmed();
    if (line.isEmpty()) {
        seams_.desktop.ShowMessage(QStringLiteral("本游戏需从游戏大厅中启动！"),
                                   QStringLiteral("警告"), MessageButtons::Ok);
        EndProgram(1);
    }
    QString titleRead;
    const auto parsed = ParseCommandLine(line, &titleRead);
    lobbyTitle_ = titleRead;
    if (!parsed) FailStartup();
    params_ = *parsed;
    form_->Location->SetCaption(params_.LocationText);
    QFont font = form_->Location->font();
    if (scale_.ScaleY < 1.0) font.setPointSize(10);
    if (params_.LocationText.size() > 10) font.setPointSize(font.pointSize() - 2);
    form_->Location->setFont(font);
    form_->Location->adjustSize();

    // 6. The video relay at the game server's host.
    video_->StartPeerVideo(params_.ServerHost, params_.UserName);

    // 7. The first message line; ring mode for the direct connection.
    form_->Sysmsg[0]->clear();
    SystemMessage(0, QStringLiteral("正在连接服务器..."));
    StopPump();
    transport_.RingReceive = true;
    form_->img_dizhu->hide();

    // 8. The login frame; the key is not kept.
    const auto login = BuildLoginFrame(params_.UserName, params_.LoginKey);
    params_.LoginKey.fill(QChar(0));
    params_.LoginKey.clear();
    if (!login) FailStartup();
    loginFrame_ = *login;

    // 9. The first connection attempt. Any other proxy type makes none.
    if (params_.ProxyType == 0) {
        ConnectDirect();
    } else if (params_.ProxyType == 5) {
        transport_.Slots.ConnectSlot.Disarm();
        ConnectViaProxy();
    }

    // 10. Show the window under its caption.
    if (params_.CustomTitles)
        form_->SetCaption(params_.TableCaption);
    else
        lobbyTitle_ = QString::fromUtf8(kDefaultLobbyTitle);
    form_->show();

    // 11. The local seat is unknown until the first player description.
    state_.Seats[0].SeatBit = 0;

    // 12. From here on the lobby's messages reach the table.
    seams_.lobby.onMessage = [this](uint32_t m, uint32_t w, uint32_t l) {
        TableWindowProc(m, w, l);
    };
    seams_.lobby.Register(form_->windowTitle());
}

void TableClient::WireWindows() {
    MainForm* f = form_.get();
    connect(f, &MainForm::closeRequested, this, [this] { Unload(); });
    connect(f, &MainForm::restored, this, [this] { OnWindowRestored(); });
    connect(f, &MainForm::minimized, this, [this] { OnWindowMinimized(); });
    connect(f, &MainForm::tableMouseMoved, this, [this](bool bar) { TableMouseMove(bar); });
    connect(f->imgDilan, &PictureBox::mouseMoved, this, [this] { TableMouseMove(true); });
    connect(f->imgDinglan, &PictureBox::mouseMoved, this, [this] {
        if (information_) information_->hide();
    });
    connect(f, &MainForm::tablePressed, this, [this] { TablePressed(); });
    connect(f, &MainForm::tableKey, this, [this](int key) { OnTableKey(key); });
    connect(f, &MainForm::dragStarted, this, [this] { HideChatWindows(); });
    connect(f->WebBrowser1, &WebPanel::documentComplete, this, [this] { OnWebComplete(); });
    connect(f->WebBrowser1, &WebPanel::navigateError, this, [this] { OnWebError(); });
    connect(f->WebBrowser1, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QUrl target = form_->WebBrowser1->Address().resolved(url);
        if (target.scheme() == "http" || target.scheme() == "https") seams_.desktop.OpenUrl(target.toString());
    });
    for (int k = 0; k < 9; ++k) {
        connect(f->Operation[k], &PictureBox::clicked, this, [this, k] { OnActionClick(k); });
        connect(f->AnNiu[k], &PictureBox::clicked, this, [this, k] { OnToolbarClick(k); });
        connect(f->AnNiu[k], &PictureBox::mouseMoved, this, [this, k] { OnToolbarHover(k); });
        connect(f->Operation[k], &PictureBox::mouseMoved, this, [this, k] { OnActionHover(k); });
    }
    for (int p = 0; p < 4; ++p)
        connect(f->Tou[p], &PictureBox::mouseMoved, this, [this, p] { ShowPlayerInfo(p, false); });
    for (int p = 1; p < 4; ++p)
        connect(f->Tou[p], &PictureBox::clicked, this, [this, p] { StartPrivateMessage(p); });
    connect(f->Chat, &ChatLine::keyPressed, this, [this](int key) { OnChatKey(key); });
    connect(f->Chat, &QLineEdit::textChanged, this, [this] { OnChatChanged(); });
    connect(f->imgword1, &PictureBox::clicked, this, [this] { OpenPhrasePage(1); });
    connect(f->imgword2, &PictureBox::clicked, this, [this] { OpenPhrasePage(2); });
    for (int k = 0; k < 3; ++k)
        connect(f->bipai[k], &PictureBox::clicked, this, [this, k] { OnCompareTargetClick(k); });
    connect(f->imgword1, &PictureBox::mouseMoved, this, [this] { OnPhraseHover(0); });
    connect(f->imgword2, &PictureBox::mouseMoved, this, [this] { OnPhraseHover(1); });
    connect(f->imgLocation, &PictureBox::mouseMoved, this, [this] { OnPhraseStripHover(); });
    connect(f->imgJishu, &PictureBox::mouseMoved, this, [this] { ShowSuanfen(); });
    connect(f->ImgClose, &PictureBox::clicked, this, [this] { OnChromeButton(true, 3); });
    connect(f->ImgMin, &PictureBox::clicked, this, [this] { OnChromeButton(false, 3); });
    connect(f->ImgClose, &PictureBox::mouseMoved, this, [this] { OnChromeButton(true, 1); });
    connect(f->ImgMin, &PictureBox::mouseMoved, this, [this] { OnChromeButton(false, 1); });
}

void TableClient::ConnectDirect() {
    seams_.socket.SetRemote(params_.ServerHost.toStdString(), params_.ServerPort);
    if (seams_.socket.State() != kSocketClosed) seams_.socket.Close();
    seams_.socket.Connect();
    ++connectGeneration_;
    StartPump();
    transport_.Slots.ConnectSlot.Arm();
}

void TableClient::Unload() {
    if (sound_.SoundOn) sound_.StopSound();
    video_->StopPeerVideo();
    seams_.lobby.onMessage = nullptr;
    seams_.lobby.Unregister();
    if (exitWindow_) exitWindow_->hide();
    if (otherExitWindow_) otherExitWindow_->hide();
    if (vosSet_) vosSet_->hide();
    if (information_) information_->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{score_.get(), hero_.get(), suanfen_.get()})
        if (w) w->hide();
    HideChatWindows();
    if (form_) form_->hide();
    EndProgram(0);
}

// ---- The lobby link ----

bool TableClient::LobbyFound() { return seams_.lobby.FindWindow(lobbyTitle_); }

void TableClient::RestoreLobby() {
    if (lobbyTitle_.isEmpty()) return;  // not known yet: nothing to restore
    if (!seams_.lobby.Post(lobbyTitle_, kWmSysCommand, kScRestore, 0))
        EndProgram(0);
}

void TableClient::MinimizeLobby() {
    if (lobbyTitle_.isEmpty()) return;
    if (!seams_.lobby.Post(lobbyTitle_, kWmSysCommand, kScMinimize, 0))
        EndProgram(0);
}

void TableClient::NotifyLobby(uint32_t code) {
    if (lobbyTitle_.isEmpty()) return;
    seams_.lobby.Post(lobbyTitle_, code, 0, 0);
}

void TableClient::LobbyOrderedExit() {
    if (seams_.socket.State() == kSocketConnected) {
        transport_.Slots.ExitClock.Disarm();
        SendQuit();
    }
    TeardownTable();
}

void TableClient::TableWindowProc(uint32_t message, uint32_t wParam, uint32_t) {
    switch (message) {
        case kLobbyStatus:
            if (LobbyFound()) NotifyLobby(state_.GameRunning ? kLobbyStatus : kLobbyExit);
            return;
        case kLobbyConnected:
            if (!LobbyFound()) return;
            if (state_.LoginPending) {
                NotifyLobby(kLobbyLoginPending);
            } else if (state_.GameRunning) {
                NotifyLobby(kLobbyStatus);
            } else {
                LobbyOrderedExit();
                NotifyLobby(kLobbyExit);
            }
            return;
        case kLobbyExit:
            LobbyOrderedExit();
            return;
        case kLobbyReconnect:
            transport_.RingReceive = true;
            if (params_.ProxyType == 0) {
                ConnectDirect();
            } else if (params_.ProxyType == 5) {
                transport_.Slots.ConnectSlot.Disarm();
                ConnectViaProxy();
            }
            state_.ToolbarUsed[2] = false;
            form_->AnNiu[2]->SetPicture(pictureTables_.ToolbarPictures[4]);
            form_->Time_Img->hide();
            form_->Number->hide();
            return;
        case kWmSysCommand:
            if (wParam == kScRestore) {
                form_->showNormal();
                form_->raise();
                form_->activateWindow();
            } else if (wParam == kScMinimize) {
                form_->showMinimized();
            }
            return;
        default:
            return;
    }
}

void TableClient::SystemMessage(int list, const QString& line) {
    form_->Sysmsg[list]->AddItem(line);
}

PacketFrame TableClient::GameFrame(uint8_t type) const {
    PacketFrame f{};
    f[3] = type;
    f[6] = state_.Seats[0].SeatBit;
    return f;
}

}  // namespace sorvik
