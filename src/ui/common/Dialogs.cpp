#include "Dialogs.h"

#include "localization/LanguageApplier.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
Dialogs::Handler &handler()
{
    static Dialogs::Handler h;
    return h;
}
} // namespace

void Dialogs::setHandler(Handler h)
{
    handler() = std::move(h);
}

void Dialogs::clearHandler()
{
    handler() = nullptr;
}

namespace {

// A box wide enough that its title is never cut to a few letters, with the buttons in the
// interface language.
int runBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: 22em; }"));
    const QList<QPair<QMessageBox::StandardButton, const char *>> texts = {
        {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"}, {QMessageBox::Ok, "OK"}};
    for (const auto &[which, key] : texts) {
        if (QAbstractButton *button = box.button(which)) {
            const QString t = LanguageApplier::instance().text(QLatin1String(key));
            if (!t.isEmpty())
                button->setText(t);
        }
    }
    return box.exec();
}

} // namespace

QString Dialogs::dispatch(QWidget *parent, const Request &r)
{
    if (handler())
        return handler()(r);
    switch (r.kind) {
    case Kind::Message:
        runBox(parent, QMessageBox::Information, r.caption, r.text, QMessageBox::Ok,
               QMessageBox::Ok);
        return {};
    case Kind::Error:
        runBox(parent, QMessageBox::Critical, r.caption, r.text, QMessageBox::Ok, QMessageBox::Ok);
        return {};
    case Kind::Question:
    case Kind::QuestionYes:
        return runBox(parent, QMessageBox::Question, r.caption, r.text,
                      QMessageBox::Yes | QMessageBox::No,
                      r.kind == Kind::QuestionYes ? QMessageBox::Yes : QMessageBox::No)
                       == QMessageBox::Yes
                   ? QStringLiteral("yes")
                   : QStringLiteral("no");
    case Kind::OpenFile:
        return QFileDialog::getOpenFileName(parent, r.caption, r.folder, r.text);
    case Kind::SaveFile:
        return QFileDialog::getSaveFileName(parent, r.caption, r.folder, r.text);
    case Kind::Folder:
        return QFileDialog::getExistingDirectory(parent, r.caption, r.folder);
    case Kind::OpenFiles:
        return QFileDialog::getOpenFileNames(parent, r.caption, r.folder, r.text).join(QLatin1Char('\n'));
    }
    return {};
}

void Dialogs::message(QWidget *parent, const QString &text)
{
    dispatch(parent, {Kind::Message, QApplication::applicationDisplayName(), text, {}});
}

void Dialogs::error(QWidget *parent, const QString &caption, const QString &text)
{
    dispatch(parent, {Kind::Error, caption, text, {}});
}

bool Dialogs::ask(QWidget *parent, const QString &text)
{
    return dispatch(parent, {Kind::Question, QString(), text, {}}) == QLatin1String("yes");
}

bool Dialogs::confirm(QWidget *parent, const QString &text)
{
    return dispatch(parent, {Kind::QuestionYes, QString(), text, {}}) == QLatin1String("yes");
}

QString Dialogs::openFile(QWidget *parent, const QString &caption, const QString &folder,
                          const QString &filter)
{
    return dispatch(parent, {Kind::OpenFile, caption, filter, folder});
}

QString Dialogs::saveFile(QWidget *parent, const QString &caption, const QString &folder,
                          const QString &filter)
{
    return dispatch(parent, {Kind::SaveFile, caption, filter, folder});
}

QString Dialogs::chooseFolder(QWidget *parent, const QString &caption, const QString &folder)
{
    return dispatch(parent, {Kind::Folder, caption, QString(), folder});
}

QStringList Dialogs::openFiles(QWidget *parent, const QString &caption, const QString &folder,
                               const QString &filter)
{
    const Request request{Kind::OpenFiles, caption, filter, folder};
    // The real dialog's list is taken as it is: a file name may hold a line break.
    if (!handler())
        return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
    return dispatch(parent, request).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
