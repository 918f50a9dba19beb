#pragma once

#include <QDateTime>
#include <QFrame>

class QLabel;
class QToolButton;

// One row of a therapy test-date list, 25 pixels high: the test's date (label `Date`, bold
// while the test is the selected one) and a comment icon (`Comment` when the test has a
// comment in the sub-mode's table, `NoComment` otherwise).
class TTreatmentFrame : public QFrame
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 25;

    TTreatmentFrame(int codeTest, const QDateTime &date, QWidget *parent = nullptr);

    int codeTest() const { return m_codeTest; }
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    void setHasComment(bool has);
    bool hasComment() const { return m_hasComment; }
    static QString dateText(const QDateTime &date);

Q_SIGNALS:
    void dateClicked(int codeTest);
    void commentClicked(int codeTest);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_codeTest;
    bool m_selected = false;
    bool m_hasComment = false;
    QLabel *m_date;
    QToolButton *m_comment;
    QToolButton *m_noComment;
};
