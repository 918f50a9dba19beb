#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;

// The message window (`TForm3`): the text a reminder shows, typed in a field with OK.
// Tests answer it through setHandler(), as they answer the program's dialogs.
class MessageTextWindow : public QDialog
{
    Q_OBJECT
public:
    explicit MessageTextWindow(QWidget *parent = nullptr, int maxLength = 1000);

    // Asks for the text, starting from `text`. Empty when cancelled or left empty.
    static QString ask(QWidget *parent, const QString &text, int maxLength);

    using Handler = std::function<QString(const QString &current)>;
    static void setHandler(Handler handler);
    static void clearHandler();

    QString text() const;
    void setText(const QString &text);

    void accept() override;

private:
    QPlainTextEdit *m_memo;
    int m_maxLength;
};
