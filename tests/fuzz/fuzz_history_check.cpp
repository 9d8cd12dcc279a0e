// The check a downloaded history file must pass before it replaces
// lotodata.txt, over any bytes: it never throws, explains every refusal,
// does not depend on the line ends, and what it accepts reads back as a
// history with exactly the draws it counted, every one complete.

#include <string>

#include "fuzz_support.h"
#include "history/history_check.h"
#include "history/history_store.h"
#include "history/prize_check.h"
#include "io/cp932.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HistoryFileVerdict verdict = checkHistoryFile(bytes);
    require(verdict.ok == verdict.message.empty(), "a refusal without a reason, or a reason for an acceptance");

    // Line ends are the server's choice: they never change the verdict.
    const std::string crlf = withCrLfLineEnds(bytes);
    require(withCrLfLineEnds(crlf) == crlf, "CR LF line ends not stable");
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (crlf[i] == '\n') require(i > 0 && crlf[i - 1] == '\r', "a lone LF after normalising");
        if (crlf[i] == '\r') require(i + 1 < crlf.size() && crlf[i + 1] == '\n', "a lone CR after normalising");
    }
    require(checkHistoryFile(crlf).ok == verdict.ok, "the verdict depends on the line ends");
    if (!verdict.ok) return 0;

    // Accepted: the program reads it with the counts the check gave, and
    // every draw line has a complete set of winning numbers.
    const std::string text = cp932ToUtf8(crlf, "lotodata.txt");
    for (GameMode mode : {GameMode::MiniLoto, GameMode::Loto6}) {
        HistoryStore history;
        history.loadFromText(text, mode);
        const int expected = mode == GameMode::MiniLoto ? verdict.miniLotoDraws : verdict.loto6Draws;
        require(expected > 0, "an accepted file without draws of a game");
        require(history.drawCount() == expected, "draw count differs from the check's");
        for (int round = 1; round <= history.drawCount(); ++round) {
            int mains[kMaxPick] = {};
            int count = 0;
            int bonuses[kMaxBonus] = {};
            int bonusCount = 0;
            require(history.drawOnBoard(round, mains, count, bonuses, bonusCount), "an accepted round without its line");
            require(makeWinningNumbers(mode, mains, count, bonuses, bonusCount).has_value(),
                    "an accepted draw that cannot be checked");
        }
    }
    return 0;
}
