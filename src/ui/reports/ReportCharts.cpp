#include "ReportCharts.h"

#include "common/ErrorOut.h"
#include "ryodoraku/PolarDiagram.h"
#include "ryodoraku/ProgressChart.h"
#include "ryodoraku/TestChart.h"
#include "ryodoraku/TestGraphs.h"

#include <QCoreApplication>
#include <QDir>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace ReportCharts {

namespace {

QStringList textsLeftToRight(const QGraphicsScene *scene)
{
    QList<std::pair<QPointF, QString>> found;
    for (const QGraphicsItem *item : scene->items()) {
        if (!item->isVisible())
            continue;
        QString text;
        if (const auto *rich = qgraphicsitem_cast<const QGraphicsTextItem *>(item))
            text = rich->toPlainText();
        else if (const auto *plain = qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(item))
            text = plain->text();
        if (!text.isEmpty())
            found.append({item->sceneBoundingRect().center(), text});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first.x() < b.first.x(); });
    QStringList texts;
    for (const auto &entry : std::as_const(found))
        texts.append(entry.second);
    return texts;
}

// Laid out as if shown, but never on screen, and painted at print resolution.
QImage paint(QWidget *view)
{
    // The chart settles its layout through posted events, which must all have happened before
    // it is painted.
    view->setAttribute(Qt::WA_DontShowOnScreen);
    view->resize(LayoutSize);
    view->show();
    QCoreApplication::sendPostedEvents();

    QImage image(LayoutSize * Scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(Scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    view->render(&painter);
    painter.end();
    return image;
}

bool write(const QImage &image, const QString &path, QString *error)
{
    // Light compression: the file lives only until the page is printed.
    if (image.save(path, "PNG", 90))
        return true;
    setError(error, QStringLiteral("The chart could not be written to %1.")
                        .arg(QDir::toNativeSeparators(path)));
    return false;
}

} // namespace

QImage render(int kind, const TestRecord &test, int percent, QStringList *drawnTexts)
{
    std::unique_ptr<QWidget> view;
    TestChart *chart = nullptr;
    if (kind == 5) {
        auto *polar = new PolarDiagram;
        view.reset(polar);
        TestGraphs::draw(kind, test, percent, nullptr, polar);
    } else {
        chart = new TestChart;
        view.reset(chart);
        TestGraphs::draw(kind, test, percent, chart, nullptr);
    }
    QImage image = paint(view.get());
    if (drawnTexts)
        *drawnTexts = chart ? textsLeftToRight(chart->scene()) : QStringList();
    return image;
}

bool save(int kind, const TestRecord &test, int percent, const QString &path, QString *error)
{
    return write(render(kind, test, percent), path, error);
}

QImage renderProgress(const QList<ProgressFigures> &figures)
{
    ProgressChart chart;
    chart.setWords(ProgressChart::appliedWords());
    chart.setFigures(figures);
    return paint(&chart);
}

bool saveProgress(const QList<ProgressFigures> &figures, const QString &path, QString *error)
{
    return write(renderProgress(figures), path, error);
}

} // namespace ReportCharts
