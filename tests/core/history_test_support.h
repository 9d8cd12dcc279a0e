#pragma once
// Helpers shared by the history tests: temporary folders and an independent,
// deliberately plain count of the built-in history file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "history/draw_date.h"
#include "history/history_draw.h"
#include "history/history_store.h"

namespace history_test {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        path = fs::temp_directory_path() / ("tambor-hist-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

inline std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string builtinFileBytes() { return slurp(TAMBOR_BUILTIN_HISTORY_FILE); }

// Counts from the raw cp932 bytes of the built-in file: the section is found
// by its header bytes, each data line is read with sscanf after "=".
struct PlainCount {
    int draws = 0;
    std::array<int, 44> hits{};                    // [number]
    std::array<std::array<int, 44>, 44> pairs{};   // [a][b]
};

inline PlainCount plainCount(bool loto6) {
    // "[ミニロト当選番号]" / "[ロト６当選番号]" in cp932.
    const std::string header = loto6 ? "[\x83\x8D\x83\x67\x82\x55\x93\x96\x91\x49\x94\xD4\x8D\x86]"
                                     : "[\x83\x7E\x83\x6A\x83\x8D\x83\x67\x93\x96\x91\x49\x94\xD4\x8D\x86]";
    const int k = loto6 ? 6 : 5;
    const std::string bytes = builtinFileBytes();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(bytes.substr(start, at - start));
    PlainCount count;
    bool inSection = false;
    for (const auto& line : lines) {
        if (!inSection) {
            inSection = line == header;
            continue;
        }
        if (line.empty()) break;
        ++count.draws;
        int v[7] = {};
        const int got = std::sscanf(line.c_str() + line.find('=') + 1, "%d,%d,%d,%d,%d,%d,%d", &v[0], &v[1], &v[2],
                                    &v[3], &v[4], &v[5], &v[6]);
        EXPECT_EQ(got, k + 1) << line;
        for (int i = 0; i < k; ++i) {
            ++count.hits[static_cast<std::size_t>(v[i])];
            for (int j = 0; j < k; ++j)
                if (i != j) ++count.pairs[static_cast<std::size_t>(v[i])][static_cast<std::size_t>(v[j])];
        }
    }
    return count;
}

// The ロト７ section made from the verified list data/history-loto7.tsv
// (round, date, main numbers, bonus numbers; tab separated), one line per
// draw as the history file writes it, then an empty line.
inline std::string loto7SectionText() {
    std::ifstream in(TAMBOR_TEST_DATA_DIR "/history-loto7.tsv");
    std::string text = tambor::HistoryStore::sectionHeader(tambor::GameMode::Loto7) + "\r\n";
    auto numbers = [](const std::string& field) {
        std::vector<int> v;
        for (std::size_t at = 0; at < field.size(); at += 3) v.push_back(std::stoi(field.substr(at, 2)));
        return v;
    };
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        EXPECT_EQ(fields.size(), 4u) << line;
        if (fields.size() != 4) continue;
        tambor::HistoryDraw draw;
        draw.round = std::stoi(fields[0]);
        draw.date = tambor::parseIsoDate(fields[1]);
        draw.mainNumbers = numbers(fields[2]);
        draw.bonusNumbers = numbers(fields[3]);
        text += tambor::historyDrawLine(draw) + "\r\n";
    }
    return text + "\r\n";
}

}  // namespace history_test
