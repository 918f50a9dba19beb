#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>

// The anatomy display window: a front view of the body with its 19 regions in the colours the
// program sends, and one statistics line per channel beside it.
class TDisplayForm : public QWidget {
    Q_OBJECT
public:
    explicit TDisplayForm(int bodyModel);

    void setCaption(const QString &key, const QString &text);
    void setRegionColor(int region, int windowsColor);
    void addStatisticsLine(const QString &text);
    void setLastStatisticsColor(int red, int green, int blue);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void publish(); // mirrors the state into properties, for whoever inspects the window
    QString caption(const char *key, const char *fallback) const;

    int m_bodyModel = 0;
    QMap<int, QColor> m_regions;
    QList<QString> m_lines;
    QList<QColor> m_lineColors;
    QHash<QString, QString> m_captions;
};
