#include "ui/history/history_importer.h"

#include <QWidget>

#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {

HistoryImporter::HistoryImporter(SessionModel& model, QWidget* window)
    : QObject(window), model_(model), window_(window) {
    setObjectName(QStringLiteral("HistoryImporter"));
}

void HistoryImporter::ImportClick(QWidget* dialogParent) {
    if (model_.refuseWhenBusy()) return;
    QWidget* parent = dialogParent ? dialogParent : window_;
    const QStringList paths = FileDialog::getOpenFileNames(
        parent, u8("当選番号の取り込み"), u8("抽せん結果ファイル (*.csv *.CSV *.txt);;すべてのファイル (*)"));
    if (!paths.isEmpty()) importFiles(paths, parent);
}

void HistoryImporter::importFiles(const QStringList& paths, QWidget* dialogParent) {
    if (paths.isEmpty() || model_.refuseWhenBusy()) return;
    std::vector<std::filesystem::path> files;
    files.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) files.emplace_back(path.toStdString());
    ImportOutcome outcome;
    const Changes changes = model_.session().importResultFiles(files, outcome);
    model_.apply(changes);
    QWidget* parent = dialogParent ? dialogParent : window_;
    if (outcome.problems.empty()) {
        MessageBox::information(parent, QString::fromStdString(outcome.summary()));
    } else {
        QString text;
        for (const std::string& problem : outcome.problems) text += QString::fromStdString(problem) + u8("\n");
        if (outcome.addedDraws > 0) text += u8("\n") + QString::fromStdString(outcome.summary());
        MessageBox::warning(parent, text.trimmed());
    }
    if (outcome.written) emit historyImported();
}

}  // namespace tambor::ui
