#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The note on what is measured and how the readings are meant, over the main window at the
// first start. It waits for nothing: the program goes on beside it, and it comes back at the
// next start until the practitioner has closed it once.
class MethodNoticeForm : public QDialog
{
    Q_OBJECT
public:
    explicit MethodNoticeForm(QWidget *parent = nullptr);

    // Shows the note over `window` unless it was closed at an earlier start.
    static MethodNoticeForm *showOnce(QWidget *window);

private:
    void acknowledge();

    QLabel *m_text = nullptr;
    QPushButton *m_close = nullptr;
};
