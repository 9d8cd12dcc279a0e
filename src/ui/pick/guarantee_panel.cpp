#include "ui/pick/guarantee_panel.h"

#include "ui/pick/pick_layout.h"

#include <QLabel>
#include <QPushButton>

#include "core/japanese_count.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

QString count(std::int64_t value) { return QString::fromStdString(FormatJapaneseCount(value)); }

// The check's result for the message box.
QString checkMessage(const GuaranteeCheck& check, GameMode mode, std::size_t listSize) {
    QString text = u8("候補の数字 %1 個の組み合わせ %2 通り").arg(check.candidates).arg(count(check.combinations));
    if (check.uncovered == 0) {
        text += u8("は、すべて登録されている組み合わせのどれかと1つ違い以内です（保証あり）。");
    } else {
        text += u8("のうち %1 通りは、登録されているどの組み合わせとも2つ以上違います（保証なし）。")
                    .arg(count(check.uncovered));
        text += u8("\n\n保証されない組み合わせ:");
        for (CombinationIndex index : check.uncoveredSample)
            text += QLatin1Char('\n') + QString::fromStdString(FormatCombinationLine(UnrankCombination(mode, index)));
        if (check.uncovered > static_cast<std::int64_t>(check.uncoveredSample.size())) text += u8("\n…");
    }
    text += u8("\n\n登録口数 %1 口、保証に必要な口数の下限 %2 口")
                .arg(count(static_cast<std::int64_t>(listSize)))
                .arg(count(check.lowerBound));
    return text;
}

}  // namespace

GuaranteePanel::GuaranteePanel(SessionModel& model, QWidget* page) : QObject(page), model_(model), page_(page) {
    using namespace pick_layout;
    guaranteeBitBtn_ = makeButton(page, "GuaranteeBitBtn", "保証を検証(&G)",
                                  "右側のボタンで選択されている数字のすべての組み合わせが、登録されている組み合わせの"
                                  "どれかと1つ違い以内に入っているかを調べます。",
                                  kCommandSecond, 160, kCommandWidth, 26);
    // Two lines: the count, then the bound in its brackets.
    rSystemResultLabel_ = makeLabel(page, "", kCommandLeft, 220, kCommandSecond + kCommandWidth - kCommandLeft, 36);
    rSystemResultLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    rSystemResultLabel_->setObjectName(QStringLiteral("RSystemResultLabel"));
    setHint(rSystemResultLabel_, "Rシステムで残した組み合わせの数と、同じ保証に最低限必要な組数（下限）、"
                                 "または絞り込み条件で除外した組み合わせの数を表示します。");
    connect(guaranteeBitBtn_, &QPushButton::clicked, this, &GuaranteePanel::GuaranteeBitBtnClick);
    connect(&model_, &SessionModel::changed, this, &GuaranteePanel::refresh);
    refresh(Changes::everything());
}

void GuaranteePanel::GuaranteeBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    const Session& session = model_.session();
    const NumberBoard& board = session.board();
    const int pick = session.rules().pickCount;
    if (board.count(Axis) + board.count(Together) < pick) {
        MessageBox::warning(page_, u8("軸数字と連動数字を合わせて %1 個以上選んでください。").arg(pick));
        return;
    }
    GuaranteeCheck check;
    {
        LongOperation op(model_.waitForm(), true);
        if (!op.started()) return;
        check = session.checkGuarantee(op.progress());
    }
    if (!check.completed) return;  // stopped with Esc
    MessageBox::information(page_, checkMessage(check, session.mode(), session.list().size()));
}

void GuaranteePanel::refresh(const Changes& changes) {
    if (!changes.has(Change::List)) return;
    const Session& session = model_.session();
    QString line = QString::fromStdString(session.rSystemResult());
    line.replace(u8("（"), u8("\n（"));
    if (line.isEmpty()) line = QString::fromStdString(session.filterResult());
    rSystemResultLabel_->setText(line);
}

}  // namespace tambor::ui
