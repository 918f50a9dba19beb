#include "ClientPanel.h"
#include "common/TimeTyping.h"

#include "app/Session.h"
#include "app/WorkModes.h"
#include "ClientCardView.h"
#include "ClientEditor.h"
#include "ClientTestsList.h"
#include "ClientTexts.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/StackSizing.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/ClientConflicts.h"
#include "records/ClientRepository.h"
#include "records/ClientsModel.h"
#include "records/ClientValidation.h"
#include "records/DataModule.h"
#include "TestExportAction.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct Radio {
    const char *name;
    const char *key;
    const char *fallback;
    ClientSearch::Criterion criterion;
};

const Radio kRadios[] = {
    {"IdRadio", "ID", "ID", ClientSearch::Criterion::Id},
    {"NameRadio", "Name", "Name", ClientSearch::Criterion::Name},
    {"SurnameRadio", "Surname", "Surname", ClientSearch::Criterion::Surname},
    {"BirthRadio", "BirthDay", "Date of birth", ClientSearch::Criterion::Birth},
    {"CityRadio", "City", "City", ClientSearch::Criterion::City},
    {"AdressRadio", "Address", "Address", ClientSearch::Criterion::Address},
    {"PhoneRadio", "Phone", "Phone", ClientSearch::Criterion::Phone},
    {"MailRadio", "Mail", "E-mail", ClientSearch::Criterion::Mail},
};

} // namespace

ClientPanel::ClientPanel(DataModule *data, Session *session, QWidget *parent)
    : WorkPage(QStringLiteral("ClientPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_model(new ClientsModel(data, this))
    , m_export(new TestExportAction(data, this)) {
    setStyleSheet(
        QStringLiteral("#ClientPanel { background: #eef2f6; }"
                       "#ClientsList { background: #ffffff; alternate-background-color: #f5f8fb;"
                       " selection-background-color: #cfe3f7; selection-color: #1f2b36;"
                       " border: 1px solid #c9d3dd; gridline-color: #e6ebf0; }"
                       "#ListCaption { color: #1f3b57; font-weight: 600; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);

    auto *column = new QWidget(this);
    column->setFixedWidth(340);
    buildList(column);
    row->addWidget(column);

    m_rightColumn = new QWidget(this);
    auto *right = new QVBoxLayout(m_rightColumn);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(8);
    // An empty base says how to begin.
    m_firstStartHint = new QLabel(m_rightColumn);
    m_firstStartHint->setObjectName(QStringLiteral("FirstStartHint"));
    m_firstStartHint->setWordWrap(true);
    m_firstStartHint->setTextFormat(Qt::PlainText);
    m_firstStartHint->setStyleSheet(
        QStringLiteral("background: #fff8dc; border: 1px solid #e3d18a; border-radius: 4px;"
                       " padding: 6px 10px; color: #4a3f1a;"));
    m_firstStartHint->hide();
    right->addWidget(m_firstStartHint);
    m_stack = new QStackedWidget(m_rightColumn);
    m_card = new ClientCardView(m_stack);
    m_editor = new ClientEditor(m_stack);
    m_stack->addWidget(m_card);
    m_stack->addWidget(m_editor);
    right->addWidget(m_stack, 3);
    row->addWidget(m_rightColumn, 1);

    connect(m_editor, &ClientEditor::acceptRequested, this, &ClientPanel::acceptCard);
    connect(m_editor, &ClientEditor::cancelRequested, this, &ClientPanel::cancelEditing);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ClientPanel::onModelReset);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ClientPanel::updateFirstStartHint);
    connect(m_model, &ClientsModel::loadingChanged, this, &ClientPanel::updateFirstStartHint);
    connect(m_stack, &QStackedWidget::currentChanged, this, [this] {
        showTestsList();
        updateFirstStartHint();
    });
    // Only the card or the editor in sight counts for the page's size.
    StackSizing::followCurrent(m_stack);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ClientPanel::onCurrentRowChanged);
    if (m_session)
        connect(m_session, &Session::currentClientChanged, this,
                &ClientPanel::onSessionClientChanged);

    bindTexts();
    if (data && data->isOpen())
        m_model->reload();
    updateButtons();
}

void ClientPanel::buildList(QWidget *column) {
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto *caption = new QLabel(column);
    caption->setObjectName(QStringLiteral("ListCaption"));
    m_listCaption = caption;
    // While the list is still being read, the caption says so.
    const auto showCaption = [this, caption] {
        const QString text = LanguageApplier::instance().text(QStringLiteral("ClientsList"));
        caption->setText(m_model->isLoading() ? text + QStringLiteral(" …") : text);
    };
    LanguageApplier::instance().bind(caption, QStringLiteral("ClientsList"),
                                     [showCaption](const QString &) { showCaption(); });
    connect(m_model, &ClientsModel::loadingChanged, caption, showCaption);
    layout->addWidget(caption);

    auto *searchRow = new QHBoxLayout;
    searchRow->setSpacing(4);
    m_searchEdit = new QLineEdit(column);
    m_searchEdit->setObjectName(QStringLiteral("SearchEdit"));
    m_searchEdit->setClearButtonEnabled(true);
    m_birthFilter = new QDateEdit(column);
    TimeTyping::install(m_birthFilter);
    m_birthFilter->setObjectName(QStringLiteral("FilterBirthEdit"));
    m_birthFilter->setCalendarPopup(true);
    m_birthFilter->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_birthFilter->setDate(QDate(1970, 1, 1));
    m_birthFilter->hide();
    m_searchButton = new QPushButton(column);
    m_searchButton->setObjectName(QStringLiteral("SearchButton"));
    m_returnImage = new QToolButton(column);
    m_returnImage->setObjectName(QStringLiteral("ReturnImage"));
    m_returnImage->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    m_returnImage->setAutoRaise(true);
    searchRow->addWidget(m_searchEdit, 1);
    searchRow->addWidget(m_birthFilter, 1);
    searchRow->addWidget(m_searchButton);
    searchRow->addWidget(m_returnImage);
    layout->addLayout(searchRow);

    auto *radios = new QGridLayout;
    radios->setHorizontalSpacing(8);
    radios->setVerticalSpacing(2);
    auto *group = new QButtonGroup(column);
    int index = 0;
    for (const Radio &r : kRadios) {
        auto *radio = new QRadioButton(column);
        radio->setObjectName(QLatin1String(r.name));
        ClientTexts::bind(radio, QLatin1String(r.key), QLatin1String(r.fallback),
                          [radio](const QString &t) { radio->setText(t); });
        group->addButton(radio, index);
        radios->addWidget(radio, index % 4, index / 4);
        m_radios.append(radio);
        ++index;
    }
    m_radios.at(1)->setChecked(true); // by name
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool) {
        const bool birth = criterion() == ClientSearch::Criterion::Birth;
        m_searchEdit->setVisible(!birth);
        m_birthFilter->setVisible(birth);
    });
    layout->addLayout(radios);

    m_list = new QTableView(column);
    m_list->setObjectName(QStringLiteral("ClientsList"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAlternatingRowColors(true);
    m_list->setShowGrid(false);
    m_list->verticalHeader()->hide();
    // Fixed row heights and column widths keep the list instant with thousands of cards.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setColumnWidth(ClientsModel::CodeColumn, 70);
    m_list->setColumnWidth(ClientsModel::NameColumn, 120);
    layout->addWidget(m_list, 1);

    auto *buttons = new QHBoxLayout;
    m_newButton = new QPushButton(column);
    m_newButton->setObjectName(QStringLiteral("NewButton"));
    m_editButton = new QPushButton(column);
    m_editButton->setObjectName(QStringLiteral("EditButton"));
    m_deleteButton = new QPushButton(column);
    m_deleteButton->setObjectName(QStringLiteral("DeleteButton"));
    for (QPushButton *button : {m_newButton, m_editButton, m_deleteButton})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    buildExportButton(column, layout);

    connect(m_newButton, &QPushButton::clicked, this, &ClientPanel::newCard);
    connect(m_editButton, &QPushButton::clicked, this, &ClientPanel::editCard);
    connect(m_deleteButton, &QPushButton::clicked, this, &ClientPanel::deleteCard);
    connect(m_searchButton, &QPushButton::clicked, this, &ClientPanel::search);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &ClientPanel::search);
    connect(m_returnImage, &QToolButton::clicked, this, &ClientPanel::showAllClients);
    // Ctrl+S in the search field searches, as Enter does.
    m_searchEdit->installEventFilter(this);
}

void ClientPanel::buildExportButton(QWidget *column, QVBoxLayout *layout) {
    m_exportButton = new QToolButton(column);
    m_exportButton->setObjectName(QStringLiteral("ExportTestsButton"));
    m_exportButton->setPopupMode(QToolButton::InstantPopup);
    m_exportButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *menu = new QMenu(m_exportButton);
    m_exportCurrent = menu->addAction(QString(), this, [this] { exportTests(false); });
    m_exportCurrent->setObjectName(QStringLiteral("ExportCurrentClient"));
    QAction *all = menu->addAction(QString(), this, [this] { exportTests(true); });
    all->setObjectName(QStringLiteral("ExportAllClients"));
    m_exportButton->setMenu(menu);
    ClientTexts::bind(m_exportButton, QStringLiteral("ExportTests"),
                      QStringLiteral("Export tests…"),
                      [this](const QString &t) { m_exportButton->setText(t); });
    ClientTexts::bind(m_exportCurrent, QStringLiteral("ExportCurrentClient"),
                      QStringLiteral("Current client"),
                      [this](const QString &t) { m_exportCurrent->setText(t); });
    ClientTexts::bind(all, QStringLiteral("ExportAllClients"), QStringLiteral("All clients"),
                      [all](const QString &t) { all->setText(t); });
    layout->addWidget(m_exportButton);
}

void ClientPanel::exportTests(bool allClients) {
    const QString client = m_session ? m_session->currentClient() : QString();
    if (!allClients && client.isEmpty())
        return;
    m_export->exportTests(allClients ? QString() : client);
}

bool ClientPanel::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_searchEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_S && (key->modifiers() & Qt::ControlModifier)) {
            search();
            return true;
        }
    }
    return WorkPage::eventFilter(watched, event);
}

void ClientPanel::bindTexts() {
    auto &applier = LanguageApplier::instance();
    for (QPushButton *button : {m_newButton, m_editButton, m_deleteButton})
        applier.bindText(button, button->objectName());
    ClientTexts::bind(m_searchButton, QStringLiteral("Search"), QStringLiteral("Search"),
                      [this](const QString &t) { m_searchButton->setText(t); });
    ClientTexts::bind(m_returnImage, QStringLiteral("ShowAllClients"),
                      QStringLiteral("Show all clients"),
                      [this](const QString &t) { m_returnImage->setToolTip(t); });
    ClientTexts::bind(m_searchEdit, QStringLiteral("SearchHint"), QStringLiteral("Search (Ctrl+S)"),
                      [this](const QString &t) { m_searchEdit->setPlaceholderText(t); });
    applier.bind(m_model, QStringLiteral("ID"), [this](const QString &) {
        const auto &a = LanguageApplier::instance();
        auto text = [&a](const char *key, const char *fallback) {
            const QString t = a.text(QLatin1String(key));
            return t.isEmpty() ? QLatin1String(fallback) : t;
        };
        m_model->setHeaders({text("ID", "ID"), text("Name", "Name"), text("Surname", "Surname")});
    });
}

ClientSearch::Criterion ClientPanel::criterion() const {
    for (int i = 0; i < m_radios.size(); ++i) {
        if (m_radios.at(i)->isChecked())
            return kRadios[i].criterion;
    }
    return ClientSearch::Criterion::Name;
}

bool ClientPanel::isEditing() const {
    return m_stack->currentWidget() == m_editor;
}

QPixmap ClientPanel::currentPhoto() const {
    return m_card->photo();
}

void ClientPanel::enter() {
    if (m_model->rowCount() == 0 && !m_model->isLoading() && m_data && m_data->isOpen())
        m_model->reload();
    showCurrentCard();
    // The corridor percentage may have changed on the settings page meanwhile.
    if (m_testsList)
        m_testsList->refill();
    updateFirstStartHint();
}

void ClientPanel::setTestsList(ClientTestsList *list) {
    m_testsList = list;
    list->setParent(m_rightColumn);
    static_cast<QVBoxLayout *>(m_rightColumn->layout())->addWidget(list, 2);
    showTestsList();
}

void ClientPanel::showTestsList() {
    // Under a card, not beside the editor, and not while there is no client to have tests.
    if (m_testsList)
        m_testsList->setVisible(!isEditing() && m_session && !m_session->currentClient().isEmpty());
}

void ClientPanel::updateFirstStartHint() {
    // Only a base without a single card, not a search that found none.
    const bool empty = m_model->rowCount() == 0 && !m_model->isLoading()
                       && !m_model->isSearching() && !isEditing() && m_data && m_data->isOpen();
    if (empty)
        m_firstStartHint->setText(ClientTexts::current(
            QStringLiteral("FirstStartHint"),
            QStringLiteral("To begin, press \u201cNew\u201d and fill in the client's card; then "
                           "open the \u201cTest\u201d page to measure.")));
    m_firstStartHint->setVisible(empty);
}

void ClientPanel::leave() {
    // Another mode takes the window. A card with changes is never dropped unasked: saved on a
    // yes (a card that cannot be saved stays in the editor, with the reason said), dropped on
    // a no; an untouched card is simply closed.
    if (!isEditing())
        return;
    if (m_editor->isChanged()
        && Dialogs::ask(this, ClientTexts::current(QStringLiteral("SaveCardChanges"),
                                                   QStringLiteral("The card being edited has changes that are "
                                                                  "not saved. Save them?")))) {
        acceptCard();
        return;
    }
    cancelEditing();
}

void ClientPanel::setLocked(bool locked) {
    QList<QWidget *> widgets = {m_list,        m_searchEdit,  m_birthFilter, m_searchButton,
                                m_returnImage, m_newButton,   m_editButton,  m_deleteButton,
                                m_listCaption, m_exportButton};
    for (QRadioButton *radio : std::as_const(m_radios))
        widgets.append(radio);
    for (QWidget *widget : std::as_const(widgets))
        widget->setEnabled(!locked);
    if (!locked)
        updateButtons();
}

void ClientPanel::updateButtons() {
    const bool hasClient = m_list->currentIndex().isValid() && !isEditing();
    m_editButton->setEnabled(hasClient);
    m_deleteButton->setEnabled(hasClient);
    m_exportCurrent->setEnabled(hasClient);
}

void ClientPanel::newCard() {
    setLocked(true);
    if (m_session)
        m_session->setWorkMode(WorkModes::NewClient);
    m_editor->startNew();
    m_stack->setCurrentWidget(m_editor);
    m_editor->focusFirst();
}

void ClientPanel::editCard() {
    const QString code = m_model->codeAt(m_list->currentIndex().row());
    if (code.isEmpty())
        return;
    QString error;
    const std::optional<ClientCard> card = ClientRepository(m_data).card(code, &error);
    if (!card) {
        Dialogs::error(this,
                       ClientTexts::translate(QStringLiteral("Error"), QStringLiteral("Error")),
                       error.isEmpty() ? code : error);
        return;
    }
    setLocked(true);
    if (m_session)
        m_session->setWorkMode(WorkModes::EditClient);
    m_original = card;
    m_editor->startEdit(*card);
    m_stack->setCurrentWidget(m_editor);
    m_editor->focusFirst();
}

void ClientPanel::cancelEditing() {
    m_original.reset();
    m_stack->setCurrentWidget(m_card);
    setLocked(false);
    if (m_session)
        m_session->setWorkMode(WorkModes::Clients);
}

bool ClientPanel::acceptCard() {
    ClientCard card = m_editor->card();
    const ClientValidation::Problem problem = ClientValidation::check(card, Clock::today());
    if (!problem.ok()) {
        QString text = ClientTexts::translate(problem.key, problem.key);
        if (!problem.field.isEmpty()) {
            const QString field = ClientTexts::current(problem.field, problem.field);
            if (problem.key == QLatin1String("FieldTooLong")) {
                text = ClientTexts::translate(problem.key,
                                              QStringLiteral("The field \"%1\" is too long: "
                                                             "at most %2 characters."));
                text = Localization::fieldMessage(text, field, problem.limit);
            } else {
                text = ClientTexts::translate(problem.key,
                                              QStringLiteral("The field \"%1\" holds characters "
                                                             "the base cannot store."))
                           .arg(field);
            }
        }
        Dialogs::message(this, text);
        return false;
    }
    ClientRepository repo(m_data);
    QString error;
    const bool isNew = card.code.isEmpty();
    // With a shared base the key comes from its generator (reserved ahead, or given at the next
    // synchronisation), so no two installations ever give one key to two clients.
    const auto keys = m_syncEnabled ? ClientRepository::KeySource::SharedBase
                                    : ClientRepository::KeySource::RunningNumber;
    const bool saved = isNew ? repo.addCard(card, m_editor->photoSource(), Clock::today(), &error,
                                            keys)
                             : repo.updateCard(card, m_editor->photoSource(), &error,
                                               m_original ? &*m_original : nullptr);
    if (!saved) {
        Dialogs::error(
            this, ClientTexts::translate(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return false;
    }
    m_original.reset();
    if (m_syncEnabled)
        Q_EMIT cardsChanged();
    m_stack->setCurrentWidget(m_card);
    setLocked(false);
    if (m_session)
        m_session->setWorkMode(WorkModes::Clients);
    m_model->reload();
    selectCode(card.code);
    showCurrentCard();
    return true;
}

void ClientPanel::deleteCard() {
    const int row = m_list->currentIndex().row();
    const QString code = m_model->codeAt(row);
    if (code.isEmpty() || isEditing())
        return;
    const ClientListEntry entry = m_model->entries().at(row);
    const QString name = QString(entry.name + QLatin1Char(' ') + entry.surname).trimmed();
    const QString question = ClientTexts::translate(QStringLiteral("DeleteClient"),
                                                    QStringLiteral("Delete the selected record?")) +
                             QStringLiteral("\n\n") + name + QStringLiteral(" (") + code +
                             QLatin1Char(')');
    if (!Dialogs::ask(this, question))
        return;
    QString error;
    if (!ClientRepository(m_data).removeCard(code, &error)) {
        Dialogs::error(
            this, ClientTexts::translate(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    if (m_syncEnabled)
        Q_EMIT cardsChanged();
    m_model->reload();
    if (m_model->rowCount() > 0)
        selectCode(m_model->codeAt(qMin(row, m_model->rowCount() - 1)));
}

void ClientPanel::search() {
    if (isEditing())
        return;
    ClientSearch s;
    s.criterion = criterion();
    s.text = m_searchEdit->text().trimmed().toUpper();
    s.birthday = m_birthFilter->date();
    m_model->setSearch(s);
}

void ClientPanel::showAllClients() {
    if (isEditing())
        return;
    m_model->clearSearch();
}

void ClientPanel::reloadClients() {
    if (!m_data || !m_data->isOpen())
        return;
    m_model->reload();
    showCurrentCard();
}

void ClientPanel::selectCode(const QString &code) {
    const int row = m_model->rowOfCode(code);
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void ClientPanel::onModelReset() {
    // The list was read anew: stay on the current client, else take the first one.
    const QString current = m_session ? m_session->currentClient() : QString();
    if (!current.isEmpty() && m_model->rowOfCode(current) < 0 && !m_model->isSearching() && !m_rereading
        && m_data && m_data->isOpen() && ClientRepository(m_data).card(current)) {
        // A list read while the client's card was being stored lacks it: read once more rather
        // than leave a client that exists.
        m_rereading = true;
        m_model->reload();
        m_rereading = false;
        return;
    }
    if (m_model->rowOfCode(current) >= 0) {
        selectCode(current);
    } else if (m_model->rowCount() > 0) {
        selectCode(m_model->codeAt(0));
    } else {
        if (m_session && !m_model->isSearching())
            m_session->setCurrentClient(QString());
        showCurrentCard();
    }
    updateButtons();
}

void ClientPanel::onCurrentRowChanged() {
    const QString code = m_model->codeAt(m_list->currentIndex().row());
    if (m_session && !code.isEmpty()) {
        m_selecting = true;
        m_session->setCurrentClient(code);
        m_selecting = false;
    }
    showCurrentCard();
    updateButtons();
}

void ClientPanel::onSessionClientChanged(const QString &code) {
    showTestsList();
    if (m_selecting)
        return;
    if (m_model->codeAt(m_list->currentIndex().row()) != code)
        selectCode(code);
    showCurrentCard();
}

void ClientPanel::showCurrentCard() {
    const QString code =
        m_session ? m_session->currentClient() : m_model->codeAt(m_list->currentIndex().row());
    std::optional<ClientCard> card;
    if (!code.isEmpty() && m_data && m_data->isOpen())
        card = ClientRepository(m_data).card(code);
    m_card->showCard(card);
    m_card->showNotes(card ? ClientConflicts::forClient(m_data->database(), card->code)
                           : QList<ConflictNote>());
    Q_EMIT clientNameChanged(card ? card->displayName() : QString());
    Q_EMIT currentPhotoChanged(m_card->photo());
}
