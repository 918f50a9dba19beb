#pragma once

#include "ryodoraku/ChannelMarks.h"

#include <QFrame>
#include <QList>

class QLabel;
class QListWidget;
class QPlainTextEdit;
struct ChannelCard;

// One channel card of the Ryodoraku view: the meridian and its point, the value against the
// mean, the deviation in the conduction colour, the organ, the activity hours and the symptom
// lists to tick. Laid out by hand so the list and card heights follow the view's sizing rules
// whatever the number of symptoms.
class TRiodoracuFrame : public QFrame
{
    Q_OBJECT
public:
    static constexpr int ItemHeight = 16;
    static constexpr int DesignWidth = 983;
    static constexpr int DesignHeight = 199;

    // The look of the cards. The widget that holds them sets it once: parsed per card, it
    // was most of the time a page of 24 cards took to appear.
    static QString cardStyleSheet();

    explicit TRiodoracuFrame(QWidget *parent = nullptr);

    // Fills the card and sizes it for its lists: both symptom lists are 16 pixels per item of
    // the longer list plus 5, the organ memo and the card grow with them.
    void setCard(const ChannelCard &card);
    int channel() const { return m_channel; }

    // The ticks of the card's lists, and back; the core keeps them per test.
    CardTicks ticks() const;
    void setTicks(const CardTicks &ticks);

    // Places the components for the current width.
    void FrameResize();

    QListWidget *firstBox() const { return m_firstBox; }
    QListWidget *seccondBox() const { return m_seccondBox; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *label(const QString &name);
    QListWidget *checkList(const QString &name);
    void fillList(QListWidget *list, const QStringList &items);
    void sizeVertically();
    int leftColumnWidth() const;

    int m_channel = 0;
    int m_listHeight = 5;
    int m_extraHeight = ItemHeight + 5;

    QLabel *m_sLabel4 = nullptr;
    QLabel *m_sLabel3 = nullptr;
    QLabel *m_sLabel2 = nullptr;
    QLabel *m_sLabel1 = nullptr;
    QListWidget *m_seccondBox = nullptr;
    QLabel *m_pointValue = nullptr;
    QLabel *m_pointName = nullptr;
    QLabel *m_percentage = nullptr;
    QListWidget *m_otherBox3 = nullptr;
    QListWidget *m_otherBox2 = nullptr;
    QListWidget *m_otherBox1 = nullptr;
    QPlainTextEdit *m_organList = nullptr;
    QLabel *m_meridianName = nullptr;
    QLabel *m_meridianLabel = nullptr;
    QLabel *m_image1 = nullptr;
    QLabel *m_firstSymptoms = nullptr;
    QListWidget *m_firstBox = nullptr;
    QLabel *m_conduct = nullptr;
    QLabel *m_active = nullptr;
};
