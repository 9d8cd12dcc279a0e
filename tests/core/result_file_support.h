#pragma once
// The bank's per-draw result files, written for the tests from the verified
// draw lists in data/ (data/history-*.tsv). They follow the bank's layout;
// the prize amounts are not part of the verified data and are written as
// dashes (the program reads only the round, game, date and numbers).

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/game.h"
#include "io/cp932.h"

namespace result_test {

struct VerifiedDraw {
    int round = 0;
    int year = 0, month = 0, day = 0;
    std::string mains;  // "04,08,10,25,28,33"
    std::string bonus;  // "09"
};

inline VerifiedDraw verifiedDraw(tambor::GameMode mode, int round) {
    const std::string file = std::string(TAMBOR_TEST_DATA_DIR) + (mode == tambor::GameMode::MiniLoto ? "/history-miniloto.tsv"
                                                                 : mode == tambor::GameMode::Loto6  ? "/history-loto6.tsv"
                                                                                                    : "/history-loto7.tsv");
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        VerifiedDraw d;
        char mains[64] = {}, bonus[16] = {};
        if (std::sscanf(line.c_str(), "%d\t%d-%d-%d\t%63s\t%15s", &d.round, &d.year, &d.month, &d.day, mains, bonus) !=
            6)
            continue;
        if (d.round != round) continue;
        d.mains = mains;
        d.bonus = bonus;
        return d;
    }
    throw std::runtime_error("no verified draw " + std::to_string(round));
}

struct Style {
    bool zeroPadRound = false;     // "第0694回"
    bool fullWidthDigits = false;  // "第２１３７回" and the date in full width
    bool utf8 = false;             // saved again by an editor
};

inline std::string fullWidth(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            out += "\xEF\xBC";
            out += static_cast<char>(0x90 + (c - '0'));
        } else {
            out += c;
        }
    }
    return out;
}

// "令和8年9月14日", "令和元年5月7日", "平成31年4月30日"
inline std::string eraDate(int y, int m, int d) {
    const bool reiwa = y > 2019 || (y == 2019 && m >= 5);
    const int eraYear = reiwa ? y - 2018 : y - 1988;
    return std::string(reiwa ? "令和" : "平成") + (eraYear == 1 ? std::string("元") : std::to_string(eraYear)) + "年" +
           std::to_string(m) + "月" + std::to_string(d) + "日";
}

// The file's text in UTF-8.
inline std::string resultFileText(tambor::GameMode mode, const VerifiedDraw& d, Style style = {}) {
    char round[16];
    std::snprintf(round, sizeof round, style.zeroPadRound ? "%04d" : "%d", d.round);
    std::string title = std::string("第") + round + "回" + tambor::gameName(mode) + ",数字選択式全国自治宝くじ," +
                        eraDate(d.year, d.month, d.day) + ",東京 宝くじドリーム館";
    if (style.fullWidthDigits) title = fullWidth(title);
    std::string numbers = "本数字," + d.mains + ",ボーナス数字," + d.bonus;
    std::ostringstream out;
    out << "A52\r\n" << title << "\r\n" << "支払期間," << eraDate(d.year, d.month, d.day) << "から1年間\r\n"
        << numbers << "\r\n";
    const int grades = tambor::rulesFor(mode).gradeCount;
    const char* const names[] = {"１等", "２等", "３等", "４等", "５等", "６等"};
    for (int g = 0; g < grades; ++g) out << names[g] << ",-口,-円\r\n";
    out << "キャリーオーバー,-円\r\n販売実績額,-円\r\n";
    return out.str();
}

inline std::string resultFileBytes(tambor::GameMode mode, int round, Style style = {}) {
    const std::string text = resultFileText(mode, verifiedDraw(mode, round), style);
    return style.utf8 ? text : tambor::utf8ToCp932(text, "test");
}

}  // namespace result_test
