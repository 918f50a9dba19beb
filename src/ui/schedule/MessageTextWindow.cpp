#include "MessageTextWindow.h"

#include "ScheduleTexts.h"
#include "common/Dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
MessageTextWindow::Handler &handler()
{
    static MessageTextWindow::Handler h;
    return h;
}
} // namespace

MessageTextWindow::MessageTextWindow(QWidget *parent, int maxLength)
    : QDialog(parent)
    , m_memo(new QPlainTextEdit(this))
    , m_maxLength(maxLength)
{
    setObjectName(QStringLiteral("TForm3"));
    resize(380, 200);
    auto *column = new QVBoxLayout(this);
    // What the box is for, and how much it holds.
    auto *caption = new QLabel(this);
    caption->setObjectName(QStringLiteral("MessageCaption"));
    caption->setWordWrap(true);
    caption->setBuddy(m_memo);
    ScheduleTexts::bind(caption, QStringLiteral("MessageTextCaption"),
                        QStringLiteral("The text shown when the reminder comes (at most %1 characters):"),
                        [caption, maxLength](const QString &t) {
                            caption->setText(t.contains(QLatin1String("%1")) ? t.arg(maxLength) : t);
                        });
    column->addWidget(caption);
    m_memo->setObjectName(QStringLiteral("MessageMemo"));
    m_memo->setTabChangesFocus(true);
    column->addWidget(m_memo, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkButton"));
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    column->addWidget(buttons);

    ScheduleTexts::bind(this, QStringLiteral("Message"), QStringLiteral("Message"),
                        [this](const QString &t) { setWindowTitle(t); });
    ScheduleTexts::bind(ok, QStringLiteral("OK"), QStringLiteral("OK"),
                        [ok](const QString &t) { ok->setText(t); });
    ScheduleTexts::bind(cancel, QStringLiteral("Cancel"), QStringLiteral("Cancel"),
                        [cancel](const QString &t) { cancel->setText(t); });
    connect(buttons, &QDialogButtonBox::accepted, this, &MessageTextWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MessageTextWindow::reject);
}

QString MessageTextWindow::text() const
{
    return m_memo->toPlainText().trimmed();
}

void MessageTextWindow::setText(const QString &text)
{
    m_memo->setPlainText(text);
    m_memo->selectAll();
}

void MessageTextWindow::accept()
{
    if (text().size() > m_maxLength) {
        Dialogs::message(this, ScheduleTexts::problemText(QStringLiteral("FieldTooLong"),
                                                          QStringLiteral("Message"), m_maxLength));
        return;
    }
    QDialog::accept();
}

QString MessageTextWindow::ask(QWidget *parent, const QString &text, int maxLength)
{
    if (handler())
        return handler()(text).trimmed().left(maxLength);
    MessageTextWindow window(parent, maxLength);
    window.setText(text);
    if (window.exec() != QDialog::Accepted)
        return QString();
    return window.text();
}

void MessageTextWindow::setHandler(Handler h)
{
    handler() = std::move(h);
}

void MessageTextWindow::clearHandler()
{
    handler() = nullptr;
}
