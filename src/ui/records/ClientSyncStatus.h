#pragma once

#include "records/ClientSyncService.h"

#include <QPointer>
#include <QToolButton>

class DataModule;
class Session;

// The shared base's word in the status strip (`SyncButton`): a round running (with its
// progress), in step, cards waiting to go up, or the shared base not answering. A click asks
// for a round now. When a round renamed cards, the current client follows its new key, and
// the practitioner is told which cards of this installation took new keys because the shared
// base gives their old keys to other clients.
class ClientSyncStatus : public QToolButton
{
    Q_OBJECT
public:
    ClientSyncStatus(ClientSyncService *service, DataModule *data, Session *session,
                     QWidget *parent = nullptr);

Q_SIGNALS:
    // Cards came, went or were renamed: the client list should be read again.
    void clientsChanged();

private:
    void onFinished(const ClientSyncService::Outcome &outcome);
    void showText(const QString &text, bool warning);

    QPointer<ClientSyncService> m_service;
    QPointer<DataModule> m_data;
    Session *m_session;
};
