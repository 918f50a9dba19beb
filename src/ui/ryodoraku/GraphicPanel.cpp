#include "GraphicPanel.h"

#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/DateField.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "PolarDiagram.h"
#include "ProgressChart.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/CorridorPercent.h"
#include "ryodoraku/GraphOrders.h"
#include "TestChart.h"
#include "TestGraphs.h"
#include "treatment/TherapyStore.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Small pictures of the five graph kinds for their buttons.
QIcon kindIcon(int kind)
{
    QPixmap pixmap(56, 56);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor green(0x00, 0x80, 0x00), red(0xE0, 0x20, 0x20), blue(0x20, 0x40, 0xE0);
    p.setPen(Qt::NoPen);
    if (kind == 1 || kind == 2) {
        const int heights[] = {14, -8, 20, 4, -14, 10};
        for (int i = 0; i < 6; ++i) {
            const int h = heights[kind == 2 ? (i % 2 ? 5 - i / 2 : i / 2) : i];
            p.setBrush(qAbs(h) <= 5 ? green : h > 0 ? red : blue);
            p.drawRect(QRectF(6 + i * 8, h > 0 ? 28 - h : 28, 6, qAbs(h)));
        }
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
        p.drawLine(4, 28, 52, 28);
    } else if (kind == 3) {
        const QColor colors[] = {QColor(0x1F, 0x77, 0xB4), QColor(0xD6, 0x27, 0x28),
                                 QColor(0x2C, 0xA0, 0x2C)};
        for (int line = 0; line < 3; ++line) {
            QPainterPath path;
            for (int i = 0; i < 6; ++i) {
                const QPointF pt(6 + i * 9, 30 + std::sin(i * 1.3 + line) * 10 - line * 5);
                i ? path.lineTo(pt) : path.moveTo(pt);
            }
            p.setPen(QPen(colors[line], 3));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
    } else if (kind == 4) {
        const int heights[] = {30, 26, 38, 34, 20, 24};
        for (int i = 0; i < 6; ++i) {
            p.setBrush(i % 2 ? red : blue);
            p.drawRect(QRectF(6 + i * 8, 50 - heights[i], 6, heights[i]));
        }
    } else if (kind == 6) {
        // A falling line over a strip that turns green: the client getting better.
        for (int column = 0; column < 5; ++column) {
            for (int row = 0; row < 3; ++row) {
                const bool off = (column + row) % 3 == 0 && column < 3;
                p.setBrush(off ? (row == 1 ? blue : red) : green.lighter(160));
                p.drawRect(QRectF(6 + column * 9, 34 + row * 6, 8, 5));
            }
        }
        p.setPen(QPen(red, 3));
        p.drawPolyline(
            QPolygonF({QPointF(8, 10), QPointF(20, 16), QPointF(32, 22), QPointF(46, 26)}));
    } else {
        for (const bool left : {true, false}) {
            QPolygonF star;
            for (int i = 0; i < 12; ++i) {
                const double a = 2 * 3.14159265 * i / 12;
                const double r = (i % 2 ? 12 : 22) + (left ? 0 : 3) * std::cos(i);
                star.append(QPointF(28 + r * std::sin(a), 28 - r * std::cos(a)));
            }
            p.setPen(QPen(left ? blue : red, 2.5));
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(star);
        }
    }
    return QIcon(pixmap);
}

} // namespace

GraphicPanel::GraphicPanel(DataModule *data, Session *session, TestsModel *tests, QWidget *parent)
    : WorkPage(QStringLiteral("GraphicPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_tests(tests)
    , m_percentSource(CorridorPercent::stored)
{
    buildPage();
    bindTexts();
    if (m_session)
        connect(m_session, &Session::currentTestChanged, this, &GraphicPanel::onCurrentTestChanged);
    if (m_tests)
        connect(m_tests, &QAbstractItemModel::modelReset, this, &GraphicPanel::onTestsReset);
}

void GraphicPanel::setPercentSource(std::function<QString()> source)
{
    m_percentSource =
        source ? std::move(source) : std::function<QString()>(CorridorPercent::stored);
}

void GraphicPanel::buildPage()
{
    setStyleSheet(QStringLiteral(
        "#GraphicPanel { background: #eef2f6; }"
        "#GraphTools { background: #f7f9fb; border-right: 1px solid #cfd8e1; }"
        "#GraphTools QToolButton { border: 1px solid #cfd8e1; border-radius: 5px;"
        " background: white; padding: 2px; }"
        "#GraphTools QToolButton:hover { border-color: #6f9fcf; }"
        "#GraphTools QToolButton:checked { background: #cfe3f7; border-color: #4f86c0; }"
        "#GraphTools QLabel { color: #24313d; font-weight: bold; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    auto *tools = new QWidget(this);
    tools->setObjectName(QStringLiteral("GraphTools"));
    tools->setAttribute(Qt::WA_StyledBackground);
    tools->setFixedWidth(212);
    auto *column = new QVBoxLayout(tools);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);
    m_kindLabel = new QLabel(tools);
    column->addWidget(m_kindLabel);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    m_kinds = new QButtonGroup(this);
    m_kinds->setExclusive(true);
    for (int kind = 1; kind <= GraphKinds; ++kind) {
        auto *button = new QToolButton(tools);
        button->setObjectName(QStringLiteral("GR%1").arg(kind));
        button->setCheckable(true);
        button->setIcon(kindIcon(kind));
        button->setIconSize(QSize(26, 26));
        button->setFixedSize(30, 30);
        m_kinds->addButton(button, kind);
        m_kindButtons.append(button);
        buttons->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, kind] { showGraph(kind); });
    }
    buttons->addStretch();
    column->addLayout(buttons);
    column->addSpacing(8);

    m_compareLabel = new QLabel(tools);
    column->addWidget(m_compareLabel);
    m_dateList = new QListWidget(tools);
    m_dateList->setObjectName(QStringLiteral("DateList"));
    m_dateList->setStyleSheet(QStringLiteral("QListWidget { background: white; }"
                                             "QListWidget::item { padding: 2px; }"));
    column->addWidget(m_dateList, 1);
    for (int i = 0; i < MarkerCount; ++i) {
        auto *marker = new QLabel(m_dateList->viewport());
        marker->setObjectName(QStringLiteral("Shape%1").arg(i + 1));
        marker->setFixedSize(10, 10);
        marker->hide();
        m_markers.append(marker);
    }
    connect(m_dateList, &QListWidget::itemChanged, this, [this] {
        if (m_kind == 3)
            redraw(); // DateListClickCheck
    });
    connect(m_dateList->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &GraphicPanel::placeMarkers);
    buildPeriod(tools, column);
    column->addStretch();

    m_saveButton = new QPushButton(tools);
    m_saveButton->setObjectName(QStringLiteral("SaveGraph"));
    column->addWidget(m_saveButton);
    connect(m_saveButton, &QPushButton::clicked, this, &GraphicPanel::onSaveClicked);
    row->addWidget(tools);

    m_views = new QStackedWidget(this);
    m_chart = new TestChart(m_views);
    m_polar = new PolarDiagram(m_views);
    m_progress = new ProgressChart(m_views);
    m_views->addWidget(m_chart);
    m_views->addWidget(m_polar);
    m_views->addWidget(m_progress);
    row->addWidget(m_views, 1);

    m_kindButtons.first()->setChecked(true);
    m_compareLabel->hide();
    m_dateList->hide();
}

QString GraphicPanel::text(const QString &key, const QString &fallback) const
{
    return TestGraphs::word(key, fallback);
}

void GraphicPanel::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    auto bindFallback = [&](QObject *owner, const QString &key, const QString &fallback,
                            std::function<void(const QString &)> setter) {
        applier.bindWithFallback(owner, key, fallback, std::move(setter));
    };
    bindFallback(m_kindLabel, QStringLiteral("KindOfGraphics"), QStringLiteral("Kind of graph"),
                 [this](const QString &t) { m_kindLabel->setText(t); });
    bindFallback(m_compareLabel, QStringLiteral("CompareTests"), QStringLiteral("Tests to compare"),
                 [this](const QString &t) { m_compareLabel->setText(t); });
    bindFallback(m_saveButton, QStringLiteral("SaveGraph"), QStringLiteral("Save picture"),
                 [this](const QString &t) { m_saveButton->setText(t); });
    bindFallback(m_saveButton, QStringLiteral("SaveGraphHint"),
                 QStringLiteral("Save the graph as a PNG picture"),
                 [this](const QString &t) { m_saveButton->setToolTip(t); });
    const QString hints[] = {
        QStringLiteral("Left and right side one after the other"),
        QStringLiteral("Left and right side side by side"),
        QStringLiteral("Compare the ticked tests"),
        QStringLiteral("Raw values: left blue, right red"),
        QStringLiteral("Polar diagram of both sides"),
        QStringLiteral("Progress over the client's tests"),
    };
    for (int i = 0; i < m_kindButtons.size(); ++i) {
        QToolButton *button = m_kindButtons.at(i);
        bindFallback(button, QStringLiteral("GR%1Hint").arg(i + 1), hints[i],
                     [button](const QString &t) { button->setToolTip(t); });
    }
    bindFallback(m_periodLabel, QStringLiteral("ProgressPeriod"),
                 QStringLiteral("Period (empty: every test)"),
                 [this](const QString &t) { m_periodLabel->setText(t); });
    bindFallback(m_fromLabel, QStringLiteral("ProgressFromLabel"), QStringLiteral("From"),
                 [this](const QString &t) { m_fromLabel->setText(t); });
    bindFallback(m_toLabel, QStringLiteral("ProgressToLabel"), QStringLiteral("To"),
                 [this](const QString &t) { m_toLabel->setText(t); });
    // Words drawn inside the graphs: taken afresh at every drawing.
    connect(&applier, &LanguageApplier::applied, this, [this] {
        if (isVisible())
            redraw();
    });
}

void GraphicPanel::enter()
{
    fillDateList();
    m_kindButtons.first()->setChecked(true);
    m_kind = 1;
    redraw();
}

void GraphicPanel::showEvent(QShowEvent *event)
{
    WorkPage::showEvent(event);
    if (m_dirty)
        redraw();
}

void GraphicPanel::showGraph(int kind)
{
    if (kind < 1 || kind > GraphKinds)
        return;
    m_kind = kind;
    if (QAbstractButton *button = m_kinds->button(kind))
        button->setChecked(true);
    redraw();
}

QString GraphicPanel::dateText(const TestRecord &test) const
{
    return TestGraphs::title(test);
}

void GraphicPanel::fillDateList()
{
    // Ticks stay with their tests when the list is filled again.
    QList<int> ticked;
    for (int row = 0; row < m_dateList->count(); ++row) {
        if (m_dateList->item(row)->checkState() == Qt::Checked)
            ticked.append(m_dateList->item(row)->data(Qt::UserRole).toInt());
    }
    const QSignalBlocker blocker(m_dateList);
    m_dateList->clear();
    if (!m_tests)
        return;
    for (const TestRecord &test : m_tests->tests()) {
        auto *item = new QListWidgetItem(dateText(test), m_dateList);
        item->setData(Qt::UserRole, test.codeTest);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(ticked.contains(test.codeTest) ? Qt::Checked : Qt::Unchecked);
    }
}

void GraphicPanel::placeMarkers()
{
    for (int i = 0; i < MarkerCount; ++i) {
        QLabel *marker = m_markers.at(i);
        QListWidgetItem *item = m_dateList->item(i);
        if (m_kind != 3 || !item || item->checkState() != Qt::Checked) {
            marker->hide();
            continue;
        }
        const QRect rect = m_dateList->visualItemRect(item);
        marker->move(m_dateList->viewport()->width() - 18, rect.center().y() - 4);
        marker->setStyleSheet(QStringLiteral("background: %1; border-radius: 5px;")
                                  .arg(GraphOrders::compareColor(i).name()));
        marker->setVisible(rect.intersects(m_dateList->viewport()->rect()));
    }
}

std::optional<TestRecord> GraphicPanel::currentTest() const
{
    const int code = m_session ? m_session->currentTest() : 0;
    if (code <= 0)
        return std::nullopt;
    if (m_tests) {
        const int row = m_tests->rowOfTest(code);
        if (row >= 0)
            return m_tests->testAt(row);
    }
    if (m_data && m_data->isOpen())
        return m_data->test(code);
    return std::nullopt;
}

bool GraphicPanel::redraw()
{
    // The percentage first: a bad one leaves the graph on screen as it is.
    QString error;
    const std::optional<int> percent =
        CorridorEvaluation::parsePercent(m_percentSource ? m_percentSource() : QString(), &error);
    if (!percent) {
        m_dirty = false;
        Dialogs::message(this, error);
        return false;
    }
    m_dirty = false;

    m_compareLabel->setVisible(m_kind == 3);
    m_dateList->setVisible(m_kind == 3);
    m_period->setVisible(m_kind == ProgressKind);
    if (m_kind == ProgressKind) {
        drawProgress(*percent);
        placeMarkers();
        Q_EMIT graphDrawn(m_kind);
        return true;
    }
    const QString noTest = text(QStringLiteral("GraphNoTest"),
                                QStringLiteral("No test to show. Choose a client with a test."));

    if (m_kind == 3) {
        m_views->setCurrentWidget(m_chart);
        TestGraphs::applyWords(m_chart);
        QList<TestRecord> tests;
        QList<QColor> colors;
        QStringList names;
        for (int row = 0; row < m_dateList->count(); ++row) {
            if (m_dateList->item(row)->checkState() != Qt::Checked || !m_tests
                || row >= m_tests->rowCount())
                continue;
            tests.append(m_tests->testAt(row));
            colors.append(GraphOrders::compareColor(row));
            names.append(m_dateList->item(row)->text());
        }
        m_chart->showLines(
            tests, colors, names, GraphOrders::sideAfterSide(),
            text(QStringLiteral("CompareTests"), QStringLiteral("Tests to compare")));
        placeMarkers();
        Q_EMIT graphDrawn(m_kind);
        return true;
    }
    placeMarkers();

    m_views->setCurrentWidget(m_kind == 5 ? static_cast<QWidget *>(m_polar) : m_chart);
    if (const std::optional<TestRecord> test = currentTest()) {
        TestGraphs::draw(m_kind, *test, *percent, m_chart, m_polar);
    } else if (m_kind == 5) {
        TestGraphs::applyWords(m_polar);
        m_polar->setTitle(noTest);
        m_polar->clear();
    } else {
        m_chart->showNothing(noTest);
    }
    Q_EMIT graphDrawn(m_kind);
    return true;
}

void GraphicPanel::buildPeriod(QWidget *tools, QVBoxLayout *column)
{
    m_period = new QWidget(tools);
    m_period->setObjectName(QStringLiteral("ProgressPeriod"));
    auto *form = new QGridLayout(m_period);
    form->setContentsMargins(0, 0, 0, 0);
    m_periodLabel = new QLabel(m_period);
    m_fromLabel = new QLabel(m_period);
    m_toLabel = new QLabel(m_period);
    m_from = new DateField(m_period);
    m_from->setObjectName(QStringLiteral("ProgressFrom"));
    m_to = new DateField(m_period);
    m_to->setObjectName(QStringLiteral("ProgressTo"));
    m_fromLabel->setBuddy(m_from->lineEdit());
    m_toLabel->setBuddy(m_to->lineEdit());
    form->addWidget(m_periodLabel, 0, 0, 1, 2);
    form->addWidget(m_fromLabel, 1, 0);
    form->addWidget(m_from, 1, 1);
    form->addWidget(m_toLabel, 2, 0);
    form->addWidget(m_to, 2, 1);
    for (DateField *field : {m_from, m_to}) {
        connect(field, &DateField::dateChanged, this, [this] {
            if (m_kind == ProgressKind && isVisible())
                redraw();
        });
    }
    column->addWidget(m_period);
    m_period->hide();
}

void GraphicPanel::drawProgress(int percent)
{
    m_progress->setWords(ProgressChart::appliedWords());
    m_progress->setTreatments(treatmentsOfClient());
    m_progress->setFigures(m_tests
                               ? progressOf(m_tests->tests(), percent, m_from->date(), m_to->date())
                               : QList<ProgressFigures>());
    m_views->setCurrentWidget(m_progress);
}

QHash<int, QStringList> GraphicPanel::treatmentsOfClient() const
{
    QHash<int, QStringList> treatments;
    const QString client = m_session ? m_session->currentClient() : QString();
    if (!m_data || client.isEmpty())
        return treatments;
    const struct
    {
        TherapyStore::Table table;
        const char *key;
        const char *fallback;
    } kinds[] = {{TherapyStore::Table::Punct, "PunctLabel", "Acupuncture"},
                 {TherapyStore::Table::Color, "ColorLabel", "Colour therapy"},
                 {TherapyStore::Table::Freq, "FreqLabel", "Frequency therapy"}};
    for (const auto &kind : kinds) {
        const QString name =
            text(QString::fromLatin1(kind.key), QString::fromLatin1(kind.fallback));
        for (const int test : TherapyStore(m_data.data(), kind.table).treatedTests(client))
            treatments[test].append(name);
    }
    return treatments;
}

void GraphicPanel::onCurrentTestChanged()
{
    // Graph 3 shows the ticked tests, not the current one.
    if (isVisible() && m_kind != 3)
        redraw();
    else if (!isVisible())
        m_dirty = true;
}

void GraphicPanel::onTestsReset()
{
    fillDateList();
    if ((m_kind == 3 || m_kind == ProgressKind) && isVisible())
        redraw();
}

bool GraphicPanel::saveGraph(const QString &path, QString *error)
{
    QWidget *view = m_views->currentWidget();
    const QPixmap picture = view->grab();
    if (!picture.isNull() && picture.save(path, "PNG"))
        return true;
    if (error) {
        QString message = text(QStringLiteral("SaveGraphFailed"),
                               QStringLiteral("The picture could not be saved to %1."));
        *error = message.contains(QLatin1String("%1")) ? message.arg(QDir::toNativeSeparators(path))
                                                       : message;
    }
    return false;
}

void GraphicPanel::onSaveClicked()
{
    QString path =
        Dialogs::saveFile(this, text(QStringLiteral("SaveGraph"), QStringLiteral("Save picture")),
                          QDir::homePath(), QStringLiteral("PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".png");
    QString error;
    if (!saveGraph(path, &error))
        Dialogs::error(this, QString(), error);
}
