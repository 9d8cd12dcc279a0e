#include "ui/history/draw_entry_dialog.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "core/whole_number.h"
#include "ui/common/edit_conventions.h"
#include "ui/common/session_model.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

QDate toQDate(const DrawDate& date) {
    return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                 static_cast<int>(static_cast<unsigned>(date.day())));
}

DrawDate fromQDate(const QDate& date) {
    return DrawDate{std::chrono::year{date.year()}, std::chrono::month{static_cast<unsigned>(date.month())},
                    std::chrono::day{static_cast<unsigned>(date.day())}};
}

QLineEdit* numberEdit(QWidget* parent, const QString& name, const char* hint) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(2);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    setHint(edit, hint);
    applyEditConventions(edit, EditKind::Numeric);
    return edit;
}

void setNumbers(const std::vector<QLineEdit*>& edits, const std::vector<int>& numbers) {
    for (std::size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(i < numbers.size() ? QString::number(numbers[i]) : QString());
}

}  // namespace

TDrawEntryDialog::TDrawEntryDialog(SessionModel& model, Purpose purpose, QWidget* parent)
    : QDialog(parent),
      model_(model),
      purpose_(purpose),
      mode_(model.session().mode()),
      round_(model.session().history().drawCount() + (purpose == Purpose::Add ? 1 : 0)) {
    setObjectName(QStringLiteral("TDrawEntryDialog"));
    // The main window waits while the draw is entered.
    setWindowModality(Qt::ApplicationModal);
    const bool adding = purpose == Purpose::Add;
    setWindowTitle(u8(adding ? "当選番号の追加" : "最新の回の修正"));
    const Session& session = model_.session();
    const GameMode mode = session.mode();
    const std::optional<HistoryDraw> newest = session.newestDraw();
    const int round = round_;

    auto* grid = new QGridLayout;
    auto* roundLabel = new QLabel(QString::fromStdString(std::string(gameName(mode)) + " " + roundText(round)), this);
    roundLabel->setObjectName(QStringLiteral("RoundLabel"));
    grid->addWidget(new QLabel(u8("回:"), this), 0, 0);
    grid->addWidget(roundLabel, 0, 1);

    dateEdit_ = new QDateEdit(this);
    dateEdit_->setObjectName(QStringLiteral("DateEdit"));
    dateEdit_->setCalendarPopup(true);
    dateEdit_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    setHint(dateEdit_, "抽せん日を指定します。");
    const DrawDate proposed = adding || !newest || !newest->date ? session.proposedDrawDate() : *newest->date;
    dateEdit_->setDate(toQDate(proposed));
    auto* dateLabel = new QLabel(u8("抽せん日(&T):"), this);
    dateLabel->setBuddy(dateEdit_);
    grid->addWidget(dateLabel, 1, 0);
    grid->addWidget(dateEdit_, 1, 1, Qt::AlignLeft);

    const GameRules rules = rulesFor(mode);
    auto* mainRow = new QHBoxLayout;
    for (int i = 0; i < rules.pickCount; ++i) {
        mainEdits_.push_back(numberEdit(this, QStringLiteral("MainNumber%1Edit").arg(i + 1), "本数字を入力します。"));
        mainRow->addWidget(mainEdits_.back());
    }
    mainRow->addStretch();
    auto* mainLabel = new QLabel(u8("本数字(&N):"), this);
    mainLabel->setBuddy(mainEdits_.front());
    grid->addWidget(mainLabel, 2, 0);
    grid->addLayout(mainRow, 2, 1);

    auto* bonusRow = new QHBoxLayout;
    for (int i = 0; i < bonusCount(mode); ++i) {
        bonusEdits_.push_back(
            numberEdit(this, QStringLiteral("BonusNumber%1Edit").arg(i + 1), "ボーナス数字を入力します。"));
        bonusRow->addWidget(bonusEdits_.back());
    }
    auto* fromBoard = new QPushButton(u8("盤面の当選数字を使う(&B)"), this);
    fromBoard->setObjectName(QStringLiteral("FromBoardBitBtn"));
    fromBoard->setAutoDefault(false);
    setHint(fromBoard, "数字盤で本数字・ボーナスに指定した数字を入力します。");
    bonusRow->addStretch();
    bonusRow->addWidget(fromBoard);
    auto* bonusLabel = new QLabel(u8("ボーナス数字:"), this);
    grid->addWidget(bonusLabel, 3, 0);
    grid->addLayout(bonusRow, 3, 1);

    if (!adding && newest) {
        setNumbers(mainEdits_, newest->mainNumbers);
        setNumbers(bonusEdits_, newest->bonusNumbers);
    }

    reasonLabel_ = new QLabel(this);
    reasonLabel_->setObjectName(QStringLiteral("ReasonLabel"));
    reasonLabel_->setWordWrap(true);
    reasonLabel_->setStyleSheet(QStringLiteral("color: #c00000;"));
    reasonLabel_->hide();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(u8(adding ? "追加(&O)" : "修正(&O)"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkBitBtn"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(u8("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    connect(ok, &QPushButton::clicked, this, &TDrawEntryDialog::OkBitBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(fromBoard, &QPushButton::clicked, this, &TDrawEntryDialog::FromBoardBitBtnClick);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(reasonLabel_);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
    mainEdits_.front()->setFocus();
}

void TDrawEntryDialog::showReason(const QString& reason) {
    reasonLabel_->setText(reason);
    reasonLabel_->show();
    setFixedSize(sizeHint().expandedTo(size()));
}

void TDrawEntryDialog::FromBoardBitBtnClick() {
    const Session& session = model_.session();
    std::vector<int> mains;
    std::vector<int> bonus;
    for (int n = 1; n <= session.rules().maxNumber; ++n) {
        if (session.board().has(n, Main)) mains.push_back(n);
        if (session.board().has(n, Bonus)) bonus.push_back(n);
    }
    if (mains.size() != mainEdits_.size() || bonus.size() != bonusEdits_.size()) {
        showReason(u8("数字盤で本数字を %1 個、ボーナスを %2 個指定してください（いまは本数字 %3 個、ボーナス %4 個）。")
                       .arg(mainEdits_.size())
                       .arg(bonusEdits_.size())
                       .arg(mains.size())
                       .arg(bonus.size()));
        return;
    }
    setNumbers(mainEdits_, mains);
    setNumbers(bonusEdits_, bonus);
    reasonLabel_->hide();
}

void TDrawEntryDialog::OkBitBtnClick() {
    DrawEntry entry{fromQDate(dateEdit_->date()), {}, {}};
    for (auto [edits, numbers, what] : {std::tuple{&mainEdits_, &entry.mainNumbers, "本数字"},
                                        std::tuple{&bonusEdits_, &entry.bonusNumbers, "ボーナス数字"}}) {
        for (QLineEdit* edit : *edits) {
            const std::optional<int> value = parseWholeNumber(edit->text().toStdString());
            if (!value) {
                showReason(u8("%1をすべて入力してください。").arg(u8(what)));
                edit->setFocus();
                return;
            }
            numbers->push_back(*value);
        }
    }
    if (model_.refuseWhenBusy()) return;
    Session& session = model_.session();
    if (session.mode() != mode_ || session.history().drawCount() + (purpose_ == Purpose::Add ? 1 : 0) != round_) {
        showReason(u8("当選番号の履歴が変わりました。この画面を閉じて、もう一度開いてください。"));
        return;
    }
    const Changes changes =
        purpose_ == Purpose::Add ? session.addDraw(entry) : session.correctNewestDraw(entry);
    if (!changes.refusal().empty()) {
        showReason(QString::fromStdString(changes.refusal()));
        return;
    }
    model_.apply(changes);
    accept();
    emit drawSaved();
}

}  // namespace tambor::ui
