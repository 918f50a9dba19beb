#pragma once

#include "symptoms/InquirerItem.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QToolButton;

// One question row of the inquiry page: the answered mark (a tick that clears the answer when
// clicked), the question text, the expand image and the panel of answer buttons beneath it.
// The panel starts hidden; showing or hiding it moves the rows after it in the page's column.
// The answer counts only while the mark is shown.
class InquirerQuestion : public QWidget
{
    Q_OBJECT
public:
    InquirerQuestion(int index, const InquirerItem &item, QWidget *parent = nullptr);

    int index() const { return m_index; }
    const InquirerItem &item() const { return m_item; }

    // The 1-based number of the chosen answer, 0 when the question is unanswered (mark hidden),
    // whatever button may still be checked.
    int answer() const;
    bool isAnswered() const;
    // Checks answer k and shows the mark; 0 or a number the question lacks clears the answer.
    // Emits nothing: only the user's clicks count as changes.
    void setAnswer(int k);
    void clearAnswer();

    bool isExpanded() const;
    void setExpanded(bool expanded);
    void toggleExpanded() { setExpanded(!isExpanded()); }

    QList<QRadioButton *> answerButtons() const { return m_buttons; }
    // The texts beside the buttons (they wrap where a button's own text would not).
    QList<QLabel *> answerTexts() const { return m_answerLabels; }
    QStringList interpretations() const { return m_item.interpretations; }
    QWidget *answerPanel() const { return m_panel; }
    QToolButton *answeredMark() const { return m_mark; }
    QToolButton *expandImage() const { return m_expand; }
    QLabel *questionLabel() const { return m_label; }

    // Tooltips of the two images, in the interface language.
    void setHints(const QString &clearHint, const QString &expandHint);

Q_SIGNALS:
    // The user chose or cleared an answer.
    void answerChanged(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onUserChoice();
    void uncheckAll();

    int m_index;
    InquirerItem m_item;
    QToolButton *m_mark = nullptr;
    QLabel *m_label = nullptr;
    QToolButton *m_expand = nullptr;
    QWidget *m_panel = nullptr;
    QButtonGroup *m_group = nullptr;
    QList<QRadioButton *> m_buttons;
    QList<QLabel *> m_answerLabels;
    int m_shown = 0; // the answer last reported
    bool m_setting = false;
};
