#pragma once
// The two pop-up windows of the chat: the chat window (Talk) with the chat history, and the
// quick-phrase window (huifu) with two pages of ready-made phrases.

#include <QListWidget>
#include <QWidget>

#include "table/Controls.h"

namespace sorvik {

class TalkWindow : public QWidget {
    Q_OBJECT
public:
    TalkWindow(const PictureSource* pictures, const LayoutScale* scale, QWidget* owner);
    MessageList* Text1;
    PictureBox* Label1;  // closes the window

signals:
    void listKey(int key);  // a key pressed in Text1

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

class PhraseWindow : public QWidget {
    Q_OBJECT
public:
    PhraseWindow(const PictureSource* pictures, const LayoutScale* scale, QWidget* owner);
    QListWidget* List1;
    QListWidget* List2;
    PictureBox* Label1;  // closes the window
};

}  // namespace sorvik
