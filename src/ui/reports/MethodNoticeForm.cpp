#include "MethodNoticeForm.h"

#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "reports/MethodNote.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MethodNoticeForm::MethodNoticeForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TMethodNotice"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Shown beside the window, never taking the keyboard from the page under it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    auto *column = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("MethodNoteText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(420);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_close = buttons->button(QDialogButtonBox::Ok);
    m_close->setObjectName(QStringLiteral("MethodNoteOk"));
    column->addWidget(m_text);
    column->addWidget(buttons);
    auto &applier = LanguageApplier::instance();
    applier.bindWithFallback(this, QStringLiteral("MethodNoteTitle"),
                             QStringLiteral("About the measurements"),
                             [this](const QString &t) { setWindowTitle(t); });
    applier.bind(this, QStringLiteral("MethodNote"), [this](const QString &t) {
        m_text->setText(t.isEmpty() ? MethodNote::text() : t);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &MethodNoticeForm::acknowledge);
}

MethodNoticeForm *MethodNoticeForm::showOnce(QWidget *window)
{
    if (MethodNote::acknowledged())
        return nullptr;
    auto *form = new MethodNoticeForm(window);
    form->show();
    return form;
}

void MethodNoticeForm::acknowledge()
{
    QString error;
    if (!MethodNote::acknowledge(&error))
        Dialogs::message(this, error);
    accept();
}
