#pragma once
// Who sits where, what their profiles say, the cards and the hand's flags and counters,
// with the small shared routines that read them.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <stdexcept>

#include "session/core/Transport.h"

namespace sorvik {

// A fault while a server frame is handled: the table ends through the controlled path.
struct DispatchFault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CardSlot {
    int32_t Code = 0;
    int16_t ImageIndex = -1;
};

struct SeatState {
    QString AccountName;
    int32_t Reserved1 = 0, Reserved2 = 0;
    uint8_t SeatBit = 0;
    int16_t AnchorX = 0, AnchorY = 0, AnchorX2 = 0, AnchorY2 = 0;
    std::array<CardSlot, 13> Cards{};
    int16_t Reserved3 = 0;
    int32_t Reserved4 = 0;
};

struct SeatProfile {
    QString NickName;
    QString FaceId;
    uint8_t IsMale = 0;
    QString Location;
    double Points = 0, Credit = 0, Coins = 0, Extra1 = 0;
    QString LevelTitle;
    double Extra2 = 0, Extra3 = 0, Extra4 = 0;
    int32_t Logins = 0, Drops = 0, Wins = 0, Losses = 0;
    QString Account;
    QString Title;
    QString Extra5, Extra6;
    double Extra7 = 0;
};

struct TableState {
    std::array<SeatState, 4> Seats{};
    std::array<SeatProfile, 4> Profiles{};

    int32_t BaseStake = 0;
    int16_t SeatedCount = 0;
    int16_t ProfileCount = 0;
    bool TableArmed = false;
    bool GameRunning = false;
    bool TableClosed = false;
    std::array<bool, 4> LookedInHand{};
    std::array<bool, 4> HasLooked{};
    int16_t ActiveCount = 4;
    int16_t InHandTally = 0;
    bool MyTurn = false;
    int32_t MyStakeUnits = 0;
    int32_t CurrentStake = 0;
    int32_t PendingRaise = 0;
    int16_t StakeFactor = 1;
    std::array<bool, 9> ActionEnabled{};
    int16_t TurnSeconds = 0;
    int16_t CountdownReload = 10;
    bool BossKeyActive = false;
    int16_t LastActorPosition = 0;
    int16_t ResultFramesSinceReset = 0;
    int16_t ResultFramesTotal = 0;
    bool LoginAccepted = false;
    bool Reconnected = false;
    uint8_t ServerOption9 = 0;
    QString NewsUrl;
    int16_t ReconnectAttempts = 0;
    int32_t GameCount = 0;
    // The compare choice and the animations.
    bool ComparePending = false;
    bool CompareBlink = false;
    int32_t CompareBlinkTicks = 0;
    bool CompareBlinkPhase = false;
    int DealStep = 0;
    // The settlement: the result frames of the game being settled and the running totals.
    std::array<PacketFrame, 4> ResultFrames{};
    int16_t ResultFrameCount = 0;
    std::array<double, 4> CumulativeScore{};
    std::array<int32_t, 4> RunningNet{};
    // The start/continue button's lock and the other toolbar flags.
    std::array<bool, 9> ToolbarUsed{};

    // The pump's state that start-up and teardown clear.
    int32_t SilenceCount = 0;
    bool LoginPending = false;
    int16_t ChatBlinkCount = 0;
    double TurnClockLast = 0;
    double StartClockLast = 0;

    // Display position 0..3 of a seat byte, relative to the local seat.
    int PositionOfSeat(uint8_t seatByte) const;
    // Clears a position's account name and the profile fields that a departure clears.
    void ClearSeat(int position);
};

// Index of the highest set bit of a small mask; 0 and 1 give 0.
uint8_t BitIndex(int mask);

// The rank (bits 8..15, a signed byte) and the suit bit (bits 0..3) of a card code.
inline int CardRank(int32_t code) { return static_cast<int8_t>((code >> 8) & 0xFF); }
// The picture number of a card: display rank (2 shown as 15) + 16 × suit number.
int CardPictureNumber(int32_t code);
// A card read from a frame (4 bytes little-endian); a top byte of 0x80 or more is a fault.
int32_t ReadCardCode(const PacketFrame& frame, int start);
// Whether a picture number may be drawn as a card.
bool IsDrawableCardPicture(int number);

// Sorts three card codes by rank, highest first, by the pairwise swap the table uses;
// returns a bit per slot whose code changed.
unsigned SortHandCodes(std::array<int32_t, 3>& codes);

// Fills a profile from a user-information frame; a counter above 2^31 − 1 is a fault.
void DecodeProfile(SeatProfile& profile, const PacketFrame& frame);

// An amount as the table writes it: the decimal digits of its integer part, no grouping.
QString PlainAmount(double value);

// Spaces followed by the text, up to n characters; longer text unchanged.
QString PadLeft(const QString& text, int n);
// The lines a list shows for a text wrapped at about `width` columns (double-byte
// characters count two); continuation lines start with one space.
QStringList WrapIntoList(const QString& text, int width);

}  // namespace sorvik
