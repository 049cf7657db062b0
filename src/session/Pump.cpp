// The 50 ms pump: one frame out, one frame in, the connection, the link watch and the
// short clocks of the table, in a fixed order each tick.

#include "session/TableClient.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

// After its step a slot's counter never stays at or above its period.
void Wrap(PumpSlot& slot, int period) {
    if (slot.Ticks >= period) slot.Ticks = 0;
}

// A second of elapsed time, less a hair so that rounding never costs a whole tick.
constexpr double kOneSecond = 1.0 - 1e-6;
constexpr unsigned kRed = 255;
constexpr unsigned kGreen = 65280;

}  // namespace

bool TableClient::PumpRunning() const { return pumpWanted_; }
bool TableClient::KeepAliveRunning() const { return timerKeepAlive_->IsActive(); }

void TableClient::StartPump() {
    pumpWanted_ = true;
    if (!inPumpTick_) timerBong_->Start();
}

void TableClient::StopPump() {
    pumpWanted_ = false;
    timerBong_->Stop();
}

void TableClient::KeepAliveTick() {
    PacketFrame f = GameFrame(kKeepAlive);
    transport_.SendFrame(f);
}

void TableClient::OnDataArrival(const uint8_t* data, size_t size) {
    if (transport_.AppendInbound(data, size) == AppendResult::Overflow) {
        // The reader fell a whole buffer behind: hand the screen back and stop at once.
        RestoreLobby();
        EndProgram(1);
    }
    if (!transport_.RingReceive) HandshakeReceived();
}

void TableClient::OnPeerClosed() { seams_.socket.Close(); }

void TableClient::AwaitConnection() {
    // Waits for the socket, letting events run. A restarted connection (the lobby's order,
    // a reconnect attempt) restarts the time limit; a teardown meanwhile ends the wait.
    while (true) {
        const unsigned generation = connectGeneration_;
        seams_.loop.WaitUntil(
            [&] {
                return seams_.socket.State() == kSocketConnected ||
                       !transport_.Slots.ConnectSlot.Armed || generation != connectGeneration_;
            },
            kConnectWaitSeconds);
        if (!transport_.Slots.ConnectSlot.Armed) return;
        if (seams_.socket.State() == kSocketConnected) break;
        if (generation != connectGeneration_) continue;
        // No connection within the limit: back to the lobby as after a lost link.
        transport_.Slots.ConnectSlot.Disarm();
        if (!LobbyFound()) EndProgram(0);
        LeaveToLobby();
        SystemMessage(0, QStringLiteral("连接服务器超时，请重新入座！"));
        return;
    }
    state_.LoginPending = true;
    NotifyLobby(kLobbyConnected);
    seams_.socket.SendData(loginFrame_.data(), loginFrame_.size());
    transport_.Slots.ExitClock.Arm();
    transport_.Slots.ConnectSlot.Disarm();
}

void TableClient::PumpTick() {
    if (inPumpTick_) return;  // a wait inside a tick lets timers run; ticks never nest
    inPumpTick_ = true;
    // 1.
    timerBong_->Stop();
    PumpSlots& s = transport_.Slots;
    // 2.
    s.ForEach([](PumpSlot& slot) { ++slot.Ticks; });

    // 3. One frame out.
    if (s.SendSlot.Armed && s.SendSlot.Ticks >= 1) {
        PacketFrame out;
        if (transport_.SendRing.Pending() < kFrameSize) {
            s.SendSlot.Armed = false;
        } else if (transport_.TakeOutboundFrame(out) &&
                   seams_.socket.State() == kSocketConnected) {
            seams_.socket.SendData(out.data(), out.size());
            if (out[3] == kReadyOrLeave && out[15] == 0) {
                if (!LobbyFound()) EndProgram(0);
                form_->showMinimized();
                RestoreLobby();
            }
        }
    }
    Wrap(s.SendSlot, 1);

    // 4. The silence watchdog, then one frame in.
    if (s.ReceiveSlot.Armed && s.ReceiveSlot.Ticks >= 2) {
        if (state_.GameRunning && ++state_.SilenceCount >= kSilenceLimit) {
            if (!LobbyFound()) EndProgram(0);
            LeaveToLobby();
            SystemMessage(0, QStringLiteral("已经与服务器断开连接，请重新入座！"));
            state_.SilenceCount = 0;
        }
        if (transport_.TakeInboundFrame()) {
            DispatchFrame(transport_.InboundFrame);
            if (state_.GameRunning) state_.SilenceCount = 0;
        }
        s.ReceiveSlot.Ticks = transport_.ReceiveRing.Pending() >= kFrameSize ? 1 : 0;
    } else {
        Wrap(s.ReceiveSlot, 2);
    }

    // 5. The connection: wait for it, then log in.
    if (s.ConnectSlot.Armed && s.ConnectSlot.Ticks >= 4) {
        NotifyLobby(kLobbyReconnect);
        AwaitConnection();
    }
    Wrap(s.ConnectSlot, 4);

    // 6. The chat button's blink.
    if (s.ChatBlinkSlot.Armed && s.ChatBlinkSlot.Ticks >= 8) {
        if (state_.ChatBlinkCount < 1) {
            form_->AnNiu[1]->SetPicture(pictureTables_.ToolbarPictures[2]);
            s.ChatBlinkSlot.Disarm();
        } else {
            form_->AnNiu[1]->SetPicture(
                pictureTables_.ToolbarPictures[state_.ChatBlinkCount % 2 == 1 ? 2 : 3]);
            --state_.ChatBlinkCount;
        }
    }
    Wrap(s.ChatBlinkSlot, 8);

    // 7. The turn countdown.
    const double now = seams_.loop.Now();
    if (s.TurnClock.Armed && state_.LoginAccepted && now - state_.TurnClockLast >= kOneSecond) {
        state_.TurnClockLast = now;
        if (state_.TurnSeconds > 0) {
            --state_.TurnSeconds;
            form_->Number->SetCaption(QString::number(state_.TurnSeconds));
            if (state_.TurnSeconds < 6) sound_.PlaySharedEffect(QStringLiteral("tishi.wav"));
            form_->Number->SetForeColor(state_.TurnSeconds < 6 ? kRed : kGreen);
        } else {
            TurnTimeout();
        }
    }
    s.TurnClock.Ticks = 0;

    // 8. The next-game countdown.
    if (s.StartClock.Armed && state_.LoginAccepted && now - state_.StartClockLast >= kOneSecond) {
        state_.StartClockLast = now;
        if (state_.TurnSeconds > 0) {
            --state_.TurnSeconds;
            form_->Number->SetCaption(QString::number(state_.TurnSeconds));
            form_->Number->SetForeColor(state_.TurnSeconds < 6 ? kRed : kGreen);
        } else {
            form_->Number->hide();
            form_->Time_Img->hide();
            if (!state_.TableArmed) {
                form_->AnNiu[2]->SetPicture(pictureTables_.ToolbarPictures[6]);
                state_.ToolbarUsed[2] = true;
                ResetTableView();
                ResetForNextHand();
                state_.TableArmed = true;
            }
            form_->AnNiu[2]->setEnabled(false);
            PacketFrame ready = GameFrame(kReadyOrLeave);
            ready[15] = 1;
            transport_.SendFrame(ready);
            s.StartClock.Armed = false;
        }
    }
    s.StartClock.Ticks = 0;

    // 9. The link watch.
    if (s.ExitClock.Armed && s.ExitClock.Ticks >= 2 &&
        seams_.socket.State() != kSocketConnected) {
        if (!LobbyFound()) {
            EndProgram(0);
        } else if (!state_.GameRunning) {
            LeaveToLobby();
        } else if (state_.LoginAccepted) {
            state_.LoginAccepted = false;
            s.ExitClock.Disarm();
            timerKeepAlive_->Start();
            StartReconnect();
        }
    }
    Wrap(s.ExitClock, 2);

    // 10. The speech bubble.
    if (s.BubbleClock.Armed && s.BubbleClock.Ticks >= 40 && state_.LastActorPosition >= 0 &&
        state_.LastActorPosition <= 3)
        form_->Speak[state_.LastActorPosition]->hide();
    Wrap(s.BubbleClock, 40);

    // 11. The compare markers' blink.
    CompareBlinkTick();

    // 12.
    inPumpTick_ = false;
    if (pumpWanted_) timerBong_->Start();
}

}  // namespace sorvik
