#include "ui/filter/filter_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "ui/common/session_model.h"
#include "ui/common/tool_window.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"
#include "ui/filter/bar_chart.h"

namespace tambor::ui {
namespace {

constexpr int kRowTop = 10;
constexpr int kRowHeight = 46;
constexpr int kRateLeft = 496;
constexpr int kRateWidth = 300;
constexpr int kFormWidth = kRateLeft + kRateWidth + 10;

// What each condition is, for its controls' hints.
constexpr std::array<const char*, kFilterConditionCount> kConditionHints{
    "組み合わせの数字の合計を範囲で絞り込みます。",
    "組み合わせの中の奇数の個数を範囲で絞り込みます。",
    "最大の数字の半分（端数は切り上げ）以下の数字の個数を範囲で絞り込みます。",
    "続き番号（例: 12 と 13）の組の数を範囲で絞り込みます。",
    "一の位が同じ数字（例: 3 と 23）の組の数を範囲で絞り込みます。",
    "1～9、10～19、20～29、30～39、40～ のうち、ひとつの区切りに入る数字の最大個数を範囲で絞り込みます。",
    "最新回の本数字をいくつ含むかを範囲で絞り込みます（過去の回はそれぞれ1回前と比べます）。",
    "最大の数字と最小の数字の差を範囲で絞り込みます。",
};

// The object names' stem of each condition: "Sum" gives FilterSumCheckBox.
constexpr std::array<const char*, kFilterConditionCount> kNameStems{
    "Sum", "Odd", "Low", "Consecutive", "LastDigit", "Decade", "Previous", "Spread"};

QString controlName(int condition, const char* kind) {
    return QStringLiteral("Filter") + QLatin1String(kNameStems[static_cast<std::size_t>(condition)]) +
           QLatin1String(kind);
}

QString rateText(int passing, int draws) { return QString::fromStdString(passRateLine(passing, draws)); }

}  // namespace

TFilterForm::TFilterForm(SessionModel& model, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(QStringLiteral("TFilterForm"));
    setWindowTitle(u8("絞り込み条件"));
    setHint(this, "絞り込み条件画面");

    makeLabel(this, "抽選と組み合わせで一覧に加える組み合わせの条件です（チェックした条件をすべて満たすもの）。", 12, 0,
              kFormWidth - 24, 20);
    for (int c = 0; c < kFilterConditionCount; ++c) {
        Row& row = rows_[static_cast<std::size_t>(c)];
        const int y = kRowTop + 16 + c * kRowHeight;
        const char* hint = kConditionHints[static_cast<std::size_t>(c)];
        row.check = new QCheckBox(u8(filterConditionLabel(filterConditionAt(c))), this);
        row.check->setObjectName(controlName(c, "CheckBox"));
        row.check->setGeometry(12, y + 10, 170, 22);
        setHint(row.check, hint);
        row.min = new QSpinBox(this);
        row.min->setObjectName(controlName(c, "MinSpinBox"));
        row.min->setGeometry(186, y + 9, 60, 24);
        setHint(row.min, "範囲の下限（この値を含みます）です。");
        makeLabel(this, "～", 250, y + 12, 16, 18);
        row.max = new QSpinBox(this);
        row.max->setObjectName(controlName(c, "MaxSpinBox"));
        row.max->setGeometry(268, y + 9, 60, 24);
        setHint(row.max, "範囲の上限（この値を含みます）です。");
        row.histogram = new BarChart(this);
        row.histogram->setObjectName(controlName(c, "Histogram"));
        row.histogram->setGeometry(338, y + 2, 150, kRowHeight - 6);
        setHint(row.histogram, "過去の当選番号でのこの値の分布です。色の付いた部分が選んだ範囲です。");
        row.rate = makeLabel(this, "", kRateLeft, y + 2, kRateWidth, kRowHeight - 6);
        row.rate->setObjectName(controlName(c, "RateLabel"));
        row.rate->setWordWrap(true);
        setHint(row.rate, "選んだ範囲に入る過去の当選番号の割合です。");
        connect(row.check, &QCheckBox::toggled, this, [this, c] { ConditionChange(c, RangeEnd::None); });
        connect(row.min, &QSpinBox::valueChanged, this, [this, c] { ConditionChange(c, RangeEnd::Min); });
        connect(row.max, &QSpinBox::valueChanged, this, [this, c] { ConditionChange(c, RangeEnd::Max); });
    }
    const int bottom = kRowTop + 16 + kFilterConditionCount * kRowHeight + 6;
    QLabel* allLabel = makeLabel(this, "チェックした条件すべて:", 12, bottom + 2, 170, 20);
    QFont bold = allLabel->font();
    bold.setBold(true);
    allLabel->setFont(bold);
    allRateLabel_ = makeLabel(this, "", 186, bottom + 2, kFormWidth - 198, 20);
    allRateLabel_->setObjectName(QStringLiteral("FilterAllRateLabel"));
    allRateLabel_->setFont(bold);
    setHint(allRateLabel_, "チェックした条件をすべて満たす過去の当選番号の割合です。");
    rSystemLabel_ = makeLabel(this, "", 12, bottom + 26, kFormWidth - 24, 20);
    rSystemLabel_->setObjectName(QStringLiteral("FilterRSystemLabel"));
    setHint(rSystemLabel_, "Rシステムの保証にはすべての組み合わせが要るため、組み合わせの作成には条件を使いません。");

    narrowBitBtn_ = makeButton(this, "NarrowBitBtn", "一覧を絞り込む(&N)",
                               "登録されている組み合わせのうち、条件を満たさないものを一覧から取り除きます。", 12,
                               bottom + 52, 150, 26);
    closeBitBtn_ = makeButton(this, "FilterCloseBitBtn", "閉じる", "この画面を閉じます。", kFormWidth - 92, bottom + 52,
                              80, 26);
    connect(narrowBitBtn_, &QPushButton::clicked, this, &TFilterForm::NarrowBitBtnClick);
    connect(closeBitBtn_, &QPushButton::clicked, this, &QWidget::close);
    setFixedSize(kFormWidth, bottom + 88);
    closeWithEscape(this, model_);

    connect(&model_, &SessionModel::changed, this, &TFilterForm::refresh);
    rebuildHistory();
    showSettings();
    showRates();
}

void TFilterForm::showForm() {
    show();
    raise();
    activateWindow();
}

void TFilterForm::refresh(const Changes& changes) {
    if (changes.has(Change::Game) || changes.has(Change::History)) rebuildHistory();
    if (changes.has(Change::Game) || changes.has(Change::History) || changes.has(Change::Options) ||
        changes.has(Change::Board)) {
        showSettings();
        showRates();
    }
}

void TFilterForm::rebuildHistory() {
    const Session& session = model_.session();
    history_ = session.filterHistory();
    for (int c = 0; c < kFilterConditionCount; ++c) {
        Row& row = rows_[static_cast<std::size_t>(c)];
        const FilterBounds bounds = filterBounds(session.mode(), filterConditionAt(c));
        const QSignalBlocker blockMin(row.min), blockMax(row.max);
        row.min->setRange(bounds.min, bounds.max);
        row.max->setRange(bounds.min, bounds.max);
        row.histogram->setCounts(history_.histogram(filterConditionAt(c)), bounds.min);
    }
}

void TFilterForm::showSettings() {
    const FilterSettings settings = model_.session().filterSettings();
    for (int c = 0; c < kFilterConditionCount; ++c) {
        Row& row = rows_[static_cast<std::size_t>(c)];
        const FilterRange& r = settings.ranges[static_cast<std::size_t>(c)];
        const QSignalBlocker blockCheck(row.check), blockMin(row.min), blockMax(row.max);
        row.check->setChecked(r.enabled);
        row.min->setValue(r.min);
        row.max->setValue(r.max);
    }
    const bool rSystem = model_.session().board().rSystem();
    rSystemLabel_->setText(rSystem && settings.anyEnabled()
                               ? u8("Rシステムを使用中のため、「組み合わせ」には条件を使いません（抽選と絞り込みには使います）。")
                               : QString());
}

void TFilterForm::showRates() {
    const FilterSettings settings = model_.session().filterSettings();
    const FilterPassRates rates = history_.passRates(settings);
    for (int c = 0; c < kFilterConditionCount; ++c) {
        Row& row = rows_[static_cast<std::size_t>(c)];
        const FilterRange& r = settings.ranges[static_cast<std::size_t>(c)];
        row.histogram->setRange(r.min, r.max);
        row.rate->setText(rateText(rates.passing[static_cast<std::size_t>(c)], rates.draws));
        // An unchecked condition shows what it would keep, greyed.
        row.rate->setEnabled(r.enabled);
    }
    allRateLabel_->setText(settings.anyEnabled() ? rateText(rates.all, rates.draws) : u8("（条件が選ばれていません）"));
}

void TFilterForm::ConditionChange(int condition, RangeEnd changed) {
    Row& row = rows_[static_cast<std::size_t>(condition)];
    // The other end follows when a range would turn over.
    if (row.min->value() > row.max->value()) {
        QSpinBox* other = changed == RangeEnd::Min ? row.max : row.min;
        const QSignalBlocker block(other);
        other->setValue(changed == RangeEnd::Min ? row.min->value() : row.max->value());
    }
    FilterSettings settings = model_.session().filterSettings();
    // Moving a range switches its condition on: that is what it is for.
    if (changed != RangeEnd::None && !row.check->isChecked()) {
        const QSignalBlocker block(row.check);
        row.check->setChecked(true);
    }
    settings.ranges[static_cast<std::size_t>(condition)] = {row.check->isChecked(), row.min->value(), row.max->value()};
    model_.run([&](Session& s) { return s.setFilterSettings(settings); });
}

void TFilterForm::NarrowBitBtnClick() {
    if (model_.refuseListChange()) return;
    LongOperation op(model_.waitForm(), true);
    if (!op.started()) return;
    model_.run([&](Session& s) { return s.narrowList(op.progress()); });
}

}  // namespace tambor::ui
