#pragma once
// The table client: start-up from the lobby's command line, the lobby link, the 50 ms
// pump with its clocks, the leave paths and the dispatch of server frames. It owns the
// transport, the table state and the table window; the seams give it time, the socket,
// the lobby link and the desktop.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>
#include <optional>

#include "chat/core/Chat.h"
#include "game/core/TableState.h"
#include "platform/Desktop.h"
#include "platform/EventLoop.h"
#include "platform/LobbyLink.h"
#include "platform/StreamSocket.h"
#include "session/core/CommandLine.h"
#include "session/core/Transport.h"
#include "sound/Sound.h"
#include "video/PeerVideo.h"
#include "table/Controls.h"
#include "table/core/PictureTables.h"

namespace sorvik {

class MainForm;
class ExitConfirmWindow;
class OtherExitWindow;
class SettingsWindow;
class InformationWindow;
class ScoreWindow;
class HeroWindow;
class SuanfenWindow;
class TalkWindow;
class PhraseWindow;

struct ClientSeams {
    EventLoop& loop;
    StreamSocket& socket;
    LobbyLink& lobby;
    Desktop& desktop;
    SoundDevice& sound;
    const PictureSource* pictures = nullptr;
    // The video component; without one the client uses the relay link and the camera.
    PeerTransport* peers = nullptr;
    CaptureDevice* capture = nullptr;
};

// Messages between the lobby and the client.
enum LobbyMessage : uint32_t {
    kLobbyReconnect = 22,
    kLobbyConnected = 771,
    kLobbyExit = 1024,
    kLobbyStatus = 1125,
    kLobbyLoginPending = 1126,
    kLobbyHandStarted = 1127,
};

constexpr const char* kDefaultLobbyTitle = "Morvel山庄";
constexpr const char* kProgramTitle = "Sorvik";
constexpr double kConnectWaitSeconds = 30.0;
constexpr double kTeardownWaitSeconds = 5.0;
constexpr int kSilenceLimit = 5000;

// The title of a level 1..40; empty for any other value.
QString LevelTitle(int level);
// An amount as chips, largest first: at most eleven; below 5 one 100 chip.
std::vector<int> BreakIntoChips(int amount);

class TableClient : public QObject {
    Q_OBJECT
public:
    explicit TableClient(ClientSeams seams);
    ~TableClient() override;

    // The window's load event: the whole start-up. `commandLine` is the program's
    // arguments joined with single spaces.
    void Load(const QString& commandLine);
    // Unloading the main window: everything closes and the program ends.
    [[noreturn]] void Unload();

    // The lobby link's window procedure.
    void TableWindowProc(uint32_t message, uint32_t wParam, uint32_t lParam);
    void RestoreLobby();
    void MinimizeLobby();
    void NotifyLobby(uint32_t code);
    bool LobbyFound();

    // The pump and the keep-alive.
    void PumpTick();
    void KeepAliveTick();
    void OnDataArrival(const uint8_t* data, size_t size);
    void OnPeerClosed();

    // Server frames.
    void DispatchFrame(const PacketFrame& frame);
    // Runs a frame's handling under the fault guard: any fault restores the lobby and ends
    // the program.
    void RunGuarded(const std::function<void()>& handling);
    void OnLoginReply(const PacketFrame& frame);
    void OnReconnectReply(const PacketFrame& frame);
    void OnUserInfo(const PacketFrame& frame);
    void OnUserQuit(const PacketFrame& frame);
    void OnReadyNotice(const PacketFrame& frame);
    void OnTableEnd(const PacketFrame& frame);
    void OnTableNotice(const PacketFrame& frame);
    void CloseTable(const QString& text);
    void OnGameResult(const PacketFrame& frame);
    void ShowGameResult(const PacketFrame& frame);

    // The statistics file and the record windows.
    QString StatisticsFile() const;
    void SaveGameRecord(int n);
    void LoadGameRecord(int n);
    void ToggleScore();
    void ToggleHero();
    void HeroNumClicked();
    void HeroGradeClicked(int k);
    void HeroDoubleClicked(int row);
    void ShowSuanfen();

    // Leaving the table.
    void LeaveToLobby();
    void SendQuit();
    void TeardownTable();
    void ResetHandState();
    void ResetForNextHand();
    void ResetTableView();
    void ShowExitMessage(const QString& text);
    void ToggleExitConfirm();
    void ExitConfirmed();   // frmExit's pbCloseMe
    void ExitCancelled();   // frmExit's pbCancel
    void OtherExitOk();     // frmOtherExit's imgOK
    void OtherExitCancel(); // frmOtherExit's imgCancel

    // The SOCKS5 proxy path.
    void ConnectViaProxy();
    void SendHandshake(uint8_t step);
    void HandshakeReceived();

    // The table's pointer feedback, the toolbar and the keys.
    void OnToolbarClick(int k);
    void OnToolbarHover(int k);
    void TableMouseMove(bool fromBottomBar);
    void TablePressed();
    void OnTableKey(int key);
    void OnActionHover(int k);
    void ResetActionHover();
    void OnPhraseHover(int which);
    void OnPhraseStripHover();
    void ShowPlayerInfo(int position, bool fromVideo);
    void OnChromeButton(bool close, int event);  // 0 press, 1 move, 2 release, 3 click
    void OnWindowMinimized();
    void OnWindowRestored();

    // The news panel: shown over the Bird picture once a page has loaded, unless a page
    // failed to load before.
    void OnWebComplete();
    void OnWebError();
    bool WebFailed = false;

    // The external music player: its window gets 1135, or the program is started.
    void LaunchMusicPlayer();

    // The sound settings window.
    void ToggleSettings();
    void OnSettingsOption(int k);
    void SettingsAccept();
    void SettingsCancel();

    // The hand: game start, turn updates, the local turn.
    void OnGameStart(const PacketFrame& frame);
    void OnTurnUpdate(const PacketFrame& frame);
    void OpenHands(const PacketFrame& frame, bool stakeCase);
    void OfferTurnActions(uint8_t allowedMask, int stake);
    void OnActionClick(int k);
    void RaiseStep(int n);
    void ShowActionDisabled(int k);
    void OfferAction(int k);
    void TurnTimeout();
    void BeginCompareChoice();
    void OnCompareTargetClick(int k);
    void CompareBlinkTick();
    void AutoCompare();

    // Cards and animations.
    void ShowCard(int position, int imageIndex, int pictureNumber);
    void SortHand(int position);
    void StartDeal();
    void DealTick();
    void DealSound();
    void AnimateBet(int position, int amount);
    void CollectPot(int position);
    void ShowCompare(int a, int b, std::array<int16_t, 24>& cards);
    void ShowNotice(const QString& text);
    int ChipCount() const { return static_cast<int>(chips_.size()); }
    PictureBox* ImgCoin(int k) { return chips_.at(static_cast<size_t>(k - 1)).image.get(); }
    QWidget& frm_kaipai();

    // Chat: the chat box, private messages, relayed lines, the chat and phrase windows.
    void OnChatKey(int key);  // a key in the chat box, before the box acts on it
    void OnChatChanged();
    void SendChatByEnter();
    void SendChatByButton();
    void ChatTimerTick();
    void StartPrivateMessage(int position);
    void ShowChat(const PacketFrame& frame);
    void AddMessageLine(const QString& line);
    void ToggleTalk();
    void ShowTalk();
    void OnTalkListKey(int key);
    void OpenPhrasePage(int page);
    void SendPhrase(const QString& phrase);
    TalkWindow& Talk();
    PhraseWindow& huifu();
    ChatState& chat() { return chat_; }
    bool ChatTimerRunning() const { return timerChat_->IsActive(); }

    // The reconnect controller.
    void StartReconnect();
    void ReconnectTick();
    void ReconnectAttempt();
    bool ReconnectRunning() const;

    // State, for the window's other parts and for tests.
    Transport& transport() { return transport_; }
    TableState& state() { return state_; }
    const StartupParameters& parameters() const { return params_; }
    const PacketFrame& loginFrame() const { return loginFrame_; }
    MainForm& form() { return *form_; }
    ExitConfirmWindow& frmExit();
    OtherExitWindow& frmOtherExit();
    SettingsWindow& VosSet();
    InformationWindow& Information();
    ScoreWindow& Score();
    HeroWindow& Hero();
    SuanfenWindow& suanfen();
    PeerVideo& video() { return *video_; }
    Sound& sound() { return sound_; }
    const PictureTables& pictureTables() const { return pictureTables_; }
    const LayoutScale& scale() const { return scale_; }
    QString lobbyTitle() const { return lobbyTitle_; }
    bool PumpRunning() const;
    bool KeepAliveRunning() const;

    // A ready or leave frame, a keep-alive: zeroed, byte 3 the type, byte 6 the local seat.
    PacketFrame GameFrame(uint8_t type) const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    [[noreturn]] void FailStartup();
    [[noreturn]] void EndProgram(int code);
    void StartPump();
    void StopPump();
    void ConnectDirect();
    void LobbyOrderedExit();
    void AwaitConnection();
    void SystemMessage(int list, const QString& line);
    void WireWindows();
    void ApplySettingsOption(int k);
    // Tears the table down and hands the screen to the lobby (the program ends without one).
    void ReturnToLobby();
    // Shows the countdown at a design position with 15 in green.
    void ShowCountdown(double left, double top);
    void ClearPosition(int p);
    void SetAvatar(int p, int index);
    QString Clock() const;
    void ShowSettingsOptionPicture(int k);
    void SendChatText(const QString& typed);
    void PlayVoicePhrase(int position, uint8_t letter, uint8_t number);
    bool AltCSequence(int key);
    void HideChatWindows();
    QPoint ChatPanelPosition() const;

    ClientSeams seams_;
    Transport transport_;
    TableState state_;
    StartupParameters params_;
    PacketFrame loginFrame_{};
    QString lobbyTitle_;  // empty until the command line is read
    LayoutScale scale_;
    PictureTables pictureTables_;
    std::unique_ptr<MainForm> form_;
    std::unique_ptr<ExitConfirmWindow> exitWindow_;
    std::unique_ptr<OtherExitWindow> otherExitWindow_;
    std::unique_ptr<SettingsWindow> vosSet_;
    std::unique_ptr<InformationWindow> information_;
    std::unique_ptr<ScoreWindow> score_;
    std::unique_ptr<HeroWindow> hero_;
    std::unique_ptr<SuanfenWindow> suanfen_;
    std::unique_ptr<TalkWindow> talk_;
    std::unique_ptr<PhraseWindow> huifu_;
    ChatState chat_;
    std::unique_ptr<PeerTransport> ownPeers_;
    std::unique_ptr<CaptureDevice> ownCapture_;
    std::unique_ptr<PeerVideo> video_;
    Sound sound_;
    std::array<bool, 9> ToolbarHover{};
    std::array<bool, 10> ActionHover{};
    bool SkipHoverReset = false;
    bool RaisePending = false;
    std::array<bool, 2> PhraseHover{};
    bool ChromeHoverClear = true;
    bool HandPlayed = false;  // a hand has been played since the program started
    std::unique_ptr<Timer> timerBong_;
    std::unique_ptr<Timer> timerKeepAlive_;
    std::unique_ptr<Timer> timerCount_;  // the reconnect controller's 3-second timer
    std::unique_ptr<Timer> timerDcard_;  // the deal's steps
    std::unique_ptr<Timer> timerChat_;   // TimerChat: 800 ms between chat lines sent by Enter
    struct Chip {
        std::unique_ptr<PictureBox> image;
        int value = 0;
        int targetLeft = 0, targetTop = 0;
        bool landed = false;
    };
    std::vector<Chip> chips_;  // ImgCoin(1..n), made by the bets of a hand
    std::unique_ptr<QWidget> kaipai_;
    class QLabel* kaipaiLabel_ = nullptr;
    uint32_t rngState_ = 0x9E3779B9u;
    double Random();  // uniform in [0, 1)
    int ChipRow(int value) const;
    void UnloadChips();
    int StakeNumber(int position) const;
    void AddToStake(int position, int units);
    void CollapseCards(int position);
    bool pumpWanted_ = false;  // the pump should run; a tick restarts it only then
    bool inPumpTick_ = false;
    unsigned connectGeneration_ = 0;  // counts connection starts, so a wait sees restarts
    unsigned teardowns_ = 0;          // counts teardowns, so a wait sees the table go
};

}  // namespace sorvik
