#include "chat/core/Chat.h"

namespace sorvik {
namespace {

// Applied in this order on the shrinking line: removing one word can join two pieces into
// a word later in the list, which then goes too.
const char* const kFilteredWords[] = {
    "赵大宝", "钱二宝", "孙三宝", "李四宝",  // four personal names
    "法轮功", "他妈的", "她妈的", "它妈的", "婊子养的", "婊子", "淫", "色情", "黄色",
    "shit", "fuck"};

}  // namespace

QString FilterChatText(const QString& text) {
    QString line = text;
    for (const char* word : kFilteredWords) line.remove(QString::fromUtf8(word), Qt::CaseSensitive);
    return line;
}

}  // namespace sorvik
