#include "ClientTestsList.h"

#include "ClientTexts.h"
#include "app/Session.h"
#include "common/DateTexts.h"
#include "records/TestsModel.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/CorridorPercent.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { DateColumn, TimeColumn, OutsideColumn, ColumnCount };

} // namespace

ClientTestsList::ClientTestsList(Session *session, TestsModel *tests, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_tests(tests)
    , m_percentSource(CorridorPercent::stored)
{
    setObjectName(QStringLiteral("ClientTestsList"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("ClientTestsCaption"));
    m_caption->setStyleSheet(QStringLiteral("color: #1f3b57; font-weight: 600;"));
    layout->addWidget(m_caption);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ClientTestsView"));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(ColumnCount);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setSectionResizeMode(DateColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionsMovable(false);
    m_list->setMinimumHeight(m_list->fontMetrics().height() * 4 + 8);
    layout->addWidget(m_list, 1);

    ClientTexts::bind(m_caption, QStringLiteral("ClientTests"), QStringLiteral("Tests of the client"),
                      [this](const QString &t) { m_caption->setText(t); });
    ClientTexts::bind(m_list, QStringLiteral("TestDate"), QStringLiteral("Test date"),
                      [this](const QString &t) { m_list->headerItem()->setText(DateColumn, t); });
    ClientTexts::bind(m_list, QStringLiteral("TestTime"), QStringLiteral("Time"),
                      [this](const QString &t) { m_list->headerItem()->setText(TimeColumn, t); });
    ClientTexts::bind(m_list, QStringLiteral("OutsideCorridor"),
                      QStringLiteral("Channels outside the corridor"), [this](const QString &t) {
                          m_list->headerItem()->setText(OutsideColumn, t);
                          // The dates are written out in the language: fill again.
                          refill();
                      });

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && m_session)
            m_session->setCurrentTest(item->data(0, Qt::UserRole).toInt());
    });
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item)
            Q_EMIT openRequested(item->data(0, Qt::UserRole).toInt());
    });
    if (m_tests) {
        // Filled once the model has settled: a burst of changes costs one filling, and none
        // is made while the window that feeds the percentage is being taken down.
        connect(m_tests, &QAbstractItemModel::modelReset, this, &ClientTestsList::scheduleRefill);
        connect(m_tests, &QAbstractItemModel::rowsInserted, this, &ClientTestsList::scheduleRefill);
        connect(m_tests, &QAbstractItemModel::rowsRemoved, this, &ClientTestsList::scheduleRefill);
        connect(m_tests, &QAbstractItemModel::dataChanged, this, &ClientTestsList::scheduleRefill);
    }
    if (m_session)
        connect(m_session, &Session::currentTestChanged, this, &ClientTestsList::selectCurrent);
    refill();
}

void ClientTestsList::setPercentSource(std::function<QString()> source)
{
    m_percentSource = source ? std::move(source) : std::function<QString()>(CorridorPercent::stored);
    refill();
}

void ClientTestsList::scheduleRefill()
{
    if (m_refillPending)
        return;
    m_refillPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refillPending = false;
        refill();
    });
}

void ClientTestsList::refill()
{
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    if (!m_tests)
        return;
    const std::optional<int> percent = CorridorEvaluation::parsePercent(m_percentSource());
    // Newest by the date measured: tests brought in from elsewhere may carry older keys.
    QList<TestRecord> tests = m_tests->tests();
    std::stable_sort(tests.begin(), tests.end(), [](const TestRecord &a, const TestRecord &b) {
        return a.testDate > b.testDate;
    });
    QList<QTreeWidgetItem *> items;
    for (const TestRecord &test : std::as_const(tests)) {
        auto *item = new QTreeWidgetItem;
        item->setData(0, Qt::UserRole, test.codeTest);
        item->setText(DateColumn, DateTexts::date(test.testDate.date()));
        item->setText(TimeColumn, DateTexts::time(test.testDate.time()));
        // Without a usable percentage there is no corridor to count against.
        item->setText(OutsideColumn, percent ? QString::number(evaluate(test, *percent).outsideCount())
                                             : QStringLiteral("–"));
        item->setTextAlignment(OutsideColumn, Qt::AlignCenter);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    selectCurrent();
}

void ClientTestsList::selectCurrent()
{
    const int code = m_session ? m_session->currentTest() : 0;
    const QSignalBlocker blocker(m_list);
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (item->data(0, Qt::UserRole).toInt() == code) {
            m_list->setCurrentItem(item);
            m_list->scrollToItem(item);
            return;
        }
    }
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();
}
