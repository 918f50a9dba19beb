#pragma once

#include "app/WorkPage.h"
#include "records/ClientCard.h"
#include "records/ClientSearch.h"

#include <QPixmap>
#include <QPointer>

#include <optional>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class QVBoxLayout;
class QToolButton;
class ClientCardView;
class ClientTestsList;
class QLabel;
class ClientEditor;
class ClientsModel;
class QAction;
class TestExportAction;
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
    // Reads the client list again (cards came from the shared base), keeping the current one.
    void reloadClients();
    // "Export tests…": the current client's tests, or every client's.
    void exportTests(bool allClients);
    TestExportAction *testExport() const { return m_export; }

    // Whether cards take their keys from the shared base and announce their changes for the
    // synchronisation (on by default).
    void setSharedBaseEnabled(bool enabled) { m_syncEnabled = enabled; }
    // The current client's tests, shown under the card (not while a card is edited).
    void setTestsList(ClientTestsList *list);

Q_SIGNALS:
    // The current client's "Name Surname" for the main window's status strip (empty: none).
    void clientNameChanged(const QString &name);
    void currentPhotoChanged(const QPixmap &photo);
    // A card was saved or deleted: the shared base should hear of it soon.
    void cardsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildList(QWidget *column);
    void buildExportButton(QWidget *column, QVBoxLayout *layout);
    void bindTexts();
    void setLocked(bool locked);
    void onCurrentRowChanged();
    void onSessionClientChanged(const QString &code);
    void onModelReset();
    void selectCode(const QString &code);
    void showCurrentCard();
    void updateButtons();
    void updateFirstStartHint();
    void showTestsList();
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
    QToolButton *m_exportButton = nullptr;
    QAction *m_exportCurrent = nullptr;
    TestExportAction *m_export = nullptr;
    QStackedWidget *m_stack = nullptr;
    ClientCardView *m_card = nullptr;
    ClientEditor *m_editor = nullptr;
    QWidget *m_listCaption = nullptr;
    QLabel *m_firstStartHint = nullptr;
    QWidget *m_rightColumn = nullptr;
    ClientTestsList *m_testsList = nullptr;
    bool m_syncEnabled = true;
    std::optional<ClientCard> m_original; // the card as it was when editing began
    bool m_selecting = false;
    bool m_rereading = false;
};
