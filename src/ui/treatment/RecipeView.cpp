#include "RecipeView.h"

#include "PointLabel.h"
#include "treatment/AtlasPoints.h"

#include <QLabel>

#include <algorithm>

namespace {

constexpr int kGap = 10;       // between pieces of one line
constexpr int kPointGap = 5;   // between point codes of one list
constexpr int kLineGap = 2;    // below every line
constexpr int kHeadingGap = 5; // above a heading
constexpr int kBlockGap = 10;  // above a separator that closes a block

bool isSeparator(const RecipeLine &line)
{
    return line.kind == RecipeLine::Kind::Plain && line.text.startsWith(QLatin1String("---"));
}

} // namespace

RecipeView::RecipeView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("RecipeView"));
    setAutoFillBackground(false);
}

QLabel *RecipeView::makeLabel(const RecipeLine &line)
{
    QLabel *label = nullptr;
    switch (line.kind) {
    case RecipeLine::Kind::Point:
        if (AtlasPoints::linksTo(line.text)) {
            auto *point = new PointLabel(line.text, this);
            connect(point, &PointLabel::clicked, this,
                    [this, point](const QString &code) { Q_EMIT pointRequested(code, point); });
            label = point;
        } else {
            label = new QLabel(line.text, this); // bold, but the atlas cannot show it
        }
        label->setObjectName(QStringLiteral("RecipePoint"));
        label->setStyleSheet(QStringLiteral("font-weight: bold; color: #1b3a5c;"));
        break;
    case RecipeLine::Kind::Heading:
        label = new QLabel(line.text, this);
        label->setObjectName(QStringLiteral("RecipeHeading"));
        label->setStyleSheet(QStringLiteral("text-decoration: underline; color: #1f6f8b;"));
        break;
    case RecipeLine::Kind::Attention:
        label = new QLabel(line.text, this);
        label->setObjectName(QStringLiteral("RecipeAttention"));
        label->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold;"));
        break;
    case RecipeLine::Kind::Plain:
        label = new QLabel(line.text, this);
        label->setObjectName(QStringLiteral("RecipeText"));
        if (isSeparator(line))
            label->setStyleSheet(QStringLiteral("color: #8a98a8;"));
        break;
    }
    label->setTextFormat(Qt::PlainText);
    label->adjustSize();
    if (label->width() > WrapWidth) {
        label->setWordWrap(true);
        label->resize(WrapWidth, label->heightForWidth(WrapWidth));
    }
    return label;
}

void RecipeView::setLines(const RecipeLines &lines)
{
    qDeleteAll(m_labels);
    m_labels.clear();
    m_lines = lines;

    int x = Left;
    int y = Top;
    int lineHeight = 0;
    int right = 0;
    const auto endLine = [&] {
        y += lineHeight + kLineGap;
        x = Left;
        lineHeight = 0;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const RecipeLine &line = lines.at(i);
        QLabel *label = makeLabel(line);
        const bool point = line.kind == RecipeLine::Kind::Point;
        if (x == Left && i > 0) {
            if (isSeparator(line))
                y += kBlockGap;
            else if (line.kind == RecipeLine::Kind::Heading)
                y += kHeadingGap;
        }
        // A list of point codes goes on below once it has run past the limit.
        if (point && x > PointRunLimit)
            endLine();
        label->move(x, y);
        label->show();
        m_labels.append(label);
        right = std::max(right, x + label->width());
        lineHeight = std::max(lineHeight, label->height());
        if (line.endsLine || i == lines.size() - 1) {
            endLine();
        } else {
            const bool nextPoint = lines.at(i + 1).kind == RecipeLine::Kind::Point;
            x += label->width() + (point && nextPoint ? kPointGap : kGap);
        }
    }
    setMinimumSize(right + Left, y + Top);
    resize(std::max(width(), right + Left), y + Top);
}
