#include "ui/help/help_form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/common/fonts.h"
#include "ui/common/shell_open.h"
#include "ui/common/tool_window.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

const char* const kStartPage = "index.htm";

bool isHelpPage(const QUrl& url) {
    if (!url.isLocalFile() && !url.scheme().isEmpty()) return false;
    const QString path = url.path().toLower();
    return path.endsWith(QLatin1String(".htm")) || path.endsWith(QLatin1String(".html"));
}

}  // namespace

QList<HelpEntry> helpContents(const QString& indexPath) {
    QList<HelpEntry> entries{{u8("目次"), QString::fromLatin1(kStartPage)}};
    QFile file(indexPath);
    if (!file.open(QIODevice::ReadOnly)) return entries;
    const QString html = QString::fromUtf8(file.readAll());
    const qsizetype start = html.indexOf(u8("<h2>目次</h2>"));
    if (start < 0) return entries;
    qsizetype end = html.indexOf(QLatin1String("<h2"), start + 1);
    if (end < 0) end = html.size();
    static const QRegularExpression link(QStringLiteral("<a href=\"([^\"#:]+)\"[^>]*>([^<]+)</a>"));
    for (auto it = link.globalMatch(html.mid(start, end - start)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        entries.append({m.captured(2).trimmed(), m.captured(1)});
    }
    return entries;
}

THelpForm::THelpForm(SessionModel& model, QStringList places, QWidget* owner)
    : QWidget(owner, Qt::Window), places_(std::move(places)) {
    setObjectName(QStringLiteral("THelpForm"));
    setWindowTitle(u8("タンボル ヘルプ"));
    setFont(windowFont());
    resize(860, 600);
    closeWithEscape(this, model);

    auto* splitter = new QSplitter(this);
    splitter->setObjectName(QStringLiteral("HelpSplitter"));
    contentsList_ = new QListWidget(splitter);
    contentsList_->setObjectName(QStringLiteral("HelpContentsList"));
    setHint(contentsList_, "クリックすると、その項目のページを表示します。");

    auto* right = new QWidget(splitter);
    backBitBtn_ = new QPushButton(u8("← 戻る(&B)"), right);
    backBitBtn_->setObjectName(QStringLiteral("BackBitBtn"));
    setHint(backBitBtn_, "前に表示していたページに戻ります。");
    forwardBitBtn_ = new QPushButton(u8("進む(&N) →"), right);
    forwardBitBtn_->setObjectName(QStringLiteral("ForwardBitBtn"));
    setHint(forwardBitBtn_, "戻る前のページに進みます。");
    findEdit_ = new QLineEdit(right);
    findEdit_->setObjectName(QStringLiteral("FindEdit"));
    findEdit_->setPlaceholderText(u8("ページ内を検索"));
    setHint(findEdit_, "このページで探す言葉を入力して下さい。");
    findBitBtn_ = new QPushButton(u8("次を検索(&F)"), right);
    findBitBtn_->setObjectName(QStringLiteral("FindBitBtn"));
    setHint(findBitBtn_, "入力した言葉をこのページで探します。");
    findLabel_ = new QLabel(right);
    findLabel_->setObjectName(QStringLiteral("FindLabel"));
    findLabel_->setMinimumWidth(findLabel_->fontMetrics().horizontalAdvance(u8("先頭に戻りました")) + 4);
    browser_ = new QTextBrowser(right);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(false);
    setHint(browser_, "ヘルプのページです。リンクをクリックすると、そのページを表示します。");

    auto* bar = new QHBoxLayout;
    bar->addWidget(backBitBtn_);
    bar->addWidget(forwardBitBtn_);
    bar->addSpacing(12);
    bar->addWidget(findEdit_, 1);
    bar->addWidget(findBitBtn_);
    bar->addWidget(findLabel_);
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(bar);
    column->addWidget(browser_, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 660});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    backBitBtn_->setEnabled(false);
    forwardBitBtn_->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, backBitBtn_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardBitBtn_, &QWidget::setEnabled);
    connect(backBitBtn_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardBitBtn_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpForm::BrowserAnchorClick);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpForm::BrowserSourceChange);
    connect(contentsList_, &QListWidget::itemClicked, this, &THelpForm::ContentsListClick);
    connect(contentsList_, &QListWidget::itemActivated, this, &THelpForm::ContentsListClick);
    connect(findBitBtn_, &QPushButton::clicked, this, &THelpForm::FindClick);
    connect(findEdit_, &QLineEdit::returnPressed, this, &THelpForm::FindClick);
    connect(findEdit_, &QLineEdit::textChanged, findLabel_, &QLabel::clear);

    for (const QString& place : places_) {
        if (!QFileInfo::exists(place)) continue;
        folder_ = QFileInfo(place).absolutePath();
        entries_ = helpContents(place);
        break;
    }
    for (const HelpEntry& entry : entries_) contentsList_->addItem(entry.caption);
    if (folder_.isEmpty()) showMissing();
}

void THelpForm::showMissing() {
    QString html = u8("<h2>ヘルプが見つかりません</h2><p>次の場所を探しましたが、ヘルプのページがありませんでした。</p><ul>");
    for (const QString& place : places_) html += QStringLiteral("<li>") + QDir::toNativeSeparators(place).toHtmlEscaped();
    html += u8("</ul><p>プログラムを入れ直すと、ヘルプも入ります。</p>");
    browser_->setHtml(html);
    contentsList_->setEnabled(false);
    findEdit_->setEnabled(false);
    findBitBtn_->setEnabled(false);
}

void THelpForm::showPage(const QString& page) {
    if (!folder_.isEmpty()) {
        const QString name = page.isEmpty() ? QString::fromLatin1(kStartPage) : page;
        QString path = QDir(folder_).filePath(name.section(QLatin1Char('#'), 0, 0));
        if (!QFileInfo::exists(path)) path = QDir(folder_).filePath(QString::fromLatin1(kStartPage));
        QUrl url = QUrl::fromLocalFile(path);
        if (name.contains(QLatin1Char('#'))) url.setFragment(name.section(QLatin1Char('#'), 1));
        if (url != browser_->source()) browser_->setSource(url);
    }
    show();
    raise();
    activateWindow();
}

QUrl THelpForm::currentPage() const { return folder_.isEmpty() ? QUrl() : browser_->source(); }

void THelpForm::ContentsListClick() {
    const int row = contentsList_->currentRow();
    if (row >= 0 && row < entries_.size()) showPage(entries_.at(row).page);
}

void THelpForm::BrowserAnchorClick(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (isHelpPage(target) && target.isLocalFile() && QFileInfo::exists(target.toLocalFile())) {
        browser_->setSource(target);
        return;
    }
    // Addresses, mail and files that are not help pages: the desktop's programs.
    ShellOpen(target.isLocalFile() ? target.toLocalFile() : target.toString(), this);
}

void THelpForm::BrowserSourceChange(const QUrl& source) {
    const QString name = QFileInfo(source.toLocalFile()).fileName();
    const QSignalBlocker block(contentsList_);
    contentsList_->clearSelection();
    for (int row = 0; row < entries_.size(); ++row) {
        if (entries_.at(row).page == name) {
            contentsList_->setCurrentRow(row);
            break;
        }
    }
    findLabel_->clear();
}

void THelpForm::FindClick() {
    const QString text = findEdit_->text();
    if (text.isEmpty()) return;
    if (browser_->find(text)) {
        findLabel_->clear();
        return;
    }
    // From the top again once the end of the page is reached.
    QTextCursor top = browser_->textCursor();
    top.movePosition(QTextCursor::Start);
    browser_->setTextCursor(top);
    if (browser_->find(text)) {
        findLabel_->setText(u8("先頭に戻りました"));
        return;
    }
    findLabel_->setText(u8("見つかりません"));
}

}  // namespace tambor::ui
