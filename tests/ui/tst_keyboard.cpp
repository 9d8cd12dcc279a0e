// The keyboard reaches everything: the menus by their letters even where a
// page's control shares one, equal mnemonics of a page in turn, and no Tab
// stop on a field nobody types in.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

void activate(TestWindow& t) {
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
}

void alt(QWidget* target, Qt::Key key) {
    QTest::keyClick(target, key, Qt::AltModifier);
    QApplication::processEvents();
}

}  // namespace

class KeyboardTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    // Alt+L drops "リンク(&L)" down although "読み込み(&L)..." is on the page;
    // Alt+L again closes it and reaches the load button.
    void menuLettersOpenTheMenusAndThenReachThePage() {
        TestWindow t;
        activate(t);
        auto* link = t.find<QMenu>("Link");
        alt(t.find<QWidget>("PickListBox"), Qt::Key_L);
        QVERIFY(link->isVisible());
        FileDialog::setNextFileName(QString());  // the load button's dialog, cancelled
        alt(link, Qt::Key_L);
        QVERIFY(!link->isVisible());
        QTRY_VERIFY(t.find<QPushButton>("LoadBitBtn")->hasFocus());
        QTest::qWait(200);  // the button's click follows its short press
        alt(t.find<QWidget>("PickListBox"), Qt::Key_F);
        QVERIFY(t.find<QMenu>("File")->isVisible());
        t.find<QMenu>("File")->close();
        alt(t.find<QWidget>("PickListBox"), Qt::Key_H);
        QVERIFY(t.find<QMenu>("Help")->isVisible());
        t.find<QMenu>("Help")->close();
    }

    // The options tab gives "(&E)" and "(&R)" to two controls each: the
    // letter takes the focus to each of them in turn.
    void equalMnemonicsOfAPageTakeTurns() {
        TestWindow t;
        t.find<QCheckBox>("RSystemCheckBox")->setChecked(true);  // the order combo is live
        t.find<QTabWidget>("PageControl")->setCurrentIndex(3);
        activate(t);
        QWidget* page = t.find<QWidget>("OptionTabSheet");
        QWidget* text = t.find<QRadioButton>("TextRadioButton");
        QWidget* esc = t.find<QCheckBox>("ESC_Action_CheckBox");
        alt(page, Qt::Key_E);
        QVERIFY(text->hasFocus() || esc->hasFocus());
        const bool textFirst = text->hasFocus();
        alt(QApplication::focusWidget(), Qt::Key_E);
        QVERIFY(textFirst ? esc->hasFocus() : text->hasFocus());
        QWidget* reciprocal = t.find<QRadioButton>("ReciprocalRadioButton");
        QWidget* order = t.find<QComboBox>("ArrangeModeComboBox");
        alt(QApplication::focusWidget(), Qt::Key_R);
        QVERIFY(reciprocal->hasFocus() || order->hasFocus());
        const bool reciprocalFirst = reciprocal->hasFocus();
        alt(QApplication::focusWidget(), Qt::Key_R);
        QVERIFY(reciprocalFirst ? order->hasFocus() : reciprocal->hasFocus());
        QVERIFY(!esc->property("checked").toBool());  // turns take the focus, they never click
    }

    // Fields that only show a value take no Tab stop.
    void readOnlyFieldsTakeNoTabStop() {
        TestWindow t;
        QStringList found;
        for (QLineEdit* edit : t.window->findChildren<QLineEdit*>())
            if (edit->isReadOnly() && (edit->focusPolicy() & Qt::TabFocus) && !edit->objectName().isEmpty())
                found << edit->objectName();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
