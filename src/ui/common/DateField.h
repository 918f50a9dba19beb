#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date typed as people write it ("12.03.1975", "12031975", "12/3/75") or picked from a
// calendar. Empty means no date. What is typed stays as typed until the field is left; then
// a date is written back in full, and text that is no date is marked and kept for mending.
class DateField : public QWidget
{
    Q_OBJECT
public:
    explicit DateField(QWidget *parent = nullptr);

    // The date the text means; invalid while the field is empty or holds no date.
    QDate date() const;
    void setDate(const QDate &date);
    // Whether something is typed that means no date.
    bool holdsNoDate() const;
    // The month the calendar opens at while the field is empty.
    void setEmptyCalendarPage(const QDate &date) { m_emptyPage = date; }
    void setMaximumDate(const QDate &date) { m_maximum = date; }
    QLineEdit *lineEdit() const { return m_edit; }

Q_SIGNALS:
    void dateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tidy();
    void showCalendar();
    void markInvalid(bool invalid);

    QLineEdit *m_edit = nullptr;
    QToolButton *m_button = nullptr;
    QDate m_emptyPage;
    QDate m_maximum;
};
