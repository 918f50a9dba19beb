#include "BackupAgeLabel.h"

#include "app/BackupStore.h"
#include "app/BaseFacts.h"
#include "BackupActions.h"
#include "common/Clock.h"
#include "localization/LanguageApplier.h"
#include "records/DataModule.h"

#include <QList>
#include <QTimer>

namespace {

QList<BackupAgeLabel *> &labels()
{
    static QList<BackupAgeLabel *> shown;
    return shown;
}

constexpr int kRefreshMs = 30 * 60 * 1000;

} // namespace

BackupAgeLabel::BackupAgeLabel(DataModule *data, QWidget *parent)
    : QLabel(parent)
    , m_data(data)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("BackupAgeLabel"));
    setTextFormat(Qt::PlainText);
    setStyleSheet(QStringLiteral("color: #9a3b00;"));
    labels().append(this);
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &BackupAgeLabel::refresh);
    m_timer->start();
    if (m_data)
        connect(m_data, &DataModule::opened, this, &BackupAgeLabel::refresh);
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this,
            &BackupAgeLabel::refresh);
    refresh();
}

BackupAgeLabel::~BackupAgeLabel()
{
    labels().removeAll(this);
}

void BackupAgeLabel::refresh()
{
    BaseFacts::Counts counts;
    const bool hasClients = m_data && m_data->isOpen()
                            && BaseFacts::count(m_data->database(), &counts) && counts.clients > 0;
    if (!BackupStore::isOverdue(Clock::now(), hasClients)) {
        clear();
        setVisible(false);
        return;
    }
    const BackupStore::Entry last = BackupStore::lastVerified();
    // The strip keeps the client, device and date readable: a short word there, the whole
    // sentence under the pointer.
    const qint64 days = last.time.isValid() ? last.time.daysTo(Clock::now()) : 0;
    setText(last.time.isValid()
                ? BackupActions::text("BackupOverdueShort", "Backup %1 days old").arg(days)
                : BackupActions::text("BackupNoneShort", "No backup"));
    setToolTip(last.time.isValid()
                   ? BackupActions::text("BackupOverdue", "Last verified backup %1 days ago")
                         .arg(days)
                   : BackupActions::text("BackupNone", "No verified backup of your data yet"));
    setVisible(true);
}

void BackupAgeLabel::refreshAll()
{
    for (BackupAgeLabel *label : std::as_const(labels()))
        label->refresh();
}
