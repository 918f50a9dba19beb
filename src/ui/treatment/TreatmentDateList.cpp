#include "TreatmentDateList.h"

#include "TTreatmentFrame.h"

#include <QVBoxLayout>

TreatmentDateList::TreatmentDateList(const QString &objectName, QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(objectName);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_contents = new QWidget(this);
    m_contents->setObjectName(objectName + QStringLiteral("Contents"));
    m_column = new QVBoxLayout(m_contents);
    m_column->setContentsMargins(2, 2, 2, 2);
    m_column->setSpacing(1);
    m_column->addStretch(1);
    setWidget(m_contents);
}

void TreatmentDateList::setTests(const QList<Entry> &tests, const QSet<int> &commented)
{
    qDeleteAll(m_rows);
    m_rows.clear();
    for (const Entry &entry : tests) {
        auto *frame = new TTreatmentFrame(entry.codeTest, entry.date, m_contents);
        frame->setHasComment(commented.contains(entry.codeTest));
        connect(frame, &TTreatmentFrame::dateClicked, this, &TreatmentDateList::dateChosen);
        connect(frame, &TTreatmentFrame::commentClicked, this, &TreatmentDateList::commentRequested);
        m_column->insertWidget(m_column->count() - 1, frame);
        m_rows.append(frame);
    }
}

void TreatmentDateList::select(int codeTest)
{
    for (TTreatmentFrame *frame : std::as_const(m_rows))
        frame->setSelected(frame->codeTest() == codeTest);
    if (TTreatmentFrame *frame = row(codeTest))
        ensureWidgetVisible(frame);
}

void TreatmentDateList::setHasComment(int codeTest, bool has)
{
    if (TTreatmentFrame *frame = row(codeTest))
        frame->setHasComment(has);
}

TTreatmentFrame *TreatmentDateList::row(int codeTest) const
{
    for (TTreatmentFrame *frame : m_rows)
        if (frame->codeTest() == codeTest)
            return frame;
    return nullptr;
}
