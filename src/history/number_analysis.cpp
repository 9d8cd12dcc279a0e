#include "history/number_analysis.h"

#include <algorithm>
#include <array>

#include "history/draw_masks.h"
#include "history/history_store.h"

namespace tambor {

const char* analysisColumnTitle(AnalysisColumn column) {
    static constexpr std::array<const char*, kAnalysisColumnCount> kTitles{
        "番号", "出現回数", "直近10回", "直近50回", "直近100回", "出現間隔", "最長間隔"};
    return kTitles[static_cast<std::size_t>(column)];
}

int analysisValue(const NumberAnalysisRow& row, AnalysisColumn column) {
    switch (column) {
    case AnalysisColumn::Number: return row.number;
    case AnalysisColumn::Hits: return row.hits;
    case AnalysisColumn::Last10: return row.last10;
    case AnalysisColumn::Last50: return row.last50;
    case AnalysisColumn::Last100: return row.last100;
    case AnalysisColumn::SinceLast: return row.sinceLast;
    case AnalysisColumn::LongestGap: return row.longestGap;
    }
    return 0;
}

std::vector<NumberAnalysisRow> analyzeNumbers(GameMode mode, const std::vector<std::uint64_t>& drawMasks) {
    const int n = rulesFor(mode).maxNumber;
    const int draws = static_cast<int>(drawMasks.size());
    std::vector<NumberAnalysisRow> rows(static_cast<std::size_t>(n));
    // The run of draws without each number so far, and where it last came.
    std::vector<int> run(static_cast<std::size_t>(n), 0);
    for (int d = 0; d < draws; ++d) {
        const std::uint64_t mask = drawMasks[static_cast<std::size_t>(d)];
        const int fromNewest = draws - d;  // 1 for the newest draw
        for (int v = 1; v <= n; ++v) {
            NumberAnalysisRow& row = rows[static_cast<std::size_t>(v - 1)];
            int& gap = run[static_cast<std::size_t>(v - 1)];
            if ((mask >> (v - 1)) & 1) {
                ++row.hits;
                if (fromNewest <= 10) ++row.last10;
                if (fromNewest <= 50) ++row.last50;
                if (fromNewest <= 100) ++row.last100;
                gap = 0;
            } else {
                row.longestGap = std::max(row.longestGap, ++gap);
            }
        }
    }
    for (int v = 1; v <= n; ++v) {
        NumberAnalysisRow& row = rows[static_cast<std::size_t>(v - 1)];
        row.number = v;
        row.sinceLast = run[static_cast<std::size_t>(v - 1)];
    }
    return rows;
}

std::vector<NumberAnalysisRow> analyzeNumbers(const HistoryStore& history) {
    return analyzeNumbers(history.mode(), historyDrawMasks(history));
}

std::string analysisTableText(const std::vector<NumberAnalysisRow>& rows, const char* end) {
    std::string text;
    for (int c = 0; c < kAnalysisColumnCount; ++c)
        text += std::string(c == 0 ? "" : "\t") + analysisColumnTitle(static_cast<AnalysisColumn>(c));
    text += end;
    for (const NumberAnalysisRow& row : rows) {
        for (int c = 0; c < kAnalysisColumnCount; ++c)
            text += (c == 0 ? "" : "\t") + std::to_string(analysisValue(row, static_cast<AnalysisColumn>(c)));
        text += end;
    }
    return text;
}

}  // namespace tambor
