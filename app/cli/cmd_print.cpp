// tambor-cli print: the combinations of a file on mark cards, written as a
// PDF file of one card per page (or the test page), with the geometry and
// the page rules of the window's card printing.

#include <ostream>
#include <stdexcept>

#include "cli_args.h"
#include "core/japanese_count.h"
#include "io/card_pdf.h"
#include "io/combination_file.h"
#include "io/print_margin.h"

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

// "H,V" in millimetres, read as the margin fields read what is typed in
// them (two decimals, cut at the page size). The fields take only digits
// and ".", so anything else is refused here.
CardMargins parseMargins(const std::string& text, const PageMetrics& page) {
    const std::size_t comma = text.find(',');
    const auto acceptable = [](std::string_view part) {
        if (part.find_first_of("0123456789") == std::string_view::npos) return false;
        return part.find_first_not_of("0123456789. ") == std::string_view::npos;
    };
    if (comma == std::string::npos || !acceptable(std::string_view(text).substr(0, comma)) ||
        !acceptable(std::string_view(text).substr(comma + 1)))
        throw UsageError{"--margins には水平と垂直のマージンを H,V（mm）で指定してください: " + text};
    return {ParseMargin(std::string_view(text).substr(0, comma), page.widthMm, 0.0),
            ParseMargin(std::string_view(text).substr(comma + 1), page.heightMm, 0.0)};
}

int runPrint(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--pdf", "--pages", "--margins", "--game"}, {"--test"}, 1);
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

    CombinationList list(parsed.game());
    const CombinationFile file = readCombinationFile(input);
    if (const auto game = file.gameToSwitchTo(list.mode())) list.reset(*game);
    appendCombinationFile(list, file);
    if (list.empty()) throw std::runtime_error(kNothingToPrintMessage);

    CardRequest request;
    if (const auto pages = parsed.value("--pages")) {
        request = parsePages(*pages);
        const int maxPage = cardPageCount(list.size());
        if (request.fromPage > maxPage)
            throw UsageError{"ページ " + std::to_string(request.fromPage) + " はありません（全 " + std::to_string(maxPage) +
                             " ページ）。"};
    }
    const std::vector<Card> cards =
        planCards(list.mode(), list.size(), [&](std::size_t i) { return list.combinationAt(i); }, request);
    writeCardPdf(*pdf, cardPages(cards, page, margins), page);
    std::size_t printed = 0;
    for (const Card& card : cards) printed += card.size();
    out << "印刷: " << *pdf << "（" << gameName(list.mode()) << "、"
        << FormatJapaneseCount(static_cast<std::int64_t>(printed)) << " 口、" << cards.size() << " ページ）\n";
    return 0;
}

const CommandRegistrar registrar{Command{
    "print",
    "組み合わせを申込カードの形で PDF ファイルに書き出します",
    "使い方: tambor-cli print FILE --pdf OUT [--pages F-T] [--margins H,V] [--game mini|loto6]\n"
    "       tambor-cli print --test --pdf OUT [--margins H,V]\n"
    "FILE をプログラムの「読み込み」と同じように読み込み、申込カード 1 枚を 1 ページとして\n"
    "5 口ずつ OUT に書き出します。ページはカードそのもので、はがき（100 × 148 mm）の大きさです。\n"
    "ページには塗りつぶす黒いマークだけが描かれます。実寸（拡大縮小なし）で印刷してください。\n"
    "  --pages F-T        F ページから T ページまで（最後のページを含めるとリストの最後まで）\n"
    "  --margins H,V      水平・垂直マージン（mm、既定: 0,0）。マークは左と上にずれます\n"
    "  --game mini|loto6  見出しのないファイルを読むゲーム（既定: mini = ミニロト）\n"
    "  --test             マージンを調べるための印刷テスト（枠、20 mm の正方形、全マーク）\n"
    "終了コード: 0 成功、1 組み合わせがない・ファイルを読み書きできない、2 引数の誤り\n",
    runPrint}};

}  // namespace
}  // namespace tambor::cli
