#pragma once

#include "treatment/RecipeLine.h"

#include <QList>
#include <QWidget>

class QLabel;

// The acupuncture result as labels in a flowing layout: pieces follow each other on a line
// until one ends it; long texts wrap at 400 pixels and a run of point codes starts a new line
// once it has passed x = 300. Point codes are bold; those the atlas can show are clickable.
class RecipeView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Left = 3;
    static constexpr int Top = 3;
    static constexpr int WrapWidth = 400;
    static constexpr int PointRunLimit = 300;

    explicit RecipeView(QWidget *parent = nullptr);

    // Destroys the labels shown and lays out `lines` from the top.
    void setLines(const RecipeLines &lines);
    const RecipeLines &lines() const { return m_lines; }
    // The labels in the order of the lines.
    const QList<QLabel *> &labels() const { return m_labels; }

Q_SIGNALS:
    void pointRequested(const QString &code, const QWidget *label);

private:
    QLabel *makeLabel(const RecipeLine &line);

    RecipeLines m_lines;
    QList<QLabel *> m_labels;
};
