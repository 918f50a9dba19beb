#include "InternetPanel.h"
#include "common/DateTexts.h"

#include "app/AppPaths.h"
#include "app/BackupStore.h"
#include "app/Session.h"
#include "BackupActions.h"
#include "common/Dialogs.h"
#include "InfoPageHtml.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "RestoreBackupDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

struct EntryInfo
{
    const char *key;
    const char *english;
};

// The list's entries, in the order of InternetPanel::Entry.
const EntryInfo kEntries[] = {
    {"InetManualLabel", "User manual"},
    {"InetHelpLabel", "Help"},
    {"InetClientLabel", "My data"},
    {"InetUpdateLabel", "About and updates"},
};

QString t(const char *key, const char *english)
{
    return LanguageApplier::instance().text(QLatin1String(key), QString::fromUtf8(english));
}

// A message looked up when it is shown, with its English text while the files lack it.
QString message(const char *key, const char *english)
{
    const QString text = Localization::Translate(QLatin1String(key));
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

} // namespace

InternetPanel::InternetPanel(DataModule *data, Session *session, QWidget *parent)
    : WorkPage(QStringLiteral("InternetPanel"), parent)
    , m_data(data)
    , m_session(session)
{
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);

    buildList();
    columns->addWidget(m_list);

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("InetBrowser"));
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->setOpenLinks(true);
    // Anchors and other help pages open here; web addresses in the system browser.
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(18);
    m_browser->setStyleSheet(QStringLiteral("QTextBrowser { background: white; }"));
    right->addWidget(m_browser, 1);

    m_backupBar = new QFrame(this);
    m_backupBar->setObjectName(QStringLiteral("BackupBar"));
    m_backupBar->setStyleSheet(
        QStringLiteral("#BackupBar { background: #eef3f8; border-top: 1px solid #c9d5e1; }"));
    auto *bar = new QHBoxLayout(m_backupBar);
    bar->setContentsMargins(18, 10, 18, 10);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_lastBackup = new QLabel(m_backupBar);
    m_lastBackup->setObjectName(QStringLiteral("LastBackupLabel"));
    m_lastBackup->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lastBackup->setWordWrap(true);
    m_status = new QLabel(m_backupBar);
    m_status->setObjectName(QStringLiteral("BackupStatus"));
    m_status->setStyleSheet(QStringLiteral("color: #5b6773;"));
    texts->addWidget(m_lastBackup);
    texts->addWidget(m_status);
    bar->addLayout(texts, 1);
    m_backupButton = new QPushButton(m_backupBar);
    m_backupButton->setObjectName(QStringLiteral("BackupButton"));
    m_backupButton->setAutoDefault(false);
    m_backupButton->setMinimumHeight(30);
    m_backupButton->setStyleSheet(QStringLiteral("QPushButton { padding: 4px 18px; }"));
    bar->addWidget(m_backupButton, 0, Qt::AlignVCenter);
    m_restoreButton = new QPushButton(m_backupBar);
    m_restoreButton->setObjectName(QStringLiteral("RestoreBackupButton"));
    m_folderButton = new QPushButton(m_backupBar);
    m_folderButton->setObjectName(QStringLiteral("BackupFolderButton"));
    for (QPushButton *button : {m_restoreButton, m_folderButton}) {
        button->setAutoDefault(false);
        button->setMinimumHeight(30);
        bar->addWidget(button, 0, Qt::AlignVCenter);
    }
    right->addWidget(m_backupBar);
    columns->addLayout(right, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { showCurrent(); });
    connect(m_backupButton, &QPushButton::clicked, this, &InternetPanel::backUp);
    connect(m_restoreButton, &QPushButton::clicked, this, &InternetPanel::restoreBackup);
    connect(m_folderButton, &QPushButton::clicked, this, [this] {
        BackupActions::chooseFolder(this);
        showLastBackup();
    });
    // The manual of a newly chosen language, and the written pages in its words.
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this, [this] {
        if (isVisible())
            showCurrent();
    });

    bindTexts();
    m_list->setCurrentRow(Manual);
}

void InternetPanel::buildList()
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("InetList"));
    m_list->setFixedWidth(220);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setWordWrap(true);
    // An item rule without border and background would ignore its padding.
    m_list->setStyleSheet(QStringLiteral(
        "QListWidget { background: #e8eef4; border-right: 1px solid #c9d5e1; padding-top: 8px;"
        " outline: 0; }"
        "QListWidget::item { padding: 9px 12px; color: #24323f; border: none;"
        " background: transparent; }"
        "QListWidget::item:hover { background: #d9e4ee; }"
        "QListWidget::item:selected { background: #2b5d8a; color: white; }"));
    for (const EntryInfo &entry : kEntries) {
        auto *item = new QListWidgetItem(QString::fromUtf8(entry.english), m_list);
        item->setData(Qt::UserRole, QLatin1String(entry.key));
    }
}

void InternetPanel::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        applier.bindWithFallback(m_list, QLatin1String(kEntries[i].key),
                                 QString::fromUtf8(kEntries[i].english),
                                 [item](const QString &text) { item->setText(text); });
    }
    applier.bindWithFallback(m_backupButton, QStringLiteral("InetBackupButton"),
                             QStringLiteral("Back up now"),
                             [this](const QString &text) { m_backupButton->setText(text); });
    applier.bindWithFallback(m_restoreButton, QStringLiteral("InetRestoreButton"),
                             QStringLiteral("Restore a backup..."),
                             [this](const QString &text) { m_restoreButton->setText(text); });
    applier.bindWithFallback(m_folderButton, QStringLiteral("InetBackupFolderButton"),
                             QStringLiteral("Backup folder..."),
                             [this](const QString &text) { m_folderButton->setText(text); });
    applier.bind(m_lastBackup, QStringLiteral("InetLastBackup"),
                 [this](const QString &) { showLastBackup(); });
}

void InternetPanel::enter()
{
    showEntry(Manual);
    m_list->setFocus();
}

void InternetPanel::showEntry(Entry entry)
{
    if (m_list->currentRow() == entry)
        showCurrent();
    else
        m_list->setCurrentRow(entry);
}

InternetPanel::Entry InternetPanel::currentEntry() const
{
    const int row = m_list->currentRow();
    return row >= Manual && row <= About ? Entry(row) : Manual;
}

QString InternetPanel::helpFile(const QString &language, const QString &name)
{
    // A language name that could lead out of the help folder is not used as a folder.
    const bool usable = !language.isEmpty() && !language.contains(QLatin1Char('/'))
                        && !language.contains(QLatin1Char('\\'))
                        && !language.startsWith(QLatin1Char('.'));
    if (usable) {
        const QString own = AppPaths::installFile(QStringLiteral("Help/%1/%2").arg(language, name));
        if (QFileInfo(own).isFile())
            return own;
    }
    return AppPaths::installFile(QStringLiteral("Help/English/") + name);
}

void InternetPanel::showCurrent()
{
    const Entry entry = currentEntry();
    m_backupBar->setVisible(entry == MyData);
    switch (entry) {
    case Manual:
        showHelpFile(QStringLiteral("manual.html"));
        break;
    case Help:
        showHelpFile(QStringLiteral("help.html"));
        break;
    case MyData:
        m_browser->setHtml(InfoPageHtml::myData(m_data));
        showLastBackup();
        break;
    case About:
        m_browser->setHtml(InfoPageHtml::about(m_data));
        break;
    }
}

void InternetPanel::showHelpFile(const QString &name)
{
    const QString file = helpFile(Localization::currentLanguage(), name);
    if (!QFileInfo(file).isFile()) {
        m_browser->setHtml(InfoPageHtml::missing(file));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(file);
    // Read anew each time, so the page opens at its top and shows a file changed meanwhile.
    const bool same = m_browser->source().adjusted(QUrl::RemoveFragment) == url;
    m_browser->setSource(url);
    if (same)
        m_browser->reload();
    m_browser->clearHistory();
    m_browser->verticalScrollBar()->setValue(0);
}

void InternetPanel::showLastBackup()
{
    const BackupStore::Entry last = BackupStore::lastVerified();
    const QString folder = t("InetBackupFolder", "Backups are kept in %1.")
                               .arg(QDir::toNativeSeparators(BackupStore::folder()));
    if (!last.time.isValid()) {
        m_lastBackup->setText(t("InetNoBackup", "No backup made yet.") + QLatin1Char(' ') + folder);
        return;
    }
    m_lastBackup->setText(
        t("InetLastVerifiedBackup", "Last verified backup: %1 (%2 clients, %3 tests).")
            .arg(DateTexts::dateTime(last.time))
            .arg(last.counts.clients)
            .arg(last.counts.tests)
        + QLatin1Char(' ') + folder);
}

void InternetPanel::backUp()
{
    const QString client = m_session ? m_session->currentClient() : QString();
    m_backupButton->setEnabled(false);
    const bool made = BackupActions::backUp(this, m_data);
    // Where gbak is missing the base is closed for the copy; the practitioner's client comes
    // back afterwards.
    if (m_session && !client.isEmpty() && m_session->currentClient() != client)
        m_session->setCurrentClient(client);
    m_backupButton->setEnabled(true);
    showCurrent();
    if (made)
        Dialogs::message(this,
                         message("InetBackupDone", "The backup was made in the folder %1.")
                             .arg(QDir::toNativeSeparators(BackupStore::lastVerified().folder)));
}

void InternetPanel::restoreBackup()
{
    RestoreBackupDialog dialog(m_data, m_session, this);
    dialog.exec();
    showCurrent();
}
