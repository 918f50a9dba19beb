#pragma once

#include "app/WorkPage.h"
#include "ryodoraku/TableCatalogue.h"

#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class QVBoxLayout;
class QWebEngineView;

// The reference tables page (`TablePanel`, work mode 7): a numbered list of the shipped HTML
// tables of the table language, a search field, and a browser that shows the chosen table
// under its full title. The list order can be changed for the session; it is not stored.
class TablePanel : public WorkPage
{
    Q_OBJECT
public:
    // `tablesRoot`: the folder that holds one folder of tables per language.
    explicit TablePanel(const QString &tablesRoot = TableCatalogue::defaultRoot(),
                        QWidget *parent = nullptr);

    // Reads the table language from Options.ini and lists its tables.
    void enter() override;

    // RefreshTableClick: lists every table again, keeping the selected place.
    void RefreshTableClick();
    // FoundTableBtnClick: lists the tables matching the search text (all for an empty one).
    void FoundTableBtnClick();
    // TableListClick: shows the table of list entry `index`; separators are ignored.
    void TableListClick(int index);
    void TableUpClick();
    void TableDownClick();

    QString language() const { return m_catalogue.language(); }
    // The file of the table on show; empty when none.
    QString shownTable() const { return m_shown.path; }
    // The browser, made when the page is first entered (the web engine starts then).
    QWebEngineView *browser() const { return m_browser; }

Q_SIGNALS:
    // The browser finished loading a table.
    void tableLoaded(bool ok);

private:
    void buildPage();
    void bindTexts();
    void ensureBrowser();
    // The list items of m_order: each table followed by a separator.
    void fillItems();
    // Fills the list from m_order; selects `index` (clamped) and shows its table.
    void fillList(int index);
    int selectedIndex() const;
    void select(int index);
    void move(bool up);

    QString m_root;
    TableCatalogue m_catalogue;
    QList<TableEntry> m_order; // the tables listed, in list order
    TableEntry m_shown;
    bool m_filling = false;

    QLabel *m_listCaption = nullptr;
    QLineEdit *m_search = nullptr;
    QToolButton *m_searchButton = nullptr;
    QListWidget *m_list = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    QToolButton *m_refresh = nullptr;
    QLabel *m_title = nullptr;
    QVBoxLayout *m_browserHost = nullptr;
    QWebEngineView *m_browser = nullptr;
};
