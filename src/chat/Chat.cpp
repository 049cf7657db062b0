// Table chat: typing and sending (public and private), the relayed messages in the chat
// window and the two message lines, the chat window and the quick phrases.

#include <QFileInfo>

#include "chat/ChatWindows.h"
#include "chat/core/Chat.h"
#include "session/TableClient.h"
#include "session/core/IniFile.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

constexpr int kChatListLimit = 100;
constexpr int kChatHistoryLimit = 1000;
const char* const kPublicSays = "说道： ";

// The text without the spaces at its ends (only spaces: a full-width space stays).
QString TrimSpaces(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == ' ') ++from;
    while (to > from && text[to - 1] == ' ') --to;
    return text.mid(from, to - from);
}

bool IsPlainFileName(const QString& name) {
    for (QChar c : name)
        if (c == '/' || c == '\\' || c.unicode() < 0x20) return false;
    return !name.startsWith('.');
}

}  // namespace

TalkWindow& TableClient::Talk() {
    if (!talk_) {
        talk_ = std::make_unique<TalkWindow>(seams_.pictures, &scale_, form_.get());
        const QRect main = form_->geometry();
        talk_->move(main.left() + static_cast<int>(0.3 * main.width()),
                    main.top() + static_cast<int>(0.66 * main.height()));
        connect(talk_->Label1, &PictureBox::clicked, this, [this] { talk_->hide(); });
        connect(talk_.get(), &TalkWindow::listKey, this, [this](int key) { OnTalkListKey(key); });
    }
    return *talk_;
}

PhraseWindow& TableClient::huifu() {
    if (!huifu_) {
        huifu_ = std::make_unique<PhraseWindow>(seams_.pictures, &scale_, form_.get());
        // The phrase file beside the program; without it both pages stay empty.
        const QString file = seams_.desktop.ProgramFolder() + QStringLiteral("/chat.ini");
        if (QFileInfo::exists(file)) {
            classIniFile ini(file);
            const std::pair<const char*, QListWidget*> pages[] = {{"Phrase1", huifu_->List1},
                                                                  {"Phrase2", huifu_->List2}};
            for (const auto& [section, list] : pages) {
                const int num = ini.GetIniKey(QString::fromLatin1(section), QStringLiteral("num")).toInt();
                for (int i = 1; i <= num && i <= 1000; ++i)
                    list->addItem(ini.GetIniKey(QString::fromLatin1(section), QString::number(i)));
            }
        }
        connect(huifu_->Label1, &PictureBox::clicked, this, [this] { huifu_->hide(); });
        for (QListWidget* list : {huifu_->List1, huifu_->List2})
            connect(list, &QListWidget::itemDoubleClicked, this,
                    [this](QListWidgetItem* item) { SendPhrase(item->text()); });
    }
    return *huifu_;
}

void TableClient::HideChatWindows() {
    if (talk_) talk_->hide();
    if (huifu_) huifu_->hide();
}

QPoint TableClient::ChatPanelPosition() const {
    const QPoint main = form_->geometry().topLeft();
    const QRect table = form_->Pic1->geometry();
    if (scale_.ScaleY < 1)
        return {main.x() + table.left() + static_cast<int>(0.22 * form_->width()),
                main.y() + table.top() + static_cast<int>(0.6 * form_->height())};
    return {main.x() + table.left() + static_cast<int>(0.3 * table.width()),
            main.y() + table.top() + static_cast<int>(0.66 * table.height())};
}

void TableClient::ShowTalk() {
    TalkWindow& talk = Talk();
    talk.show();
    CentreOver(&talk, form_.get());
    talk.move(ChatPanelPosition());
    talk.raise();
}

void TableClient::ToggleTalk() {
    if (talk_ && talk_->isVisible())
        talk_->hide();
    else
        ShowTalk();
}

// ---- Typing and sending ----

void TableClient::OnChatKey(int key) {
    if (Talk().Text1->count() > kChatListLimit) talk_->Text1->clear();
    ChatLine* box = form_->Chat;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        SendChatByEnter();
    } else if (key == Qt::Key_Backspace) {
        if (!chat_.PrivatePrefix.isEmpty()) {
            chat_.TextBeforeBackspace = box->text();
            if (box->cursorPosition() <= chat_.PrivatePrefix.size()) chat_.PrefixBackspace = true;
        }
    } else if (key == Qt::Key_F1) {
        OnTableKey(Qt::Key_F1);
    }
}

void TableClient::OnChatChanged() {
    if (!chat_.PrefixBackspace) return;
    chat_.PrefixBackspace = false;
    // One Backspace inside the prefix cancels the private message and keeps what followed.
    const QString rest = chat_.TextBeforeBackspace.mid(chat_.PrivatePrefix.size());
    chat_.PrivatePrefix.clear();
    chat_.PrivateTarget = 0;
    chat_.PrivateCarryText.clear();
    form_->Chat->setText(rest);
    form_->Chat->end(false);
}

void TableClient::SendChatByEnter() {
    ChatLine* box = form_->Chat;
    if (!chat_.ChatAllowed) {
        if (!box->text().isEmpty()) {
            Talk().Text1->AddItem(QStringLiteral("（发送消息太快！）"));
            box->clear();
            talk_->Text1->scrollToBottom();
        }
        return;
    }
    chat_.ChatAllowed = false;
    timerChat_->Start();
    SendChatText(box->text());
}

void TableClient::SendChatByButton() {
    const QString text = form_->Chat->text();
    form_->Chat->clear();
    SendChatText(text);
}

void TableClient::SendChatText(const QString& typed) {
    PacketFrame frame{};
    frame[3] = kChat;
    frame[6] = state_.Seats[0].SeatBit;
    if (typed.isEmpty() || TrimSpaces(typed) == chat_.PrivatePrefix) return;
    QString text = typed;
    const QString& name = state_.Profiles[0].NickName;
    if (!chat_.PrivatePrefix.isEmpty() && text.contains(chat_.PrivatePrefix)) {
        text = text.mid(chat_.PrivatePrefix.size());
        frame[11] = chat_.PrivateTarget;
        // An addressee without a seat cannot be reached alone: everyone reads it with both names.
        if (chat_.PrivateTarget == 0) text = name + chat_.PrivatePrefix.mid(1) + text;
    } else {
        text = name + QString::fromUtf8(kPublicSays) + text;
    }
    chat_.PrivatePrefix.clear();
    form_->Chat->clear();
    transport_.PendingChatText = text;
    transport_.SendFrame(frame);
}

void TableClient::ChatTimerTick() {
    timerChat_->Stop();
    chat_.ChatAllowed = true;
}

void TableClient::StartPrivateMessage(int p) {
    if (p < 1 || p > 3 || !state_.LoginAccepted) return;
    const QString& name = state_.Profiles[p].NickName;
    if (name.isEmpty()) return;
    chat_.PrivateTarget = state_.Seats[p].SeatBit;
    QString carry = form_->Chat->text();
    if (!chat_.PrivatePrefix.isEmpty() && carry.contains(chat_.PrivatePrefix))
        carry = carry.mid(chat_.PrivatePrefix.size());
    chat_.PrivateCarryText = carry;
    chat_.PrivatePrefix = QStringLiteral("你对") + name + QStringLiteral("说 ：");
    form_->Chat->setText(chat_.PrivatePrefix + chat_.PrivateCarryText);
    form_->Chat->end(false);
    form_->Chat->setFocus();
}

// ---- Relayed messages ----

void TableClient::ShowChat(const PacketFrame& frame) {
    const QString text = ReadFrameText(frame, 16, 200, TextKind::Mixed);
    MessageList* list = Talk().Text1;
    auto show = [&](const QString& line) {
        for (const QString& l : WrapIntoList(line, kChatWrapColumns)) list->AddItem(l);
        // Without a key press the list would grow for as long as the table talks.
        while (list->count() > kChatHistoryLimit) delete list->takeItem(0);
        list->scrollToBottom();
        AddMessageLine(line.left(kMessageLineChars));
    };
    if ((frame[6] & 0x0F) == 0) {
        show(text);  // the server's own words: shown as they are
        return;
    }
    const int s = state_.PositionOfSeat(frame[6]);
    const bool fromMe = s == 0;
    if (frame[9] == 1 && !fromMe) PlayVoicePhrase(s, frame[13], frame[15]);
    QString line;
    const QString& me = state_.Profiles[0].NickName;
    if (frame[11] != 0) {
        const int a = state_.PositionOfSeat(frame[11]);
        line = state_.Profiles[s].NickName + QStringLiteral("对") + state_.Profiles[a].NickName +
               QString::fromUtf8(kPublicSays) + text;
        if (!me.isEmpty() && fromMe) line.replace(me, QStringLiteral("你"));
        if (!me.isEmpty() && a == 0) line.replace(me, QStringLiteral("你"));
    } else {
        line = text;
        if (!me.isEmpty() && fromMe) line.replace(me, QStringLiteral("你"));
    }
    show(FilterChatText(line));
    if (!fromMe) {
        state_.ChatBlinkCount = 8;
        transport_.Slots.ChatBlinkSlot.Arm();
    }
}

void TableClient::PlayVoicePhrase(int s, uint8_t letter, uint8_t number) {
    const SeatProfile& p = state_.Profiles[s];
    const QString name = QStringLiteral("v") + p.Extra5 + p.Extra6 + QString::number(p.IsMale) +
                         QStringLiteral("0") + QChar(letter) + QString::number(number) +
                         QStringLiteral(".wav");
    // The name comes from the network: it must stay a file name inside the voice folder.
    if (!IsPlainFileName(name) || letter == 0) return;
    sound_.StopSound();
    sound_.PlaySoundFile(seams_.desktop.ProgramFolder() + QStringLiteral("/voice/") + name, false);
    sound_.SetSoundVolume(3000);
}

void TableClient::AddMessageLine(const QString& line) {
    MessageList* first = form_->Sysmsg[0];
    MessageList* second = form_->Sysmsg[1];
    if (second->count() == 0) {
        MessageList* target = first->count() == 0 ? first : second;
        target->clear();
        target->AddItem(line);
        return;
    }
    const QString older = second->item(0)->text();
    first->clear();
    first->AddItem(older);
    second->clear();
    second->AddItem(line);
}

// ---- The chat window's keys and the quick phrases ----

// Alt then C: true when the sequence completes (both flags are then cleared).
bool TableClient::AltCSequence(int key) {
    if (key == Qt::Key_Alt)
        chat_.AltSeen = true;
    else if (key == Qt::Key_C)
        chat_.CSeen = true;
    else
        chat_.AltSeen = chat_.CSeen = false;
    if (!(chat_.AltSeen && chat_.CSeen)) return false;
    chat_.AltSeen = chat_.CSeen = false;
    return true;
}

void TableClient::OnTalkListKey(int key) {
    if (AltCSequence(key)) talk_->hide();
}

void TableClient::OpenPhrasePage(int page) {
    if (talk_ && talk_->isVisible()) talk_->hide();
    PhraseWindow& w = huifu();
    QListWidget* shown = page == 1 ? w.List1 : w.List2;
    QListWidget* other = page == 1 ? w.List2 : w.List1;
    if (!w.isVisible()) {
        w.show();
        CentreOver(&w, form_.get());
        w.move(ChatPanelPosition());
        w.raise();
    } else if (shown->isVisibleTo(&w)) {
        w.hide();
        return;
    }
    shown->show();
    other->hide();
}

void TableClient::SendPhrase(const QString& phrase) {
    PacketFrame frame{};
    frame[3] = kChat;
    frame[6] = state_.Seats[0].SeatBit;
    const QString& name = state_.Profiles[0].NickName;
    QString text;
    if (!chat_.PrivatePrefix.isEmpty() && form_->Chat->text().contains(chat_.PrivatePrefix)) {
        frame[11] = chat_.PrivateTarget;
        text = chat_.PrivateTarget == 0 ? name + chat_.PrivatePrefix.mid(1) + phrase : phrase;
    } else {
        text = name + QString::fromUtf8(kPublicSays) + phrase;
    }
    transport_.PendingChatText = text;
    form_->Chat->clear();
    chat_.PrivatePrefix.clear();
    transport_.SendFrame(frame);
    huifu().hide();
}

}  // namespace sorvik
