#include "RestoreBackupDialog.h"

#include "app/BackupRestore.h"
#include "app/Session.h"
#include "BackupActions.h"
#include "BackupProgress.h"
#include "common/DateTexts.h"
#include "common/Dialogs.h"
#include "records/DataModule.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString t(const char *key, const char *english)
{
    return BackupActions::text(key, english);
}

} // namespace

RestoreBackupDialog::RestoreBackupDialog(DataModule *data, Session *session, QWidget *parent)
    : QDialog(parent)
    , m_data(data)
    , m_session(session)
{
    setObjectName(QStringLiteral("RestoreBackupDialog"));
    setWindowTitle(t("RestoreTitle", "Restore a backup"));
    resize(560, 380);
    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(QDir::toNativeSeparators(BackupStore::folder()), this);
    where->setTextFormat(Qt::PlainText);
    layout->addWidget(where);
    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("BackupList"));
    m_table->setHorizontalHeaderLabels({t("RestoreDate", "Date"), t("RestoreClients", "Clients"),
                                        t("RestoreTests", "Tests"),
                                        t("RestoreVerified", "Verified")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(m_table, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_restore = buttons->addButton(t("RestoreButton", "Restore"), QDialogButtonBox::ActionRole);
    m_restore->setObjectName(QStringLiteral("RestoreButton"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_restore, &QPushButton::clicked, this, [this] {
        if (restoreRow(m_table->currentRow()))
            accept();
    });
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(m_table->currentRow() >= 0); });
    reload();
}

void RestoreBackupDialog::reload()
{
    m_entries = BackupStore::list(BackupStore::folder());
    m_table->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const BackupStore::Entry &entry = m_entries.at(row);
        const QStringList cells{DateTexts::dateTime(entry.time),
                                QString::number(entry.counts.clients),
                                QString::number(entry.counts.tests),
                                entry.verified ? t("RestoreYes", "yes") : t("RestoreNo", "no")};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_restore->setEnabled(false);
}

bool RestoreBackupDialog::restoreRow(int row)
{
    if (row < 0 || row >= m_entries.size() || !m_data)
        return false;
    const BackupStore::Entry entry = m_entries.at(row);
    if (!Dialogs::confirm(this, t("RestoreConfirm",
                                  "Replace the client base with the backup of %1 (%2 clients, %3 "
                                  "tests)? The current data is backed up first.")
                                    .arg(DateTexts::dateTime(entry.time))
                                    .arg(entry.counts.clients)
                                    .arg(entry.counts.tests)))
        return false;
    if (!BackupActions::backUp(this, m_data, {entry.folder})) {
        Dialogs::error(this, t("Error", "Error"),
                       t("RestoreNoSafety",
                         "The current data could not be backed up, so nothing was restored."));
        return false;
    }
    const QString basePath = m_data->path();
    BackupRestore::Result prepared;
    BackupProgress::run(
        this, t("RestoreRunning", "Restoring the backup..."),
        [&](const BackupProgress::Report &report, const BackupProgress::Cancelled &cancelled) {
            const QString line = t("RestoreRunning", "Restoring the backup...");
            const qint64 total = qMax(1, entry.counts.clients + entry.counts.tests);
            prepared = BackupRestore::prepare(
                entry, basePath,
                [&](const Gbak::Step &step) {
                    report(line, int(95 * qMin(step.records, total) / total));
                },
                cancelled);
        });
    if (!prepared.ok) {
        if (!prepared.cancelled)
            Dialogs::error(this, t("Error", "Error"), prepared.error);
        return false;
    }
    // The restored clients may not hold the one on show.
    if (m_session)
        m_session->setCurrentClient(QString());
    m_data->close();
    QString error;
    const bool replaced = BackupRestore::replace(prepared.prepared, basePath, &error);
    QString openError;
    const bool reopened = m_data->open(basePath, &openError);
    if (!replaced)
        Dialogs::error(this, t("Error", "Error"),
                       t("RestoreFailed",
                         "The backup of %1 cannot be restored; the client base is unchanged: %2")
                           .arg(DateTexts::dateTime(entry.time), error));
    if (!reopened)
        Dialogs::error(this, t("Error", "Error"),
                       t("BackupReopenFailed", "The client base could not be opened again: %1. "
                                               "Close the program and start it again.")
                           .arg(openError));
    if (replaced && reopened)
        Dialogs::message(this,
                         t("RestoreDone", "The backup of %1 was restored: %2 clients, %3 tests.")
                             .arg(DateTexts::dateTime(entry.time))
                             .arg(prepared.counts.clients)
                             .arg(prepared.counts.tests));
    return replaced && reopened;
}
