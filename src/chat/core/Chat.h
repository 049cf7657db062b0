#pragma once
// The chat's own state and the word filter applied to shown chat lines.

#include <QString>
#include <cstdint>

namespace sorvik {

struct ChatState {
    bool ChatAllowed = true;   // false from a send by Enter until TimerChat fires
    QString PrivatePrefix;     // "你对" + name + "说 ：" while a private message is typed
    uint8_t PrivateTarget = 0; // the addressee's seat bit
    QString PrivateCarryText;  // the box's text when the addressee was chosen
    bool PrefixBackspace = false;
    QString TextBeforeBackspace;
    // The Alt, C key sequence of the table and of the chat window's list.
    bool AltSeen = false;
    bool CSeen = false;
};

// A shown chat line with every listed word cut out, word after word in list order.
QString FilterChatText(const QString& text);

// Wraps a chat line for the chat window: 44 columns, double-byte characters count two.
constexpr int kChatWrapColumns = 44;
// The message lines show at most this many characters of a chat line.
constexpr int kMessageLineChars = 45;

}  // namespace sorvik
