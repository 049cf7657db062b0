#include "Profile.h"

namespace sorvik::server {

namespace {

const char* const kCities[] = {"北京", "上海", "广州", "深圳", "杭州", "成都", "武汉", "南京"};

uint32_t NameHash(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

}  // namespace

Profile& AccountBook::Login(const std::string& account, int64_t reserve) {
    auto [it, created] = accounts_.try_emplace(account);
    Profile& p = it->second;
    if (created) {
        const uint32_t h = NameHash(account);
        p.account = account;
        p.nick = QString::fromStdString(account);
        p.male = (h & 1) == 0;
        p.face = std::string(p.male ? "m" : "w") + std::to_string(1 + (h >> 1) % 10);
        p.location = QString::fromUtf8(kCities[(h >> 8) % 8]);
        p.title = QString::fromUtf8("玩家");
        p.coins = startingCoins_;
    }
    if (p.coins < reserve) p.coins = startingCoins_;
    ++p.logins;
    return p;
}

Profile* AccountBook::Find(const std::string& account) {
    auto it = accounts_.find(account);
    return it == accounts_.end() ? nullptr : &it->second;
}

Profile MakeBotProfile(int tableId, int seat, int64_t coins, Rng& rng) {
    static const char* const kNames[] = {"小龙", "阿福", "老王", "小美", "大刘", "阿珍", "小虎", "老陈"};
    static const char* const kSeatDigits[] = {"一", "二", "三", "四"};
    Profile p;
    p.bot = true;
    p.account = "bot-" + std::to_string(tableId) + "-" + std::to_string(seat + 1);
    const uint32_t pick = rng.Below(8);
    p.male = pick % 2 == 0;
    p.nick = QString::fromUtf8(kNames[pick]) + QString::fromUtf8(kSeatDigits[seat & 3]);
    p.face = std::string(p.male ? "m" : "w") + std::to_string(1 + rng.Below(10));
    p.location = QString::fromUtf8(kCities[rng.Below(8)]);
    p.title = QString::fromUtf8("机器人");
    p.points = rng.Below(20000);
    p.coins = coins;
    return p;
}

}  // namespace sorvik::server
