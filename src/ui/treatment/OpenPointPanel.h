#pragma once

#include "app/WorkPage.h"
#include "treatment/OpenPointListing.h"
#include "treatment/OpenPointTables.h"

#include <QDate>
#include <QList>
#include <QPixmap>
#include <QString>

#include <optional>

class MeridianClock;
class OpenPointPictures;
class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QTimer;

// The open-points page (`OpenPointPanel`): for the date in `PointDate` and the two-hour period
// chosen on the meridian clock, the points that the method chosen in `MethodGroup` opens, in
// `PointGroup`; the chosen point shown on its body picture for the side chosen with `left` /
// `right`. The knowledge lives in the time tables of the data folder's Data/, reread at every
// recomputation so an edited table counts at once.
class OpenPointPanel : public WorkPage
{
    Q_OBJECT
public:
    explicit OpenPointPanel(QWidget *parent = nullptr);

    // Sizes the pictures, chooses the first method and its first point.
    void enter() override;
    void leave() override;
    void relayout() override;

    // The client's photo, shown beside the list under the midday-midnight method.
    void setPhoto(const QPixmap &photo);

    // The handlers, public for the keyboard and for tests.
    void PointDateChange(const QDate &date);
    void MethodGroupClick(int method);
    // A press on the clock picture at `pos` (its own coordinates).
    void Image5MouseDown(const QPoint &pos);
    // A press on the caption label of `period`.
    void Label5MouseDown(int period);
    void PointGroupClick();
    void OpenPointTimerTimer();

    QDate date() const { return m_date; }
    int period() const { return m_period; }
    int method() const { return m_method; }
    bool rightSide() const;
    const QList<OpenPoint> &points() const { return m_points; }
    // The day of the method's cycle for the chosen date; nothing when the day reference is
    // missing.
    std::optional<int> cycleDay() const;
    QTimer *blinkTimer() const { return m_timer; }
    OpenPointPictures *pictures() const { return m_pictures; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setDayBeginsAt23(bool on);
    void buildPage();
    QWidget *buildClock();
    void bindTexts();
    void selectPeriod(int period);
    // Reloads the tables and fills the list; no item is selected.
    void recompute();
    void selectFirstPoint();
    void fillTexts();
    QString itemText(const OpenPoint &point) const;
    void showInfo();

    std::optional<int> m_n0;
    QDate m_date;
    int m_period = -1;
    int m_method = 0;
    QList<OpenPoint> m_points;
    OpenPointTables m_tables;
    QString m_failedFile;
    QStringList m_unknownCells; // table cells of the period that name no known point
    bool m_dayAt23 = false;
    QCheckBox *m_dayAt23Box = nullptr;
    int m_blinkCount = 0;
    QPixmap m_photo;

    QLabel *m_dateCaption = nullptr;
    QDateEdit *m_dateEdit = nullptr;
    QLabel *m_clockCaption = nullptr;
    MeridianClock *m_clock = nullptr;
    QList<QLabel *> m_clockLabels;
    QLabel *m_info = nullptr;
    QGroupBox *m_methodBox = nullptr;
    QButtonGroup *m_methods = nullptr;
    QGroupBox *m_sideBox = nullptr;
    QRadioButton *m_left = nullptr;
    QRadioButton *m_right = nullptr;
    QLabel *m_listCaption = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_foto = nullptr;
    OpenPointPictures *m_pictures = nullptr;
    QTimer *m_timer = nullptr;
};
