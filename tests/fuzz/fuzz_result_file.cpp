// The bank's result files over any bytes: reading never throws past the
// decoding, a text that is not a result file says why, and a draw it reads
// is a possible draw of its game that the history file's line keeps as it is.

#include <string>

#include "fuzz_support.h"
#include "history/result_file.h"
#include "io/cp932.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text;
    try {
        text = decodeText(std::string(reinterpret_cast<const char*>(data), size), "result.csv");
    } catch (const TextEncodingError&) {
        return 0;
    }
    const std::variant<ResultFileDraw, std::string> parsed = parseResultFileText(text);
    if (const std::string* why = std::get_if<std::string>(&parsed)) {
        require(!why->empty(), "a refusal without a reason");
        return 0;
    }
    const ResultFileDraw& file = std::get<ResultFileDraw>(parsed);
    const HistoryDraw& draw = file.draw;
    require(draw.round >= 1, "a round below 1");
    require(draw.date && draw.date->ok(), "a draw without a real date");
    require(drawNumbersProblem(file.mode, draw.mainNumbers, draw.bonusNumbers).empty(), "an impossible draw");
    for (std::size_t i = 1; i < draw.mainNumbers.size(); ++i)
        require(draw.mainNumbers[i - 1] < draw.mainNumbers[i], "main numbers not ascending");
    if (historyEraDateText(*draw.date)) {
        const std::optional<HistoryDraw> back = readHistoryDraw(file.mode, historyDrawLine(draw), draw.round);
        require(back && back->sameResult(draw) && back->date == draw.date, "the history line changes the draw");
    }
    return 0;
}
