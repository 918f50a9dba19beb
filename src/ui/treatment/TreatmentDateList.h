#pragma once

#include <QDateTime>
#include <QList>
#include <QScrollArea>
#include <QSet>

class TTreatmentFrame;
class QVBoxLayout;

// The test-date list of a therapy sub-mode: one TTreatmentFrame row per test of the client,
// newest first, stacked from the top.
class TreatmentDateList : public QScrollArea
{
    Q_OBJECT
public:
    struct Entry
    {
        int codeTest = 0;
        QDateTime date;
    };

    explicit TreatmentDateList(const QString &objectName, QWidget *parent = nullptr);

    void setTests(const QList<Entry> &tests, const QSet<int> &commented);
    void select(int codeTest);
    void setHasComment(int codeTest, bool has);
    TTreatmentFrame *row(int codeTest) const;
    QList<TTreatmentFrame *> rows() const { return m_rows; }

Q_SIGNALS:
    void dateChosen(int codeTest);
    void commentRequested(int codeTest);

private:
    QWidget *m_contents;
    QVBoxLayout *m_column;
    QList<TTreatmentFrame *> m_rows;
};
