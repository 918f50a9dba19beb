#include "TablePanel.h"

#include "TableListDelegate.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {
// The list item's role that holds the table's row in the listed order.
constexpr int RowRole = Qt::UserRole + 1;
} // namespace

TablePanel::TablePanel(const QString &tablesRoot, QWidget *parent)
    : WorkPage(QStringLiteral("TablePanel"), parent)
    , m_root(tablesRoot)
{
    buildPage();
    bindTexts();
}

void TablePanel::buildPage()
{
    setStyleSheet(QStringLiteral(
        "#TablePanel { background: #eef2f6; }"
        "#TableSide, #TableView { background: white; border: 1px solid #c5d0db; border-radius: 6px; }"
        "#TableListCaption { color: #24313d; font-weight: bold; padding: 2px 2px 4px 2px; }"
        "#FoundTableEdit { padding: 3px 6px; border: 1px solid #b8c4cf; border-radius: 4px; }"
        "#TableList { border: 1px solid #d5dde5; border-radius: 4px; }"
        "#TableLabel { background: #dde8f2; color: #1f2d3a; font-weight: bold; font-size: 12pt;"
        " padding: 6px 4px; border-top-left-radius: 6px; border-top-right-radius: 6px; }"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(8);

    auto *side = new QWidget(this);
    side->setObjectName(QStringLiteral("TableSide"));
    side->setAttribute(Qt::WA_StyledBackground);
    side->setFixedWidth(260);
    auto *column = new QVBoxLayout(side);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    m_listCaption = new QLabel(side);
    m_listCaption->setObjectName(QStringLiteral("TableListCaption"));
    column->addWidget(m_listCaption);

    auto *searchRow = new QHBoxLayout;
    searchRow->setSpacing(4);
    m_search = new QLineEdit(side);
    m_search->setObjectName(QStringLiteral("FoundTableEdit"));
    m_search->setClearButtonEnabled(true);
    searchRow->addWidget(m_search, 1);
    m_searchButton = new QToolButton(side);
    m_searchButton->setObjectName(QStringLiteral("FoundTableBtn"));
    m_searchButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    searchRow->addWidget(m_searchButton);
    column->addLayout(searchRow);
    connect(m_searchButton, &QToolButton::clicked, this, &TablePanel::FoundTableBtnClick);
    connect(m_search, &QLineEdit::returnPressed, this, &TablePanel::FoundTableBtnClick);

    m_list = new QListWidget(side);
    m_list->setObjectName(QStringLiteral("TableList"));
    m_list->setItemDelegate(new TableListDelegate(m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(m_list, 1);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int index) {
        if (!m_filling)
            TableListClick(index);
    });

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    const auto makeButton = [side](const QString &name, QStyle::StandardPixmap icon) {
        auto *button = new QToolButton(side);
        button->setObjectName(name);
        button->setIcon(side->style()->standardIcon(icon));
        button->setAutoRaise(false);
        return button;
    };
    m_up = makeButton(QStringLiteral("TableUp"), QStyle::SP_ArrowUp);
    m_down = makeButton(QStringLiteral("TableDown"), QStyle::SP_ArrowDown);
    m_refresh = makeButton(QStringLiteral("RefreshTable"), QStyle::SP_BrowserReload);
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch();
    buttons->addWidget(m_refresh);
    column->addLayout(buttons);
    connect(m_up, &QToolButton::clicked, this, &TablePanel::TableUpClick);
    connect(m_down, &QToolButton::clicked, this, &TablePanel::TableDownClick);
    connect(m_refresh, &QToolButton::clicked, this, &TablePanel::RefreshTableClick);
    row->addWidget(side);

    auto *view = new QWidget(this);
    view->setObjectName(QStringLiteral("TableView"));
    view->setAttribute(Qt::WA_StyledBackground);
    auto *viewColumn = new QVBoxLayout(view);
    viewColumn->setContentsMargins(1, 1, 1, 1);
    viewColumn->setSpacing(0);
    m_title = new QLabel(view);
    m_title->setObjectName(QStringLiteral("TableLabel"));
    m_title->setWordWrap(true);
    viewColumn->addWidget(m_title);
    m_browserHost = new QVBoxLayout;
    m_browserHost->setContentsMargins(0, 0, 0, 0);
    viewColumn->addLayout(m_browserHost, 1);
    row->addWidget(view, 1);
}

void TablePanel::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    applier.bindWithFallback(m_listCaption, QStringLiteral("TableList"),
                             QStringLiteral("Reference tables"),
                             [this](const QString &t) { m_listCaption->setText(t); });
    applier.bindWithFallback(m_searchButton, QStringLiteral("Search"), QStringLiteral("Search"),
                             [this](const QString &t) { m_searchButton->setText(t); });
    applier.bindWithFallback(m_search, QStringLiteral("FoundTableHint"),
                             QStringLiteral("Part of a table's name"),
                             [this](const QString &t) { m_search->setPlaceholderText(t); });
    applier.bindWithFallback(m_up, QStringLiteral("TableUp"), QStringLiteral("Move the table up"),
                             [this](const QString &t) { m_up->setToolTip(t); });
    applier.bindWithFallback(m_down, QStringLiteral("TableDown"), QStringLiteral("Move the table down"),
                             [this](const QString &t) { m_down->setToolTip(t); });
    applier.bindWithFallback(m_refresh, QStringLiteral("RefreshTable"),
                             QStringLiteral("List the tables again"),
                             [this](const QString &t) { m_refresh->setToolTip(t); });
    // The title of a table on show is the table's own; the word stands in while none is.
    applier.bindWithFallback(m_title, QStringLiteral("TableLabel"), QStringLiteral("Table"),
                             [this](const QString &t) {
                                 if (m_shown.path.isEmpty())
                                     m_title->setText(QStringLiteral("  ") + t);
                             });
    // Another interface language may bring other tables.
    connect(&applier, &LanguageApplier::applied, this, [this] {
        if (isVisible())
            enter();
    });
}

void TablePanel::ensureBrowser()
{
    if (m_browser)
        return;
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("TableBrowser"));
    m_browserHost->addWidget(m_browser);
    connect(m_browser, &QWebEngineView::loadFinished, this, &TablePanel::tableLoaded);
}

void TablePanel::enter()
{
    ensureBrowser();
    m_catalogue = TableCatalogue::load(Localization::currentLanguage(), m_root);
    m_search->clear();
    m_order = m_catalogue.tables();
    fillList(qMax(0, selectedIndex()));
}

void TablePanel::RefreshTableClick()
{
    const int remembered = selectedIndex();
    m_catalogue = TableCatalogue::load(m_catalogue.language(), m_root);
    m_search->clear();
    m_order = m_catalogue.tables();
    fillList(qMax(0, remembered));
}

void TablePanel::FoundTableBtnClick()
{
    m_catalogue = TableCatalogue::load(m_catalogue.language(), m_root);
    m_order = m_catalogue.search(m_search->text());
    fillList(0);
}

void TablePanel::fillItems()
{
    m_filling = true;
    m_list->clear();
    for (int row = 0; row < m_order.size(); ++row) {
        auto *item = new QListWidgetItem(TableCatalogue::itemText(m_order.at(row)), m_list);
        item->setData(RowRole, row);
        // A separator is drawn, never chosen.
        auto *separator = new QListWidgetItem(TableCatalogue::separatorText(), m_list);
        separator->setFlags(Qt::NoItemFlags);
        separator->setData(RowRole, -1);
    }
    m_filling = false;
}

void TablePanel::fillList(int index)
{
    fillItems();

    if (m_order.isEmpty()) {
        // No tables at all: nothing to show. No hits for a search: the table on show stays.
        if (m_catalogue.tables().isEmpty() && m_browser) {
            m_shown = TableEntry();
            m_title->setText(QStringLiteral("  ")
                             + LanguageApplier::instance().text(QStringLiteral("TableLabel"),
                                                                QStringLiteral("Table")));
            m_browser->setHtml(QString());
        }
        return;
    }
    index = qBound(0, index, m_list->count() - 1);
    index -= index % 2; // a separator's place falls back to its table
    select(index);
    TableListClick(index);
}

int TablePanel::selectedIndex() const
{
    return m_list->currentRow();
}

void TablePanel::select(int index)
{
    m_filling = true;
    m_list->setCurrentRow(index);
    if (QListWidgetItem *item = m_list->item(index))
        m_list->scrollToItem(item);
    m_filling = false;
}

void TablePanel::TableListClick(int index)
{
    const QListWidgetItem *item = m_list->item(index);
    if (!item || TableCatalogue::isSeparator(item->text()))
        return;
    const int row = item->data(RowRole).toInt();
    if (row < 0 || row >= m_order.size())
        return;
    const TableEntry entry = m_order.at(row);
    if (!QFileInfo(entry.path).isFile()) {
        // The file went away after listing: say so and keep the table on show.
        Dialogs::message(this, Localization::Translate(QStringLiteral("NotFoundFile")).trimmed()
                                   + QLatin1Char(' ') + QDir::toNativeSeparators(entry.path));
        int shown = -1;
        for (int i = 0; i < m_list->count(); ++i) {
            const int r = m_list->item(i)->data(RowRole).toInt();
            if (r >= 0 && m_order.at(r).path == m_shown.path && !m_shown.path.isEmpty())
                shown = i;
        }
        select(shown);
        return;
    }
    m_shown = entry;
    m_title->setText(QStringLiteral("  ") + entry.title);
    ensureBrowser();
    m_browser->load(QUrl::fromLocalFile(entry.path));
}

void TablePanel::TableUpClick()
{
    move(true);
}

void TablePanel::TableDownClick()
{
    move(false);
}

void TablePanel::move(bool up)
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item || TableCatalogue::isSeparator(item->text()))
        return;
    const int row = item->data(RowRole).toInt();
    const int moved = up ? TableCatalogue::moveUp(m_order, row) : TableCatalogue::moveDown(m_order, row);
    if (moved == row)
        return;
    // Only the order changes; the table on show stays as it is.
    fillItems();
    select(moved * 2);
}
