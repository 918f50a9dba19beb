#include "ClientSyncStatus.h"

#include "ClientTexts.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "records/ClientKeys.h"
#include "records/DataModule.h"

#include <QTime>

ClientSyncStatus::ClientSyncStatus(ClientSyncService *service, DataModule *data,
                                   Session *session, QWidget *parent)
    : QToolButton(parent)
    , m_service(service)
    , m_data(data)
    , m_session(session)
{
    setObjectName(QStringLiteral("SyncButton"));
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setFocusPolicy(Qt::TabFocus);
    ClientTexts::bind(this, QStringLiteral("SyncNowHint"),
                      QStringLiteral("Synchronise the client cards with the shared base now"),
                      [this](const QString &text) { setToolTip(text); });
    connect(this, &QToolButton::clicked, this, [this] {
        if (m_service)
            m_service->requestRound();
    });
    connect(service, &ClientSyncService::roundStarted, this, [this] {
        showText(ClientTexts::translate(QStringLiteral("SyncRunning"),
                                        QStringLiteral("Shared base: synchronising…")),
                 false);
    });
    connect(service, &ClientSyncService::progress, this, [this](int done, int total) {
        showText(ClientTexts::translate(QStringLiteral("SynchronisingClients"),
                                        QStringLiteral("Shared base: %1 of %2"))
                     .arg(done)
                     .arg(total),
                 false);
    });
    connect(service, &ClientSyncService::roundFinished, this, &ClientSyncStatus::onFinished);
}

void ClientSyncStatus::showText(const QString &text, bool warning)
{
    setText(text);
    setStyleSheet(warning ? QStringLiteral("QToolButton { color: #9a3b00; }") : QString());
    // The strip gives the other labels what is left, never a part of this text.
    setMinimumWidth(sizeHint().width());
}

void ClientSyncStatus::onFinished(const ClientSyncService::Outcome &outcome)
{
    // The current client follows a new key before the list is read again, so the list keeps
    // it selected.
    QStringList told;
    for (const ClientSync::Rename &rename : outcome.renames) {
        if (m_session && m_session->currentClient() == rename.from)
            m_session->setCurrentClient(rename.to);
        if (!rename.provisional)
            told.append(QStringLiteral("%1: %2 → %3").arg(rename.name, rename.from, rename.to));
    }
    const ClientSync::Stats &s = outcome.stats;
    if (!outcome.renames.isEmpty() || s.pulled + s.deleted + s.restored > 0)
        Q_EMIT clientsChanged();
    if (!outcome.renames.isEmpty() && m_data && m_data->isOpen()) {
        ClientKeys::acknowledgeRenames(m_data->database());
        if (outcome.needsAnotherRound && m_service)
            m_service->requestRound();
    }
    if (!told.isEmpty())
        Dialogs::message(window(),
                         ClientTexts::translate(
                             QStringLiteral("SyncRenamedCards"),
                             QStringLiteral("The shared client base already gives these keys to "
                                            "other clients. These cards of this workstation took "
                                            "new keys, with all their tests and records:"))
                             + QStringLiteral("\n\n") + told.join(QLatin1Char('\n')));

    const QString waiting =
        s.waiting > 0 ? QStringLiteral(" · ")
                            + ClientTexts::translate(QStringLiteral("SyncWaiting"),
                                                     QStringLiteral("cards waiting to go up: %1"))
                                  .arg(s.waiting)
                      : QString();
    if (outcome.silent) {
        showText(ClientTexts::translate(QStringLiteral("SyncNoAnswer"),
                                        QStringLiteral("Shared base not answering; cards are "
                                                       "saved here"))
                     + waiting,
                 true);
    } else if (!outcome.reached) {
        showText(ClientTexts::translate(QStringLiteral("SyncUnreachable"),
                                        QStringLiteral("Shared base not reachable; cards are "
                                                       "saved here"))
                     + waiting,
                 true);
    } else if (!outcome.ok) {
        showText(ClientTexts::translate(QStringLiteral("SyncFailed"),
                                        QStringLiteral("Shared base: synchronisation failed "
                                                       "(see Vandrel.log)"))
                     + waiting,
                 true);
    } else {
        showText(ClientTexts::translate(QStringLiteral("SyncDone"),
                                        QStringLiteral("Shared base: in step at %1"))
                         .arg(QTime::currentTime().toString(QStringLiteral("HH:mm")))
                     + waiting,
                 false);
    }
    setToolTip(outcome.ok ? ClientTexts::translate(QStringLiteral("SyncNowHint"),
                                                   QStringLiteral("Synchronise the client cards "
                                                                  "with the shared base now"))
                          : outcome.error);
}
