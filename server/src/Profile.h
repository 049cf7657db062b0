#pragma once
// A player's public profile as the user-information frame carries it, and the in-memory
// book of human accounts (the server keeps no files).

#include <QString>
#include <cstdint>
#include <map>
#include <string>

#include "Rng.h"

namespace sorvik::server {

struct Profile {
    std::string account;  // single-byte login name
    QString nick;         // GBK, mixed text
    std::string face;     // m1..m10, w1..w10
    bool male = true;
    QString location;     // double-byte characters only
    QString title;        // double-byte characters only
    int64_t points = 0, credit = 100, coins = 0;
    int32_t logins = 0, drops = 0, wins = 0, losses = 0;
    bool bot = false;
};

class AccountBook {
public:
    explicit AccountBook(int64_t startingCoins) : startingCoins_(startingCoins) {}
    // The account of a human login, created on first use; an account with fewer coins
    // than `reserve` is given the starting coins again.
    Profile& Login(const std::string& account, int64_t reserve);
    Profile* Find(const std::string& account);

private:
    int64_t startingCoins_;
    std::map<std::string, Profile> accounts_;
};

// A bot's profile: a Chinese nickname, a face, a city.
Profile MakeBotProfile(int tableId, int seat, int64_t coins, Rng& rng);

}  // namespace sorvik::server
