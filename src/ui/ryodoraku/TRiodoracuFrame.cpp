#include "TRiodoracuFrame.h"

#include "ryodoraku/ChannelCard.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>

namespace {

constexpr int kHeaderHeight = 28;  // MeridianLabel and the header band
constexpr int kCaptionHeight = 20; // the symptom captions
constexpr int kConductHeight = 22;

QString fill(const QColor &color)
{
    return QStringLiteral("background: %1;").arg(color.name());
}

// A small yin-yang mark for the card's top right corner.
QPixmap yinYang(int size)
{
    QPixmap pixmap(size * 2, size * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size - 1, size - 1);
    const qreal h = r.height() / 2;
    p.setPen(QPen(QColor(0x3a, 0x4a, 0x5a), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(r);
    QPainterPath dark;
    dark.moveTo(r.center().x(), r.top());
    dark.arcTo(r, 90, 180);
    dark.arcTo(QRectF(r.center().x() - h / 2, r.center().y(), h, h), 270, 180);
    dark.arcTo(QRectF(r.center().x() - h / 2, r.top(), h, h), 270, -180);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x4a, 0x5a));
    p.drawPath(dark);
    const qreal dot = h / 3;
    p.drawEllipse(QPointF(r.center().x(), r.top() + h / 2), dot / 2, dot / 2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(r.center().x(), r.bottom() - h / 2), dot / 2, dot / 2);
    return pixmap;
}

// Long meridian and point names (Russian ones especially) would be cut off in their fixed
// widths: the font steps down a little, and the whole name stays in the tool tip.
void fitText(QLabel *label)
{
    QFont font = label->parentWidget()->font();
    font.setBold(true);
    // The padding of the style sheet, and a little for the difference between measured and
    // painted bold text.
    const int room = label->width() - 14;
    while (font.pointSizeF() > 7.0 && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    // Still too long at the smallest size: two short lines read better than a cut word, in a
    // size that lets both lines into the box.
    const bool wrap = QFontMetrics(font).horizontalAdvance(label->text()) > room;
    label->setWordWrap(wrap);
    label->setFont(font);
    while (wrap && font.pointSizeF() > 5.5 && label->heightForWidth(label->width()) > label->height()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
    label->setToolTip(label->text());
}

} // namespace

QString TRiodoracuFrame::cardStyleSheet()
{
    static const QString sheet = QStringLiteral(
        "TRiodoracuFrame { background: white; border: 1px solid #c5d0db; border-radius: 6px; }"
        "QLabel { color: #1f2d3a; }"
        "QLabel#sLabel1, QLabel#sLabel3 { background: #e9eef4; border-radius: 4px; }"
        "QLabel#sLabel4 { background: #f3f5f8; border-radius: 4px; }"
        "QLabel#MeridianLabel { color: #50606f; font-weight: bold; }"
        "QLabel#MeridianName, QLabel#PointName { background: #f4f0e6; border-radius: 3px;"
        " padding: 0 4px; }"
        "QLabel#PointValue { background: white; border: 1px solid #cfd8e1; border-radius: 3px; }"
        "QLabel#Percentage { border-radius: 3px; color: white; font-weight: bold; }"
        "QLabel#Conduct { border-radius: 3px; color: white; font-weight: bold; padding-left: 8px; }"
        "QLabel#FirstSymptoms, QLabel#sLabel2 { color: #50606f; font-weight: bold;"
        " padding-left: 6px; background: transparent; }"
        "QLabel#Active { color: #33495e; padding-left: 6px; }"
        "QPlainTextEdit#OrganList { background: #fbfcfd; border: 1px solid #dde4eb;"
        " border-radius: 4px; color: #2a3947; }"
        "QListWidget { background: white; border: 1px solid #dde4eb; }"
        "QListWidget::item { height: 16px; padding: 0; }"
        "QListWidget#OtherBox1, QListWidget#OtherBox2, QListWidget#OtherBox3 {"
        " background: #fbfcfd; border: 1px dashed #d5dde5; }");
    return sheet;
}

TRiodoracuFrame::TRiodoracuFrame(QWidget *parent)
    : QFrame(parent)
{
    // Any number of cards can coexist: each takes a name of its own.
    static int counter = 0;
    setObjectName(QStringLiteral("TRiodoracuFrame%1").arg(++counter));
    setAttribute(Qt::WA_StyledBackground);

    // Declaration order is stacking order: the bands lie under what they frame.
    m_sLabel4 = label(QStringLiteral("sLabel4"));
    m_sLabel3 = label(QStringLiteral("sLabel3"));
    m_sLabel2 = label(QStringLiteral("sLabel2"));
    m_sLabel2->setText(QStringLiteral("вторичные симптомы"));
    m_sLabel1 = label(QStringLiteral("sLabel1"));
    m_seccondBox = checkList(QStringLiteral("SeccondBox"));
    m_pointValue = label(QStringLiteral("PointValue"));
    m_pointName = label(QStringLiteral("PointName"));
    m_percentage = label(QStringLiteral("Percentage"));
    m_otherBox3 = checkList(QStringLiteral("OtherBox3"));
    m_otherBox2 = checkList(QStringLiteral("OtherBox2"));
    m_otherBox1 = checkList(QStringLiteral("OtherBox1"));
    m_organList = new QPlainTextEdit(this);
    m_organList->setObjectName(QStringLiteral("OrganList"));
    m_organList->setReadOnly(true);
    m_organList->setPlainText(QStringLiteral(" специфический орган"));
    m_organList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_meridianName = label(QStringLiteral("MeridianName"));
    m_meridianLabel = label(QStringLiteral("MeridianLabel"));
    m_image1 = label(QStringLiteral("Image1"));
    m_image1->setPixmap(yinYang(18));
    m_firstSymptoms = label(QStringLiteral("FirstSymptoms"));
    m_firstSymptoms->setText(QStringLiteral("первичные симптомы"));
    m_firstBox = checkList(QStringLiteral("FirstBox"));
    m_conduct = label(QStringLiteral("Conduct"));
    m_active = label(QStringLiteral("Active"));

    for (QLabel *l : {m_pointValue, m_percentage})
        l->setAlignment(Qt::AlignCenter);
    for (QLabel *l : {m_pointName, m_meridianName, m_active, m_conduct, m_firstSymptoms,
                      m_sLabel2, m_meridianLabel})
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    resize(DesignWidth, DesignHeight);
    sizeVertically();
}

QLabel *TRiodoracuFrame::label(const QString &name)
{
    auto *l = new QLabel(this);
    l->setObjectName(name);
    return l;
}

QListWidget *TRiodoracuFrame::checkList(const QString &name)
{
    auto *list = new QListWidget(this);
    list->setObjectName(name);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setTextElideMode(Qt::ElideRight);
    // A click anywhere on a row ticks it, not only on the small box.
    connect(list, &QListWidget::itemClicked, list, [](QListWidgetItem *item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    return list;
}

void TRiodoracuFrame::fillList(QListWidget *list, const QStringList &items)
{
    list->clear();
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text, list);
        // The row's click ticks it (checkList); a user-checkable item would flip twice when
        // the click lands on the box itself.
        item->setFlags(Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, ItemHeight));
        item->setToolTip(text);
    }
}

void TRiodoracuFrame::setCard(const ChannelCard &card)
{
    m_channel = card.channel;
    m_meridianLabel->setText(card.meridianCaption);
    m_meridianName->setText(card.meridianName);
    m_pointName->setText(card.pointName);
    m_pointValue->setText(card.valueText);
    m_percentage->setText(card.percentText);
    m_active->setText(card.activityText);
    m_organList->setPlainText(card.organText);
    m_firstSymptoms->setText(card.firstCaption);
    m_sLabel2->setText(card.secondCaption);
    m_conduct->setText(card.conductionText);
    // Object-name selectors keep these fills above the card's own style sheet.
    m_percentage->setStyleSheet(fill(card.conductionColor));
    m_conduct->setStyleSheet(fill(card.conductionColor)
                             + QStringLiteral("color: %1;").arg(card.conductionTextColor.name()));
    if (card.cardColor.isValid()) {
        m_meridianName->setStyleSheet(fill(card.cardColor));
        m_pointName->setStyleSheet(fill(card.cardColor));
    }
    fillList(m_firstBox, card.firstItems);
    fillList(m_seccondBox, card.secondItems);
    sizeVertically();
}

CardTicks TRiodoracuFrame::ticks() const
{
    const auto read = [](const QListWidget *list) {
        QList<bool> ticks;
        for (int i = 0; i < list->count(); ++i)
            ticks.append(list->item(i)->checkState() == Qt::Checked);
        return ticks;
    };
    CardTicks t;
    t.channel = m_channel;
    t.first = read(m_firstBox);
    t.second = read(m_seccondBox);
    t.extra = {read(m_otherBox1), read(m_otherBox2), read(m_otherBox3)};
    return t;
}

void TRiodoracuFrame::setTicks(const CardTicks &ticks)
{
    const auto write = [](QListWidget *list, const QList<bool> &ticks) {
        for (int i = 0; i < list->count() && i < ticks.size(); ++i)
            list->item(i)->setCheckState(ticks.at(i) ? Qt::Checked : Qt::Unchecked);
    };
    write(m_firstBox, ticks.first);
    write(m_seccondBox, ticks.second);
}

int TRiodoracuFrame::leftColumnWidth() const
{
    return qMax(150, width() / 5);
}

void TRiodoracuFrame::sizeVertically()
{
    const int count = qMax(m_firstBox->count(), m_seccondBox->count());
    m_listHeight = ItemHeight * count + 5;
    m_extraHeight = ItemHeight + 5; // the extra lists are one row high
    const int memo = m_listHeight + m_extraHeight + kConductHeight + kCaptionHeight + 11;
    const int height = kHeaderHeight + memo + 3;
    resize(width(), height);
    // A hidden card gets its resize event only when shown; its parts are placed now.
    FrameResize();
}

void TRiodoracuFrame::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    FrameResize();
}

void TRiodoracuFrame::FrameResize()
{
    const int leftW = leftColumnWidth();
    const int x0 = leftW + 8;
    const int W = qMax(40, width() - x0 - 4);

    // Left column: the caption over the organ memo, the mark at its top right.
    m_meridianLabel->setGeometry(4, 0, leftW - 24, kHeaderHeight);
    m_image1->setGeometry(4 + leftW - 20, 5, 18, 18);
    const int memo = m_listHeight + m_extraHeight + kConductHeight + kCaptionHeight + 11;
    m_organList->setGeometry(4, kHeaderHeight, leftW, memo);

    // Header row.
    m_sLabel1->setGeometry(x0, 0, W, kHeaderHeight);
    const int v = W / 7 - 5;
    const int y = 3, h = kHeaderHeight - 6;
    int x = x0 + 2;
    m_meridianName->setGeometry(x, y, int(1.5 * v), h);
    x += int(1.5 * v) + 2;
    m_pointName->setGeometry(x, y, v, h);
    x += v + 2;
    m_pointValue->setGeometry(x, y, v, h);
    x += v + 2;
    m_percentage->setGeometry(x, y, v, h);
    x += v + 2;
    m_active->setGeometry(x, y, qMax(0, x0 + W - 4 - x), h);
    fitText(m_meridianName);
    fitText(m_pointName);

    // Captions and the two symptom lists side by side.
    const int captionTop = kHeaderHeight + 1;
    m_sLabel3->setGeometry(x0, captionTop, W, kCaptionHeight);
    m_firstSymptoms->setGeometry(x0, captionTop, W / 2 - 2, kCaptionHeight);
    const int secondLeft = m_firstSymptoms->geometry().right() + 2;
    m_sLabel2->setGeometry(secondLeft, captionTop,
                           qMax(0, m_sLabel3->geometry().right() - 4 - secondLeft), kCaptionHeight);
    const int listTop = captionTop + kCaptionHeight + 2;
    m_firstBox->setGeometry(x0, listTop, W / 2 + 1, m_listHeight);
    m_seccondBox->setGeometry(secondLeft - 1, listTop, m_sLabel2->width() + 2, m_listHeight);

    // The three extra lists just under the first list, on their band.
    const int extraTop = listTop + m_listHeight;
    m_sLabel4->setGeometry(x0, extraTop - 3, W, m_extraHeight + 5);
    const int third = W / 3;
    const int ew = third - 3;
    m_otherBox1->setGeometry(x0 + 1, extraTop, ew, m_extraHeight);
    m_otherBox2->setGeometry(x0 + 1 + ew + 1, extraTop, ew, m_extraHeight);
    const int x3 = x0 + 1 + 2 * (ew + 1);
    m_otherBox3->setGeometry(x3, extraTop, qMax(0, x0 + W - 8 - x3), m_extraHeight);

    m_conduct->setGeometry(x0, m_sLabel4->geometry().bottom() + 3, W, kConductHeight);
}
