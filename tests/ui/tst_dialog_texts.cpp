// Every text Qt's own dialogs show a user of the program (the print dialog
// and its properties, the print preview, the open and save dialogs) is
// Japanese: no word in ASCII letters alone, other than file names, paper
// names and units. Qt's Japanese translation leaves some in English; the
// program's own translation fills them in.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "support/dialog_guard.h"

namespace {

// Every text the widgets of dialog show: captions, titles, list items,
// tab and column names, hints and the place holders of empty fields.
QStringList shownTexts(QWidget* dialog) {
    QStringList texts{dialog->windowTitle()};
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        texts << w->toolTip() << w->statusTip() << w->whatsThis();
        if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w)) texts << group->title();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) texts << edit->placeholderText();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i) << tabs->tabToolTip(i);
        if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                texts << header->model()->headerData(i, header->orientation()).toString();
    }
    for (QAction* action : dialog->findChildren<QAction*>()) texts << action->text() << action->toolTip();
    texts.removeAll(QString());
    texts.removeDuplicates();
    return texts;
}

// The words of text in ASCII letters alone that are not allowed: a path or a
// file pattern, a paper's name and a unit are names, not words to translate,
// and "OK" is the Japanese button's own caption.
QStringList englishWords(const QString& text, const QSet<QString>& paperNames) {
    static const QSet<QString> allowed{QStringLiteral("mm"), QStringLiteral("cm"),  QStringLiteral("in"),
                                       QStringLiteral("pt"), QStringLiteral("pc"),  QStringLiteral("DD"),
                                       QStringLiteral("CC"), QStringLiteral("PDF"), QStringLiteral("OK")};
    if (paperNames.contains(text)) return {};
    QStringList words;
    static const QRegularExpression letters(QStringLiteral("[A-Za-z]{2,}"));
    for (const QString& token : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        if (token.contains(QLatin1Char('/')) || token.contains(QLatin1Char('*'))) continue;  // a path, a pattern
        bool ascii = true;
        for (const QChar c : token) ascii = ascii && c.unicode() < 0x80;
        if (!ascii) continue;
        for (auto it = letters.globalMatch(token); it.hasNext();) {
            const QString word = it.next().captured();
            if (!allowed.contains(word)) words << word;
        }
    }
    return words;
}

QSet<QString> paperNames() {
    QSet<QString> names;
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) names << QPageSize(QPageSize::PageSizeId(id)).name();
    return names;
}

// Every offending text of dialog, with its words.
QStringList offending(QWidget* dialog) {
    const QSet<QString> papers = paperNames();
    QStringList found;
    for (const QString& text : shownTexts(dialog))
        if (const QStringList words = englishWords(text, papers); !words.isEmpty())
            found << QStringLiteral("\"%1\" (%2)").arg(text, words.join(QStringLiteral(", ")));
    return found;
}

}  // namespace

class DialogTextsTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void theWordRuleCatchesEnglish() {
        const QSet<QString> papers{QStringLiteral("A4 Extra")};
        QCOMPARE(englishWords(QStringLiteral("Double Sided Printing"), papers),
                 (QStringList{QStringLiteral("Double"), QStringLiteral("Sided"), QStringLiteral("Printing")}));
        QCOMPARE(englishWords(QStringLiteral("印刷 Pages"), papers), QStringList{QStringLiteral("Pages")});
        for (const char* fine : {"PDF ファイルに出力", "A4 Extra", "10 × 11in", "ミリメートル (mm)", "16 (4x4)",
                                 "/tmp/cards.pdf", "すべてのファイル(*)", "ページ指定"})
            QVERIFY2(englishWords(QString::fromUtf8(fine), papers).isEmpty(), fine);
    }

    void printDialogAndItsPropertiesAreJapanese() {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
        dialog.show();
        QCoreApplication::processEvents();
        QStringList found = offending(&dialog);
        // The properties dialog (paper, margins, the job's options) opens
        // modally from its button; it is read and closed from inside.
        QAbstractButton* properties = nullptr;
        for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
            if (b->text().contains(QString::fromUtf8("プロパティ"))) properties = b;
        QVERIFY(properties);
        bool read = false;
        QTimer::singleShot(0, &dialog, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* opened = qobject_cast<QDialog*>(top);
                if (!opened || opened == &dialog || !opened->isVisible()) continue;
                found << offending(opened);
                read = true;
                opened->reject();
            }
        });
        properties->setEnabled(true);
        properties->click();
        QVERIFY(read);
        dialog.reject();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void previewIsJapanese() {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog dialog(&printer);
        dialog.show();
        QCoreApplication::processEvents();
        const QStringList found = offending(&dialog);
        dialog.reject();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void fileDialogsAreJapanese_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("open") << int(QFileDialog::AcceptOpen);
        QTest::newRow("save") << int(QFileDialog::AcceptSave);
    }
    void fileDialogsAreJapanese() {
        QFETCH(int, mode);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("cards")));
        QFileDialog dialog(nullptr, QString::fromUtf8("保存"), dir.path(), QString::fromUtf8("PDF ファイル (*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptMode(mode));
        dialog.setViewMode(QFileDialog::Detail);
        dialog.show();
        QCoreApplication::processEvents();
        const QStringList found = offending(&dialog);
        dialog.reject();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
        // The type column of a folder (filled in by a thread, so asked directly).
        QCOMPARE(QFileIconProvider().type(QFileInfo(dir.filePath(QStringLiteral("cards")))),
                 QString::fromUtf8("フォルダ"));
    }
};

QTEST_MAIN(DialogTextsTest)
#include "tst_dialog_texts.moc"
