#include "TTreatmentComment.h"

#include "TherapyTexts.h"
#include "common/Dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TTreatmentComment::TTreatmentComment(DataModule *data, TherapyStore::Table table,
                                     const QString &client, int codeTest, QWidget *parent)
    : QDialog(parent)
    , m_store(data, table)
    , m_client(client)
    , m_codeTest(codeTest)
{
    setObjectName(QStringLiteral("TTreatmentComment"));
    TherapyTexts::bindTitle(this, QStringLiteral("Comment"), QStringLiteral("Comment"));
    resize(460, 300);
    auto *column = new QVBoxLayout(this);
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("CommentText"));
    column->addWidget(m_edit, 1);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("CommentCount"));
    m_count->setAlignment(Qt::AlignRight);
    m_count->setStyleSheet(QStringLiteral("color: #6a7783;"));
    column->addWidget(m_count);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *saveButton = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    saveButton->setObjectName(QStringLiteral("SaveButton"));
    saveButton->setDefault(true);
    QPushButton *cancelButton = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    TherapyTexts::bind(saveButton, QStringLiteral("Save"), QStringLiteral("Save"));
    TherapyTexts::bind(cancelButton, QStringLiteral("Cancel"), QStringLiteral("Cancel"));
    column->addWidget(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_edit, &QPlainTextEdit::textChanged, this, &TTreatmentComment::limitLength);

    QString error;
    const auto row = m_store.load(m_client, m_codeTest, &error);
    m_edit->setPlainText(row ? row->comment : QString());
    m_hasComment = row && !row->comment.trimmed().isEmpty();
    limitLength();
}

QString TTreatmentComment::text() const
{
    return m_edit->toPlainText();
}

void TTreatmentComment::setText(const QString &text)
{
    m_edit->setPlainText(text);
}

void TTreatmentComment::limitLength()
{
    const QString t = m_edit->toPlainText();
    if (t.size() > TherapyStore::MaxCommentLength) {
        // Typing or pasting past the limit keeps the first 1000 characters.
        QSignalBlocker block(m_edit);
        m_edit->setPlainText(t.left(TherapyStore::MaxCommentLength));
        m_edit->moveCursor(QTextCursor::End);
    }
    m_count->setText(QStringLiteral("%1 / %2").arg(m_edit->toPlainText().size()).arg(TherapyStore::MaxCommentLength));
}

bool TTreatmentComment::save()
{
    QString error;
    if (!m_store.saveComment(m_client, m_codeTest, text(), &error)) {
        Dialogs::error(this, TherapyTexts::text(QStringLiteral("Error"), QStringLiteral("Error")),
                       TherapyTexts::text(QStringLiteral("CommentNotSaved"), QStringLiteral("The comment was not saved."))
                           + QLatin1Char('\n') + error);
        return false;
    }
    m_hasComment = !text().trimmed().isEmpty();
    return true;
}
