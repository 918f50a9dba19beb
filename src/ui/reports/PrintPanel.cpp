#include "PrintPanel.h"

#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "reports/MethodNote.h"
#include "reports/ReportFiles.h"
#include "reports/ReportTemplate.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "TPrintForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPolygonF>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "PrintPanelSupport.h"

using namespace PrintPanelSupport;

PrintPanel::PrintPanel(DataModule *data, Session *session, PrintCatalogue *catalogue,
                       const ReportTemplate *page, QWidget *parent)
    : WorkPage(QStringLiteral("PrintPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_catalogue(catalogue)
    , m_page(page)
    , m_store(data)
    , m_channels(ChannelCatalogue::load())
{
    buildPage();
    bindTexts();
    // A section's box and its tick in the print order are one choice, shown twice.
    for (int id = 0; id < ReportSections::Count; ++id) {
        connect(m_boxes.at(size_t(id)), &QCheckBox::toggled, this, [this, id](bool on) {
            for (int row = 0; row < m_order->count(); ++row) {
                QListWidgetItem *item = m_order->item(row);
                if (item->data(SectionRole).toInt() == id)
                    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            }
        });
    }
    connect(m_order, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        const int id = item->data(SectionRole).toInt();
        if (id >= 0 && id < ReportSections::Count)
            m_boxes.at(size_t(id))->setChecked(item->checkState() == Qt::Checked);
    });
    resetOrder();
    // The default template's footer says what the report's readings are and are not, in the
    // applied language, until the practitioner writes a footer of their own.
    LanguageApplier::instance().bind(m_footer, QStringLiteral("MethodNote"),
                                     [this](const QString &t) {
                                         const QString note = t.isEmpty() ? MethodNote::text() : t;
                                         if (m_footer->toPlainText() == m_footerNote) {
                                             m_footer->setPlainText(note);
                                             m_footerNote = note;
                                         }
                                     });
    if (m_catalogue) {
        connect(m_catalogue, &PrintCatalogue::languageChanged, this, [this] {
            if (m_filled)
                fillLists();
        });
    }
}

// --- building ---------------------------------------------------------------------------

void PrintPanel::buildPage()
{
    setStyleSheet(QStringLiteral(
        "#PrintPanel { background: #eef2f6; }"
        "QWidget[card=\"true\"] { background: white; border: 1px solid #c9d4de; border-radius: "
        "6px; }"
        "QLabel[heading=\"true\"] { color: #2f5d8a; font-weight: bold; }"
        "QWidget[card=\"true\"] QLabel { border: none; }"
        "#PrintData { background: #2f6fae; color: white; font-weight: bold; padding: 8px 18px;"
        " border: 1px solid #245a8e; border-radius: 5px; }"
        "#PrintData:hover { background: #3a7dbf; }"
        "#PrintData:pressed { background: #245a8e; }"
        "#RichBar QToolButton { min-width: 24px; min-height: 22px; }"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(buildTemplates(), 0, 0);
    grid->addWidget(buildOrder(), 1, 0);
    grid->addWidget(buildSections(), 0, 1);
    grid->addWidget(buildBands(), 1, 1);
    grid->addWidget(buildRecommendations(), 0, 2, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(2, 4);
    grid->setRowStretch(1, 1);
}

QWidget *PrintPanel::buildTemplates()
{
    QWidget *box = card(this);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(10, 8, 10, 10);
    m_stencilLabel = heading(box, "StencilLabel");
    m_stencils = new QComboBox(box);
    m_stencils->setObjectName(QStringLiteral("StencilsBox"));
    m_newStencilLabel = new QLabel(box);
    m_newStencilLabel->setObjectName(QStringLiteral("sLabel25"));
    m_newStencil = new QLineEdit(box);
    m_newStencil->setObjectName(QStringLiteral("NewStencilName"));
    m_newStencil->setMaxLength(PrintStore::StencilNameWidth);
    m_newStencil->setClearButtonEnabled(true);
    m_newStencilLabel->setBuddy(m_newStencil);
    auto *buttons = new QHBoxLayout;
    m_storeStencil = new QPushButton(box);
    m_storeStencil->setObjectName(QStringLiteral("sButton11"));
    m_changeStencil = new QPushButton(box);
    m_changeStencil->setObjectName(QStringLiteral("sButton12"));
    m_deleteStencil = new QPushButton(box);
    m_deleteStencil->setObjectName(QStringLiteral("sButton9"));
    buttons->addWidget(m_storeStencil);
    buttons->addWidget(m_changeStencil);
    buttons->addWidget(m_deleteStencil);
    column->addWidget(m_stencilLabel);
    column->addWidget(m_stencils);
    column->addSpacing(4);
    column->addWidget(m_newStencilLabel);
    column->addWidget(m_newStencil);
    column->addLayout(buttons);
    column->addStretch(1);

    connect(m_stencils, &QComboBox::activated, this, &PrintPanel::chooseStencil);
    connect(m_storeStencil, &QPushButton::clicked, this, &PrintPanel::storeStencil);
    connect(m_newStencil, &QLineEdit::returnPressed, this, &PrintPanel::storeStencil);
    connect(m_changeStencil, &QPushButton::clicked, this, &PrintPanel::changeStencil);
    connect(m_deleteStencil, &QPushButton::clicked, this, &PrintPanel::deleteStencil);
    return box;
}

QWidget *PrintPanel::buildOrder()
{
    QWidget *box = card(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(10, 8, 10, 10);
    m_orderLabel = heading(box, "OrderLabel");
    m_order = new QListWidget(box);
    m_order->setObjectName(QStringLiteral("OrderBox"));
    m_order->setDragDropMode(QAbstractItemView::InternalMove);
    m_orderLabel->setBuddy(m_order);
    m_up = new QToolButton(box);
    m_up->setObjectName(QStringLiteral("UpOrder"));
    m_up->setArrowType(Qt::UpArrow);
    m_up->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    m_down = new QToolButton(box);
    m_down->setObjectName(QStringLiteral("DownOrder"));
    m_down->setArrowType(Qt::DownArrow);
    m_down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    grid->addWidget(m_orderLabel, 0, 0, 1, 2);
    grid->addWidget(m_order, 1, 0, 3, 1);
    grid->addWidget(m_up, 1, 1);
    grid->addWidget(m_down, 2, 1);
    grid->setRowStretch(3, 1);
    connect(m_up, &QToolButton::clicked, this, [this] { moveOrder(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { moveOrder(1); });
    return box;
}

QWidget *PrintPanel::buildSections()
{
    QWidget *box = card(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setVerticalSpacing(3);
    m_sectionsLabel = heading(box, "SectionsLabel");
    grid->addWidget(m_sectionsLabel, 0, 0, 1, 2);
    const int rows = (ReportSections::Count + 1) / 2;
    for (int id = 0; id < ReportSections::Count; ++id) {
        auto *check = new QCheckBox(box);
        check->setObjectName(QLatin1String(ReportSections::info(id).box));
        check->setChecked(ReportSections::onByDefault(id));
        m_boxes.at(size_t(id)) = check;
        grid->addWidget(check, 1 + id % rows, id / rows);
    }
    m_printData = new QPushButton(box);
    m_printData->setObjectName(QStringLiteral("PrintData"));
    // Ctrl+P belongs to the print mode's button, which stays active on this page: the same
    // keys here would make both ambiguous, and Qt then fires neither.
    m_printData->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    m_printData->setCursor(Qt::PointingHandCursor);
    grid->addWidget(m_printData, 1 + rows, 0, 1, 2, Qt::AlignRight);
    connect(m_printData, &QPushButton::clicked, this, &PrintPanel::printData);
    return box;
}

QWidget *PrintPanel::buildRecommendations()
{
    QWidget *box = card(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setVerticalSpacing(4);
    m_recomLabel = heading(box, "RecomLabel");
    m_recomCombo = new QComboBox(box);
    m_recomCombo->setObjectName(QStringLiteral("RecomendationCombo"));
    m_newRecom = new QToolButton(box);
    m_newRecom->setObjectName(QStringLiteral("NewLabel"));
    m_recomName = new QLineEdit(box);
    m_recomName->setObjectName(QStringLiteral("NewRecomName"));
    m_recomName->setMaxLength(PrintStore::RecommendationNameWidth);
    m_recomDescription = new QPlainTextEdit(box);
    m_recomDescription->setObjectName(QStringLiteral("NewRecomDescription"));
    m_recomDescription->setTabChangesFocus(true);
    m_storeRecom = new QPushButton(box);
    m_storeRecom->setObjectName(QStringLiteral("sButton15"));
    m_deleteRecom = new QPushButton(box);
    m_deleteRecom->setObjectName(QStringLiteral("sButton16"));
    m_recomModel = new QStandardItemModel(0, 2, this);
    m_grid = new QTableView(box);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_recomModel);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_storeRecom);
    buttons->addWidget(m_deleteRecom);

    grid->addWidget(m_recomLabel, 0, 0, 1, 2);
    grid->addWidget(m_recomCombo, 1, 0);
    grid->addWidget(m_newRecom, 1, 1);
    grid->addWidget(m_recomName, 2, 0, 1, 2);
    grid->addWidget(m_recomDescription, 3, 0, 1, 2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->addWidget(m_grid, 5, 0, 1, 2);
    grid->setRowStretch(3, 2);
    grid->setRowStretch(5, 3);
    grid->setColumnStretch(0, 1);

    connect(m_recomCombo, &QComboBox::activated, this, &PrintPanel::chooseRecommendation);
    connect(m_newRecom, &QToolButton::clicked, this, &PrintPanel::newRecommendation);
    connect(m_storeRecom, &QPushButton::clicked, this, &PrintPanel::storeRecommendation);
    connect(m_deleteRecom, &QPushButton::clicked, this, &PrintPanel::deleteRecommendation);
    connect(m_grid, &QTableView::activated, this, [this](const QModelIndex &index) {
        m_recomCombo->setCurrentIndex(index.row());
        chooseRecommendation(index.row());
    });
    return box;
}

void PrintPanel::bindTexts()
{
    auto &a = LanguageApplier::instance();
    auto text = [&a](QWidget *w, const QString &key, const QString &fallback) {
        // Until a language is applied the English text stands.
        if (auto *label = qobject_cast<QLabel *>(w))
            label->setText(fallback);
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            button->setText(fallback);
        a.bindWithFallback(w, key, fallback, [w](const QString &t) {
            if (auto *label = qobject_cast<QLabel *>(w))
                label->setText(t);
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                button->setText(t);
        });
    };
    text(m_stencilLabel, QStringLiteral("SelectStenc"), QStringLiteral("Select template"));
    text(m_newStencilLabel, QStringLiteral("NewStenc"), QStringLiteral("New template"));
    text(m_storeStencil, QStringLiteral("Save"), QStringLiteral("Save"));
    text(m_changeStencil, QStringLiteral("ChangeStencil"), QStringLiteral("Change"));
    text(m_deleteStencil, QStringLiteral("DeleteButton"), QStringLiteral("Delete"));
    text(m_orderLabel, QStringLiteral("PrintOrder"), QStringLiteral("Print order"));
    text(m_sectionsLabel, QStringLiteral("PrintSections"), QStringLiteral("Sections to print"));
    text(m_printData, QStringLiteral("Print"), QStringLiteral("Print"));
    text(m_headerLabel, QStringLiteral("Header"), QStringLiteral("Header"));
    text(m_footerLabel, QStringLiteral("Footer"), QStringLiteral("Footer"));
    text(m_recomLabel, QStringLiteral("Recomendations"), QStringLiteral("Recommendations"));
    text(m_newRecom, QStringLiteral("NewRecom"), QStringLiteral("New"));
    text(m_storeRecom, QStringLiteral("Save"), QStringLiteral("Save"));
    text(m_deleteRecom, QStringLiteral("DeleteButton"), QStringLiteral("Delete"));
    a.bindWithFallback(m_up, QStringLiteral("OrderUp"), QStringLiteral("Move up"),
                       [this](const QString &t) { m_up->setToolTip(t); });
    a.bindWithFallback(m_down, QStringLiteral("OrderDown"), QStringLiteral("Move down"),
                       [this](const QString &t) { m_down->setToolTip(t); });
    a.bindWithFallback(m_recomName, QStringLiteral("RecomName"),
                       QStringLiteral("Name of the recommendation"),
                       [this](const QString &t) { m_recomName->setPlaceholderText(t); });
    a.bindWithFallback(m_recomDescription, QStringLiteral("RecomDescription"),
                       QStringLiteral("Text of the recommendation, one advice a line"),
                       [this](const QString &t) { m_recomDescription->setPlaceholderText(t); });
    a.bindWithFallback(m_newStencil, QStringLiteral("StencilNameHint"),
                       QStringLiteral("Name of the new template"),
                       [this](const QString &t) { m_newStencil->setPlaceholderText(t); });
    for (int id = 0; id < ReportSections::Count; ++id) {
        const ReportSections::Info &info = ReportSections::info(id);
        text(m_boxes.at(size_t(id)), QLatin1String(info.key), QLatin1String(info.english));
    }
    // The order list, the grid headings and the default template follow the captions.
    a.bind(this, QStringLiteral("DefaultStencil"), [this](const QString &) {
        retitleOrder();
        m_recomModel->setHorizontalHeaderLabels(
            {applied(QStringLiteral("Name2"), QStringLiteral("Name")),
             applied(QStringLiteral("RecomDescription"), QStringLiteral("Description"))});
        if (m_stencils->count() > 0)
            m_stencils->setItemText(
                m_stencils->count() - 1,
                applied(QStringLiteral("DefaultStencil"), QStringLiteral("Default template")));
    });
}

void PrintPanel::retitleOrder()
{
    const QStringList names = captions();
    for (int row = 0; row < m_order->count(); ++row) {
        QListWidgetItem *item = m_order->item(row);
        const int id = item->data(SectionRole).toInt();
        if (id >= 0 && id < names.size())
            item->setText(names.at(id));
    }
}

QStringList PrintPanel::captions() const
{
    QStringList names;
    for (const QCheckBox *box : m_boxes)
        names.append(box->text());
    return names;
}

// --- lists ------------------------------------------------------------------------------

void PrintPanel::enter()
{
    if (!m_filled)
        fillLists();
}

void PrintPanel::fillLists()
{
    if (!m_catalogue)
        return;
    m_filled = true;
    QString error;
    m_recomRows = m_catalogue->recommendations(&error);
    m_stencilRows = m_catalogue->stencils(&error);
    m_filling = true;
    m_stencils->clear();
    for (const PrintCatalogue::Stencil &s : std::as_const(m_stencilRows))
        m_stencils->addItem(s.name);
    m_stencils->addItem(
        applied(QStringLiteral("DefaultStencil"), QStringLiteral("Default template")));
    m_filling = false;

    int marked = -1;
    for (int i = 0; i < m_stencilRows.size() && marked < 0; ++i) {
        if (m_stencilRows.at(i).priority == 1)
            marked = i;
    }
    if (marked >= 0) {
        m_stencils->setCurrentIndex(marked);
        applyStencil(m_stencilRows.at(marked));
    } else {
        m_stencils->setCurrentIndex(m_stencils->count() - 1);
        fillRecommendations(tickedRecommendations());
        resetOrder();
    }
    updateStencilButtons();
}

void PrintPanel::fillRecommendations(const QStringList &ticked)
{
    const QString chosen = m_recomCombo->currentText();
    m_recomCombo->clear();
    m_recomModel->removeRows(0, m_recomModel->rowCount());
    for (const PrintCatalogue::Recommendation &r : std::as_const(m_recomRows)) {
        m_recomCombo->addItem(r.name);
        auto *name = new QStandardItem(r.name);
        name->setCheckable(true);
        name->setCheckState(ticked.contains(r.name) ? Qt::Checked : Qt::Unchecked);
        name->setToolTip(r.name);
        const QStringList lines = ReportData::descriptionLines(r.description);
        auto *description = new QStandardItem(lines.join(QStringLiteral(" \u00B7 ")));
        description->setToolTip(r.description);
        m_recomModel->appendRow({name, description});
    }
    m_grid->resizeColumnToContents(0);
    m_recomCombo->setCurrentIndex(m_recomCombo->findText(chosen));
}

QStringList PrintPanel::tickedRecommendations() const
{
    QStringList names;
    for (int row = 0; row < m_recomModel->rowCount(); ++row) {
        const QStandardItem *item = m_recomModel->item(row, 0);
        if (item->checkState() == Qt::Checked)
            names.append(item->text());
    }
    return names;
}

// --- templates --------------------------------------------------------------------------

QString PrintPanel::chosenStencil() const
{
    const int index = m_stencils->currentIndex();
    return index >= 0 && index < m_stencilRows.size() ? m_stencilRows.at(index).name : QString();
}

void PrintPanel::selectStencil(const QString &name)
{
    for (int i = 0; i < m_stencilRows.size(); ++i) {
        if (m_stencilRows.at(i).name == name) {
            m_stencils->setCurrentIndex(i);
            chooseStencil(i);
            return;
        }
    }
}

void PrintPanel::updateStencilButtons()
{
    const bool stored = !chosenStencil().isEmpty();
    m_changeStencil->setEnabled(stored);
    m_deleteStencil->setEnabled(stored);
}

void PrintPanel::chooseStencil(int index)
{
    if (m_filling)
        return;
    QString error;
    if (index >= 0 && index < m_stencilRows.size()) {
        applyStencil(m_stencilRows.at(index));
        if (!m_store.markStencil(m_stencilRows.at(index).name, &error))
            Dialogs::message(this, error);
    } else {
        resetOrder();
        if (!m_store.markStencil(QString(), &error))
            Dialogs::message(this, error);
    }
    updateStencilButtons();
}

void PrintPanel::resetOrder()
{
    QList<std::pair<int, bool>> entries;
    for (int id : ReportSections::naturalOrder())
        entries.append({id, ReportSections::onByDefault(id)});
    setOrderEntries(entries);
}

void PrintPanel::applyStencil(const PrintCatalogue::Stencil &stencil)
{
    // Sections the stored list lacks come after it, unticked, so they can still be added.
    QList<std::pair<int, bool>> entries;
    const QStringList names = captions();
    QList<int> present;
    for (const QueueEntry &e : PrintQueue::parse(stencil.queue)) {
        const int id = PrintQueue::order({{e.caption, true}}, names).value(0, -1);
        if (id >= 0 && !present.contains(id)) {
            present.append(id);
            entries.append({id, e.ticked});
        }
    }
    for (int id : ReportSections::naturalOrder()) {
        if (!present.contains(id))
            entries.append({id, false});
    }
    setOrderEntries(entries);
    if (stencil.header.isEmpty())
        m_header->clear();
    else
        m_header->setHtml(stencil.header);
    if (stencil.footer.isEmpty())
        m_footer->clear();
    else
        m_footer->setHtml(stencil.footer);
    fillRecommendations(PrintQueue::parseNames(stencil.recommendations));
}

PrintCatalogue::Stencil PrintPanel::currentChoice() const
{
    PrintCatalogue::Stencil s;
    s.language = m_catalogue ? m_catalogue->language() : Localization::currentLanguage();
    const QList<QueueEntry> entries = orderEntries();
    s.queue = PrintQueue::build(entries);
    if (!m_header->toPlainText().isEmpty())
        s.header = m_header->toHtml();
    if (!m_footer->toPlainText().isEmpty())
        s.footer = m_footer->toHtml();
    const bool recommendations = printOrder().contains(int(ReportSections::Recomendation));
    s.recommendations =
        PrintQueue::buildNames(recommendations ? tickedRecommendations() : QStringList());
    return s;
}

void PrintPanel::storeStencil()
{
    const QString name = m_newStencil->text().trimmed();
    if (name.isEmpty()) {
        Dialogs::message(this, shown(QStringLiteral("StencMustHaveName"),
                                     QStringLiteral("Please enter the name of the template.")));
        m_newStencil->setFocus();
        return;
    }
    if (m_store.stencilExists(name)) {
        Dialogs::message(this, shown(QStringLiteral("StencilExists"),
                                     QStringLiteral("A template with this name already exists.")));
        m_newStencil->setFocus();
        return;
    }
    PrintCatalogue::Stencil s = currentChoice();
    s.name = name;
    QString error;
    if (!m_store.addStencil(s, &error)) {
        Dialogs::message(this, error);
        return;
    }
    m_newStencil->clear();
    QString ignored;
    m_stencilRows = m_catalogue->stencils(&ignored);
    m_filling = true;
    m_stencils->clear();
    for (const PrintCatalogue::Stencil &row : std::as_const(m_stencilRows))
        m_stencils->addItem(row.name);
    m_stencils->addItem(
        applied(QStringLiteral("DefaultStencil"), QStringLiteral("Default template")));
    m_filling = false;
    selectStencil(name);
}

void PrintPanel::changeStencil()
{
    const QString name = chosenStencil();
    if (name.isEmpty())
        return;
    PrintCatalogue::Stencil s = currentChoice();
    s.name = name;
    QString error;
    if (!m_store.changeStencil(s, &error)) {
        Dialogs::message(this, error);
        return;
    }
    m_stencilRows = m_catalogue->stencils(&error);
}

void PrintPanel::deleteStencil()
{
    const QString name = chosenStencil();
    if (name.isEmpty()
        || !Dialogs::ask(this, shown(QStringLiteral("DeleteClient"),
                                     QStringLiteral("Delete the selected record?"))))
        return;
    QString error;
    if (!m_store.removeStencil(name, &error)) {
        Dialogs::message(this, error);
        return;
    }
    fillLists();
}

// --- order list -------------------------------------------------------------------------

QList<QueueEntry> PrintPanel::orderEntries() const
{
    QList<QueueEntry> entries;
    for (int row = 0; row < m_order->count(); ++row) {
        const QListWidgetItem *item = m_order->item(row);
        entries.append({item->text(), item->checkState() == Qt::Checked});
    }
    return entries;
}

void PrintPanel::setOrderEntries(const QList<std::pair<int, bool>> &entries)
{
    const QStringList names = captions();
    const QSignalBlocker blocker(m_order); // the boxes follow below, once the list is whole
    m_order->clear();
    for (const auto &[id, ticked] : entries) {
        auto *item = new QListWidgetItem(names.value(id), m_order);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                       | Qt::ItemIsDragEnabled);
        item->setData(SectionRole, id);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        m_boxes.at(size_t(id))->setChecked(ticked);
    }
}

QList<int> PrintPanel::printOrder() const
{
    QList<int> ids;
    for (int row = 0; row < m_order->count(); ++row) {
        const QListWidgetItem *item = m_order->item(row);
        const int id = item->data(SectionRole).toInt();
        if (item->checkState() == Qt::Checked && !ids.contains(id))
            ids.append(id);
    }
    return ids;
}

void PrintPanel::moveOrder(int step)
{
    const int row = m_order->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_order->count())
        return;
    QListWidgetItem *item = m_order->takeItem(row);
    m_order->insertItem(target, item);
    m_order->setCurrentRow(target);
}

// --- recommendations --------------------------------------------------------------------

void PrintPanel::chooseRecommendation(int index)
{
    if (index < 0 || index >= m_recomRows.size())
        return;
    m_recomName->setText(m_recomRows.at(index).name);
    m_recomDescription->setPlainText(m_recomRows.at(index).description);
    m_grid->selectRow(index);
}

void PrintPanel::newRecommendation()
{
    m_recomCombo->setCurrentIndex(-1);
    m_recomName->clear();
    m_recomDescription->clear();
    m_grid->clearSelection();
    m_recomName->setFocus();
}

void PrintPanel::storeRecommendation()
{
    const QString name = m_recomName->text().trimmed();
    if (name.isEmpty()) {
        Dialogs::message(this,
                         shown(QStringLiteral("RecomMustHaveName"),
                               QStringLiteral("Please enter the name of the recommendation.")));
        m_recomName->setFocus();
        return;
    }
    if (!PrintQueue::canHoldName(name)) {
        Dialogs::message(
            this, shown(QStringLiteral("RecomBadName"),
                        QStringLiteral("The name of a recommendation may not contain # or &.")));
        m_recomName->setFocus();
        return;
    }
    PrintCatalogue::Recommendation r;
    r.name = name;
    r.description = m_recomDescription->toPlainText();
    r.language = m_catalogue ? m_catalogue->language() : Localization::currentLanguage();
    // A changed row keeps the language text it was stored with, so it stays the same row.
    for (const PrintCatalogue::Recommendation &row : std::as_const(m_recomRows)) {
        if (row.name == name)
            r.language = row.language;
    }
    QString error;
    if (!m_store.storeRecommendation(r, &error)) {
        Dialogs::message(this, error);
        return;
    }
    QStringList ticked = tickedRecommendations();
    m_recomRows = m_catalogue->recommendations(&error);
    fillRecommendations(ticked);
    m_recomCombo->setCurrentIndex(m_recomCombo->findText(name));
}

void PrintPanel::deleteRecommendation()
{
    const int index = m_recomCombo->currentIndex();
    if (index < 0 || index >= m_recomRows.size()
        || !Dialogs::ask(this, shown(QStringLiteral("DeleteClient"),
                                     QStringLiteral("Delete the selected record?"))))
        return;
    const PrintCatalogue::Recommendation row = m_recomRows.at(index);
    QString error;
    if (!m_store.removeRecommendation(row.name, row.language, &error)) {
        Dialogs::message(this, error);
        return;
    }
    QStringList ticked = tickedRecommendations();
    m_recomRows = m_catalogue->recommendations(&error);
    fillRecommendations(ticked);
    newRecommendation();
}
