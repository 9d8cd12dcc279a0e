// tambor-cli print: the combinations of a file on mark cards, written as a
// PDF file of one card per page (or the test page), with the geometry and
// the page rules of the window's card printing.

#include <ostream>
#include <stdexcept>
#include <string>

#include "cli_args.h"
#include "combination_input.h"
#include "core/japanese_count.h"
#include "io/card_pdf.h"
#include "io/combination_file.h"
#include "io/print_margin.h"
#include "long_work.h"

namespace tambor::cli {
namespace {

// "F-T" or "F": card numbers from 1, F <= T.
CardRequest parsePages(const std::string& text) {
    const std::size_t dash = text.find('-');
    const std::string fromText = text.substr(0, dash);
    const std::string toText = dash == std::string::npos ? fromText : text.substr(dash + 1);
    const auto from = parseWholeNumberIn(fromText, 1, 1000000000, kDigitsOnly);
    const auto to = parseWholeNumberIn(toText, 1, 1000000000, kDigitsOnly);
    if (!from || !to || *from > *to)
        throw UsageError{"--pages にはページ範囲を F-T（1 以上、F ≦ T）で指定してください: " + text};
    return {CardRange::Pages, static_cast<int>(*from), static_cast<int>(*to)};
}

std::string_view trimBlanks(std::string_view part) {
    const std::size_t first = part.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return part.substr(first, part.find_last_not_of(' ') - first + 1);
}

// One margin as the fields take it: digits with at most one "." (blanks
// around them are trimmed first).
bool isMarginText(std::string_view part) {
    bool digit = false;
    int dots = 0;
    for (const char c : part) {
        if (c == '.')
            ++dots;
        else if (c >= '0' && c <= '9')
            digit = true;
        else
            return false;
    }
    return digit && dots <= 1;
}

// "H,V" in millimetres, read as the margin fields read what is typed in
// them (two decimals). A margin that would move a mark off the page is
// refused rather than cut: the card would come out wrong either way.
CardMargins parseMargins(const std::string& text, const PageMetrics& page) {
    const std::size_t comma = text.find(',');
    const std::string_view all(text);
    const std::string_view horz = trimBlanks(all.substr(0, comma));
    const std::string_view vert = comma == std::string::npos ? std::string_view() : trimBlanks(all.substr(comma + 1));
    if (!isMarginText(horz) || !isMarginText(vert))
        throw UsageError{"--margins には水平と垂直のマージンを H,V（mm、例: 4.23,6.35）で指定してください: " + text};
    const CardMargins margins{ParseMargin(horz, page.widthMm, 0.0), ParseMargin(vert, page.heightMm, 0.0)};
    const CardMargins largest = largestCardMargins();
    constexpr double kSlack = 1e-9;  // the column step is not exact in binary
    if (margins.horz > largest.horz + kSlack || margins.vert > largest.vert + kSlack)
        throw UsageError{"--margins は水平 " + formatMargin(largest.horz) + " mm、垂直 " + formatMargin(largest.vert) +
                         " mm までです（それより大きいとマークがカードの外に出ます）: " + text};
    return margins;
}

int runPrint(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--pdf", "--pages", "--margins", "--game"}, {"--test"}, 1);
    const std::optional<GameMode> givenGame = gameOption(parsed);
    const auto pdf = parsed.value("--pdf");
    if (!pdf || pdf->empty()) throw UsageError{"出力する PDF ファイルを --pdf で指定してください。"};
    const PageMetrics page = pdfCardMetrics();
    const auto marginsText = parsed.value("--margins");
    const CardMargins margins = marginsText ? parseMargins(*marginsText, page) : CardMargins{};

    if (parsed.has("--test")) {
        if (!parsed.positional.empty() || parsed.has("--pages"))
            throw UsageError{"--test には組み合わせファイルや --pages を指定できません。"};
        writeCardPdf(*pdf, {testPage(page, page, margins)}, page);
        out << "印刷テスト: " << *pdf << "（" << kPdfCardWidthMm << " × " << kPdfCardHeightMm << " mm、1 ページ）\n";
        return 0;
    }
    if (parsed.positional.size() != 1) throw UsageError{"印刷する組み合わせファイルを指定してください。"};
    const std::string& input = parsed.positional[0];
    CardRequest request;
    const auto pages = parsed.value("--pages");
    if (pages) request = parsePages(*pages);  // before the file is read

    LongWork work;
    const CombinationInput combinations = readCombinationInput(input, givenGame);
    if (!cardLayoutKnown(combinations.game)) throw std::runtime_error(cardLayoutUnknownMessage(combinations.game));
    CombinationList list(combinations.game);
    appendCombinationFile(list, combinations.file);
    if (list.empty()) throw std::runtime_error(kNothingToPrintMessage);

    if (pages) {
        const int maxPage = cardPageCount(list.size());
        if (request.fromPage > maxPage)
            throw UsageError{"ページ " + std::to_string(request.fromPage) + " はありません（全 " + std::to_string(maxPage) +
                             " ページ）。"};
    }
    // Card by card into the file: memory stays flat however long the list,
    // and Ctrl+C leaves the file as it was.
    std::size_t printed = 0;
    std::size_t cardCount = 0;
    work.saveWith(
        [&](const ProgressCallback& progress) {
            return writeCardPdfStream(
                *pdf, page,
                [&](const CardPageSink& addPage) {
                    return forEachCard(
                        list.mode(), list.size(), [&](std::size_t i) { return list.combinationAt(i); }, request, {},
                        [&](const Card& card) {
                            addPage(cardPages({card}, page, margins).front());
                            printed += card.size();
                            ++cardCount;
                            return !progress || progress(card.back().percent);
                        });
                },
                progress);
        },
        "印刷中");
    out << "印刷: " << *pdf << "（" << gameName(list.mode()) << "、"
        << FormatJapaneseCount(static_cast<std::int64_t>(printed)) << " 口、" << cardCount << " ページ）\n";
    return 0;
}

const CommandRegistrar registrar{
    Command{"print", "組み合わせを申込カードの形で PDF ファイルに書き出します",
            "使い方: tambor-cli print FILE --pdf OUT [--pages F-T] [--margins H,V] [--game mini|loto6|loto7]\n"
            "       tambor-cli print --test --pdf OUT [--margins H,V]\n"
            "FILE をプログラムの「読み込み」と同じように読み込み、申込カード 1 枚を 1 ページとして\n"
            "5 口ずつ OUT に書き出します。ページはカードそのもので、はがき（100 × 148 mm）の大きさです。\n"
            "ページには塗りつぶす黒いマークだけが描かれます。実寸（拡大縮小なし）で印刷してください。\n"
            "  --pages F-T        F ページから T ページまで（最後のページを含めるとリストの最後まで）\n"
            "  --margins H,V      水平・垂直マージン（mm、既定: 0,0）。マークは左と上にずれます。\n"
            "                     マークがカードの外に出る値（水平 4 mm、垂直 38.5 mm より大きい値）はエラー\n"
            "  --test             マージンを調べるための印刷テスト（印刷できる範囲の内側に 0.3 mm の枠、\n"
            "                     20 mm の正方形、全マーク）\n" +
                std::string(kGameOptionHelp) +
                "終了コード: 0 成功、1 組み合わせがない・ゲームに合わない行がある・ファイルを読み書きできない、\n"
                "2 引数の誤り・ゲームが分からない、130 Ctrl+C で中断（OUT は前のまま）\n"
                "長いリストもページごとに書き出します。Ctrl+C で中断できます。\n",
            runPrint}};

}  // namespace
}  // namespace tambor::cli
