#pragma once
// The drawers of every picture the client shows. Each returns an image of exactly `size`.

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

namespace artgen {

// Cards. Suit 0 diamonds, 1 clubs, 2 hearts, 3 spades; rank 3..13, 14 the ace, 15 the two.
QImage CardFace(int suit, int rank, QSize size);
QImage Joker(bool red, QSize size);
QImage CardBack(QSize size);

// A chip of value 5, 10, 20, 50 or 100, frame 0..19 of its turn about the vertical axis.
QImage ChipFrame(int value, int frame, QSize size);

// Button states of the action buttons.
enum class ButtonState { Normal, Disabled, Hover };
QImage ActionButton(const QString& label, ButtonState state, QSize size);
QImage ToolbarButton(const QString& label, bool hover, QSize size);
QImage DialogButton(const QString& label, bool hover, QSize size);
// The settings window's option pictures: 0 off, 1 on, 2 blue table, 3 green table.
QImage OptionPicture(int which, QSize size);
QImage PhraseButton(int number, bool hover, QSize size);
// The ready mark; level 0, 1, 2 grows with the player's coins.
QImage ReadyMark(int level, QSize size);
QImage CompareEmblem(bool red, QSize size);
QImage VsEmblem(QSize size);
// Variant 0: tail down-left, 1: tail up-left, 2: tail down-right.
QImage SpeechBubble(const QString& text, const QColor& ink, int variant, QSize size);

// Video tool icons.
enum class ToolIcon { Album, Zoom, Snapshot, Music, Close, TitleClose, TitleLarger, TitleSmaller, ShowVideo };
QImage ToolIconPicture(ToolIcon icon, bool hover, QSize size);

// Portraits 0..9 look male, 10..19 female.
QImage Portrait(int index, QSize size);
QImage Handshake(QSize size);

// Scenery and window faces.
QImage TableBackground(bool blue, QSize size);
QImage TopBar(QSize size);
QImage BottomBar(QSize size);
QImage Skin();
// Title-bar buttons of the frame; state 0 normal, 1 hover, 2 pressed.
QImage TitleButton(bool close, int state, QSize size);
QImage WindowIcon(QSize size);
QImage Countdown(QSize size);
// Window faces: 0 exit confirmation, 1 message, 2 sound settings.
QImage DialogFace(int kind, QSize size);
// A wooden video window with a black display at `display`.
QImage VideoFrame(QSize size, const QRectF& display);
QImage PanelFrame(QSize size);
QImage ToolStrip(QSize size);
QImage PhraseStrip(QSize size);
QImage ScoreIcon(QSize size);
QImage DealerMark(QSize size);

}  // namespace artgen
