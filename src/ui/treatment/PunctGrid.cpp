#include "PunctGrid.h"

#include "localization/LanguageApplier.h"
#include "records/TestRecord.h"
#include "ryodoraku/ChannelCard.h"
#include "ryodoraku/CorridorEvaluation.h"

#include <QHeaderView>

namespace {

const char *const kRoman[] = {"I", "II", "III", "IV", "V", "VI",
                              "VII", "VIII", "IX", "X", "XI", "XII"};

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

} // namespace

PunctGrid::PunctGrid(QWidget *parent)
    : QTableWidget(13, 3, parent)
{
    setObjectName(QStringLiteral("PunctGrid"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(13 * 22 + 2 * frameWidth());
    for (int r = 0; r < 13; ++r) {
        for (int c = 0; c < 3; ++c)
            setItem(r, c, cell(QString()));
    }
    for (int m = 1; m <= 12; ++m)
        item(m, 0)->setText(QStringLiteral("%1  %2").arg(QLatin1String(kRoman[m - 1]),
                                                         Channels::meridianOfNumber(m)));
    QFont bold = font();
    bold.setBold(true);
    for (int c = 0; c < 3; ++c) {
        item(0, c)->setFont(bold);
        item(0, c)->setBackground(QColor(0xe3, 0xe9, 0xef));
    }
    auto &texts = LanguageApplier::instance();
    const QStringList keys{QStringLiteral("AnalChannel"), QStringLiteral("Left"),
                           QStringLiteral("Right")};
    const QStringList fallbacks{QStringLiteral("Meridian"), QStringLiteral("Left"),
                                QStringLiteral("Right")};
    for (int c = 0; c < 3; ++c)
        texts.bindWithFallback(this, keys.at(c), fallbacks.at(c),
                               [this, c](const QString &t) { item(0, c)->setText(t); });
}

void PunctGrid::showTest(const TestRecord *test, int percent)
{
    const CorridorEvaluation corridor = test ? evaluate(*test, percent) : CorridorEvaluation{};
    for (int m = 1; m <= 12; ++m) {
        const QString code = Channels::meridianOfNumber(m);
        for (int side = 0; side < 2; ++side) {
            QTableWidgetItem *it = item(m, 1 + side);
            if (!test) {
                it->setText(QString());
                it->setBackground(QBrush());
                continue;
            }
            const int channel = Channels::indexOf(side == 0 ? QLatin1Char('L') : QLatin1Char('R'), code);
            const int value = test->values[size_t(channel)];
            it->setText(QString::number(value));
            const QColor colour = conductionColor(int(classify(value, corridor)));
            it->setBackground(colour.lighter(160));
        }
    }
}
