#pragma once

#include "app/WorkPage.h"
#include "records/ClientSearch.h"

#include <QPixmap>
#include <QPointer>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class QToolButton;
class ClientCardView;
class ClientEditor;
class ClientsModel;
class DataModule;
class Session;

// The clients page (`ClientPanel`): the client list with its searches, the card of the current
// client, and the card editor. Moving in the list makes that client the session's current one.
// New and changed cards are checked before anything is written, saved at once and copied to
// the shared client base; a card is deleted only after the user confirms it.
class ClientPanel : public WorkPage {
    Q_OBJECT
public:
    ClientPanel(DataModule *data, Session *session, QWidget *parent = nullptr);

    void enter() override;
    void leave() override;

    ClientsModel *model() const { return m_model; }
    // The photo of the current client (the open-points page shows it too).
    QPixmap currentPhoto() const;
    bool isEditing() const;

    // The editor's buttons, also for the main window's keyboard and for tests.
    void newCard();
    void editCard();
    void cancelEditing();
    bool acceptCard();
    void deleteCard();
    void search();
    void showAllClients();

    // Whether saved and deleted cards are copied to the shared base (on by default).
    void setSharedBaseEnabled(bool enabled) { m_syncEnabled = enabled; }

Q_SIGNALS:
    // The current client's "Name Surname" for the main window's status strip (empty: none).
    void clientNameChanged(const QString &name);
    void currentPhotoChanged(const QPixmap &photo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildList(QWidget *column);
    void bindTexts();
    void setLocked(bool locked);
    void onCurrentRowChanged();
    void onSessionClientChanged(const QString &code);
    void onModelReset();
    void selectCode(const QString &code);
    void showCurrentCard();
    void synchronise(const QString &key);
    void updateButtons();
    ClientSearch::Criterion criterion() const;

    QPointer<DataModule> m_data;
    Session *m_session;
    ClientsModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QLineEdit *m_searchEdit = nullptr;
    QDateEdit *m_birthFilter = nullptr;
    QPushButton *m_searchButton = nullptr;
    QToolButton *m_returnImage = nullptr;
    QList<QRadioButton *> m_radios;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_editButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QStackedWidget *m_stack = nullptr;
    ClientCardView *m_card = nullptr;
    ClientEditor *m_editor = nullptr;
    QWidget *m_listCaption = nullptr;
    bool m_syncEnabled = true;
    bool m_selecting = false;
};
