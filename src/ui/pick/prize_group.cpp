#include "ui/pick/prize_group.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

#include "history/history_edit.h"
#include "session/refusals.h"
#include "ui/common/edit_conventions.h"
#include "ui/common/session_model.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/common/round_field.h"
#include "ui/common/widget_helpers.h"
#include "ui/pick/pick_layout.h"

namespace tambor::ui {
namespace {

const char* const kGradeMemoHints[kMaxGrades] = {
    "１等が何本当選したかを表示します。", "２等が何本当選したかを表示します。", "３等が何本当選したかを表示します。",
    "４等が何本当選したかを表示します。", "５等が何本当選したかを表示します。", "６等が何本当選したかを表示します。"};
const char* const kGradeCaptions[kMaxGrades] = {"１等                  本", "２等                  本",
                                                "３等                  本", "４等                  本",
                                                "５等                  本", "６等                  本"};

// The grade rows' top and pitch: five rows fit the group as designed; the
// six of ロト７ close up to keep clear of the money field.
constexpr int kGradeTop = 94;
int gradePitch(int gradeCount) { return gradeCount > 5 ? 19 : 23; }

const char* const kPrizeMemoHint = "いつの当選結果を使用するかを指定します。";
// The round field sits in the gap of this caption.
const char* const kRoundCaption = "第              回";

}  // namespace

PrizeGroup::PrizeGroup(SessionModel& model, QWidget* parent) : QGroupBox(u8("当選確認"), parent), model_(model) {
    setObjectName(QStringLiteral("PrizeCheckGroupBox"));
    setGeometry(pick_layout::kPrizeLeft, 2, pick_layout::kPrizeWidth, 258);
    prizeCheckBox_ = new QCheckBox(u8(kRoundCaption), this);
    prizeCheckBox_->setObjectName(QStringLiteral("PrizeCheckBox"));
    prizeCheckBox_->setChecked(true);
    prizeCheckBox_->setGeometry(8, 18, pick_layout::kPrizeWidth - 16, 22);
    setHint(prizeCheckBox_, "既存の当選結果を使用するかどうかを指定します。");
    prizeMemo_ = new QLineEdit(u8("9999"), this);
    prizeMemo_->setObjectName(QStringLiteral("PrizeMemo"));
    prizeMemo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QFontMetrics metrics(font());
    const auto [roundLeft, roundWidth] = captionGap(metrics, prizeCheckBox_->text(), 8 + 20);
    // The round field fills the caption's gap, so four-digit rounds (the
    // full history has more than 2,000 draws) show whole; the spinner sits
    // after "回".
    prizeMemo_->setGeometry(roundLeft + 1, 18, roundWidth - 2, 22);
    setHint(prizeMemo_, kPrizeMemoHint);
    applyEditConventions(prizeMemo_, EditKind::Numeric);
    prizeUpDown_ = new UpDown(prizeMemo_, 1, 1, 1, this);
    prizeUpDown_->setObjectName(QStringLiteral("PrizeUpDown"));
    prizeUpDown_->setGeometry(8 + 20 + metrics.horizontalAdvance(prizeCheckBox_->text()) + 2, 18, 14, 22);
    setHint(prizeUpDown_, "いつの当選結果を使用するかを指定します。");
    prizeBitBtn_ = makeButton(this, "PrizeBitBtn", "当選確認(&V)", "当選確認を行います。", 8, 43,
                              pick_layout::kPrizeWidth - 16, 23);
    backtestBitBtn_ = makeButton(this, "BacktestBitBtn", "全期間で照合(&B)...",
                                 "一覧の組み合わせを過去のすべての当選結果と照合します。", 8, 67,
                                 pick_layout::kPrizeWidth - 16, 23);
    for (int g = 0; g < kMaxGrades; ++g) {
        const int y = kGradeTop + g * gradePitch(5);
        gradeLabel_[static_cast<std::size_t>(g)] = makeLabel(this, kGradeCaptions[g], 10, y + 3, pick_layout::kPrizeWidth - 20, 16);
        gradeLabel_[static_cast<std::size_t>(g)]->setObjectName(QStringLiteral("Grade%1Label").arg(g + 1));
        const auto [gapLeft, gapWidth] = captionGap(metrics, u8(kGradeCaptions[g]), 10);
        gradeMemo_[static_cast<std::size_t>(g)] = makeReadOnlyField(
            this, QStringLiteral("Grade%1Memo").arg(g + 1).toLatin1().constData(), kGradeMemoHints[g], gapLeft + 2, y,
            gapWidth - 4, 21);
    }
    makeLabel(this, "当選金額", 10, 210, 60, 16)->setObjectName(QStringLiteral("MoneyLabel"));
    // The largest sum (every ロト６ combination listed) needs the group's width.
    moneyMemo_ = makeReadOnlyField(this, "MoneyMemo", "当選金額を表示します。", 6, 227, pick_layout::kPrizeWidth - 12, 22);

    connect(prizeBitBtn_, &QPushButton::clicked, this, &PrizeGroup::PrizeBitBtnClick);
    connect(backtestBitBtn_, &QPushButton::clicked, this, &PrizeGroup::backtestWanted);
    connect(prizeCheckBox_, &QCheckBox::clicked, this, &PrizeGroup::PrizeCheckBoxClick);
    connect(prizeMemo_, &QLineEdit::textChanged, this, &PrizeGroup::PrizeMemoChange);
    connect(&model_, &SessionModel::changed, this, &PrizeGroup::refresh);
    refresh(Changes::everything());
}

// The round field fills the caption's gap; a history with more draws than
// the gap shows widens the gap by spaces, and the spinner moves after "回".
void PrizeGroup::fitRoundField(int lastRound) {
    const QFontMetrics metrics(font());
    QString caption = u8(kRoundCaption);
    const int needed = roundFieldWidth(prizeMemo_, lastRound) + 2;
    auto [left, width] = captionGap(metrics, caption, 8 + 20);
    while (width < needed) {
        caption.insert(1, QLatin1Char(' '));
        std::tie(left, width) = captionGap(metrics, caption, 8 + 20);
    }
    if (prizeCheckBox_->text() != caption) prizeCheckBox_->setText(caption);
    prizeMemo_->setGeometry(left + 1, 18, width - 2, 22);
    prizeUpDown_->setGeometry(8 + 20 + metrics.horizontalAdvance(caption) + 2, 18, 14, 22);
}

void PrizeGroup::PrizeCheckBoxClick() {
    const bool on = prizeCheckBox_->isChecked();
    const std::string text = prizeMemo_->text().toStdString();
    model_.run([&](Session& s) { return s.usePrizeRound(on, text); });
}

void PrizeGroup::PrizeMemoChange() {
    if (updatingPrizeMemo_) return;
    const std::string text = prizeMemo_->text().toStdString();
    model_.run([&](Session& s) { return s.selectPrizeRound(text); });
}

void PrizeGroup::PrizeBitBtnClick() {
    if (model_.busy()) {
        // A check while another command runs only forgets the last lines.
        if (model_.session().prizeCheckPossible()) model_.run([](Session& s) { return s.clearPrizeLines(); });
        model_.refuse(refusal::kBusy);
        return;
    }
    if (!model_.session().prizeCheckPossible()) {
        model_.refuse(QString::fromStdString(refusal::winningNumbersIncomplete(model_.session().rules().pickCount)));
        return;
    }
    LongOperation op(model_.waitForm(), true);
    model_.run([&](Session& s) { return s.runPrizeCheck(op.progress()); });
}

void PrizeGroup::refresh(const Changes& changes) {
    const Session& session = model_.session();
    if (changes.has(Change::Game)) {
        // Only the game's grades show (五等 not in ミニロト, 六等 in ロト７ only).
        const int grades = session.rules().gradeCount;
        const int pitch = gradePitch(grades);
        for (int g = 0; g < kMaxGrades; ++g) {
            QLabel* label = gradeLabel_[static_cast<std::size_t>(g)];
            QLineEdit* memo = gradeMemo_[static_cast<std::size_t>(g)];
            const int y = kGradeTop + g * pitch;
            label->move(label->x(), y + (pitch < 23 ? 1 : 3));
            memo->setGeometry(memo->x(), y, memo->width(), pitch < 23 ? 19 : 21);
            label->setVisible(g < grades);
            memo->setVisible(g < grades);
        }
    }
    if (changes.has(Change::History)) fitRoundField(session.history().drawCount());
    if (changes.has(Change::History) || changes.has(Change::PrizeRound)) {
        // The spinner holds 1 .. the newest round; the field shows the round
        // in use, and keeps what was typed when the hand marks are used.
        updatingPrizeMemo_ = true;
        prizeUpDown_->setRange(1, std::max(session.history().drawCount(), 1));
        if (const std::optional<int> round = session.prizeRound()) {
            prizeUpDown_->setPosition(*round);
            prizeCheckBox_->setChecked(true);
            // The hint names the round's date, so an old round is noticed.
            std::string hint = kPrizeMemoHint;
            std::string line;
            if (session.history().drawLine(*round, line))
                if (const std::optional<HistoryDraw> draw = readHistoryDraw(session.mode(), line, *round))
                    hint += "選択中: " + roundAndDateText(*draw);
            setHint(prizeMemo_, hint.c_str());
        } else {
            prizeCheckBox_->setChecked(false);
        }
        updatingPrizeMemo_ = false;
    }
    if (changes.has(Change::Prize)) {
        const std::optional<PrizeFigures>& figures = session.prizeFigures();
        for (int g = 0; g < kMaxGrades; ++g)
            gradeMemo_[static_cast<std::size_t>(g)]->setText(
                figures ? QString::number(figures->hits[static_cast<std::size_t>(g)]) : u8(kPrizeGradeResetText));
        moneyMemo_->setText(figures ? QString::fromStdString(figures->moneyText) : u8(kPrizeMoneyResetText));
    }
}

}  // namespace tambor::ui
