// The fewest-tickets order on the options page, the result line after an
// R-system build and the guarantee check on the pick page.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// ロト６ with the R system on and the given order item.
void rSystemLoto6(TestWindow& t, int orderItem) {
    QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
    t.find<QCheckBox>("RSystemCheckBox")->click();
    t.find<QComboBox>("ArrangeModeComboBox")->setCurrentIndex(orderItem);
}

// The label shows the line in two lines, broken before the bracket.
QString resultLine(const TestWindow& t) {
    return t.find<QLabel>("RSystemResultLabel")->text().remove(QLatin1Char('\n'));
}

QString checkAnswer(const TestWindow& t) {
    MessageBox::clearShownTexts();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    QTest::mouseClick(t.find<QPushButton>("GuaranteeBitBtn"), Qt::LeftButton);
    const QStringList shown = MessageBox::shownTexts();
    return shown.isEmpty() ? QString() : shown.last();
}

}  // namespace

class GuaranteeTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void fewestOrderIsTheFourthChoice() {
        TestWindow t;
        auto* combo = t.find<QComboBox>("ArrangeModeComboBox");
        QCOMPARE(combo->count(), 4);
        QCOMPARE(combo->itemText(3), QString::fromUtf8("口数優先（少ない組数）"));
        QVERIFY(!combo->isEnabled());
        rSystemLoto6(t, 3);
        QVERIFY(combo->isEnabled());
        QCOMPARE(t.session().options().arrangeMode, ArrangeMode::Fewest);
    }

    void fewestBuildShowsItsCountAndBound() {
        TestWindow t;
        rSystemLoto6(t, 3);
        for (int n = 1; n <= 10; ++n) t.clickNumber(n);
        QCOMPARE(t.text("CombiMemo"), QStringLiteral("15"));  // the ascending order would keep 18
        QCOMPARE(resultLine(t), QString());
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 15u);
        QCOMPARE(resultLine(t), QString::fromUtf8("15 組（下限 9 組）"));
        QCOMPARE(t.text("PickMemo"), QStringLiteral("15"));

        QVERIFY(checkAnswer(t).contains(QString::fromUtf8("（保証あり）")));
        // Without the first ticket some combinations are out of reach.
        t.model().run([](Session& s) {
            std::string text;
            return s.cut(ListBoxKind::Pick, {0}, text);
        });
        const GuaranteeCheck expected = t.session().checkGuarantee();
        QVERIFY(expected.uncovered > 0);
        const QString answer = checkAnswer(t);
        QVERIFY(answer.contains(QString::fromUtf8("（保証なし）")));
        QVERIFY(answer.contains(QString::fromUtf8("のうち %1 通りは").arg(expected.uncovered)));
        QVERIFY(answer.contains(QString::fromStdString(
            FormatCombinationLine(UnrankCombination(GameMode::Loto6, expected.uncoveredSample.front())))));

        QTest::mouseClick(t.find<QPushButton>("ClearBitBtn"), Qt::LeftButton);
        QCOMPARE(resultLine(t), QString());
    }

    void ascendingBuildShowsItsCountTooAndPlainBuildNone() {
        TestWindow t;
        rSystemLoto6(t, 1);
        for (int n = 1; n <= 10; ++n) t.clickNumber(n);
        QCOMPARE(t.text("CombiMemo"), QStringLiteral("18"));
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(resultLine(t), QString::fromUtf8("18 組（下限 9 組）"));
        t.find<QCheckBox>("RSystemCheckBox")->click();
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(resultLine(t), QString());
    }

    // Esc on the wait window stops the build; the list stays as it was.
    void escStopsAFewestBuild() {
        TestWindow t;
        rSystemLoto6(t, 3);
        for (int n = 1; n <= 30; ++n) t.clickNumber(n);
        TWaitForm* wait = &t.window->waitForm();
        QTimer::singleShot(0, wait, [wait] { QTest::keyClick(wait, Qt::Key_Escape); });
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QVERIFY(t.session().list().empty());
        QCOMPARE(resultLine(t), QString());
        QVERIFY(!wait->busy());
    }

    void checkNeedsEnoughNumbers() {
        TestWindow t;
        for (int n = 1; n <= 4; ++n) t.clickNumber(n);
        QCOMPARE(checkAnswer(t), QString::fromUtf8("軸数字と連動数字を合わせて 5 個以上選んでください。"));
    }
};

QTEST_MAIN(GuaranteeTest)
#include "tst_guarantee.moc"
