#include "Rules.h"

namespace sorvik::server {

int LevelForPoints(int64_t points) {
    int level = 1;
    while (level < 40 && points >= int64_t(1000) * level * level) ++level;
    return level;
}

QString LevelTitle(int level) {
    static const char* const kDigits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (level < 1 || level > 40) return {};
    QString number;
    const int tens = level / 10, ones = level % 10;
    if (tens > 1) number += QString::fromUtf8(kDigits[tens]);
    if (tens > 0) number += QString::fromUtf8("十");
    if (ones > 0) number += QString::fromUtf8(kDigits[ones]);
    return QString::fromUtf8("第") + number + QString::fromUtf8("级");
}

std::array<SeatResult, 4> Settle(const std::array<int, 4>& contributed, int winner,
                                 const Rules& rules) {
    std::array<SeatResult, 4> results{};
    int64_t winnings = 0;
    for (int s = 0; s < 4; ++s) {
        if (s == winner) continue;
        const int64_t lost = int64_t(contributed[s]) * rules.baseStake;
        results[s] = {false, lost, lost, 0};
        winnings += lost;
    }
    if (winner >= 0 && winner < 4) {
        const int64_t tax = TaxOn(winnings, rules.taxPercent);
        results[winner] = {winnings > 0, winnings, winnings - tax, tax};
    }
    return results;
}

}  // namespace sorvik::server
