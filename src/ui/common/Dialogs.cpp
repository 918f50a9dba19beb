#include "Dialogs.h"

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

QString Dialogs::dispatch(QWidget *parent, const Request &r)
{
    if (handler())
        return handler()(r);
    switch (r.kind) {
    case Kind::Message:
        QMessageBox::information(parent, r.caption, r.text);
        return {};
    case Kind::Error:
        QMessageBox::critical(parent, r.caption, r.text);
        return {};
    case Kind::Question:
        return QMessageBox::question(parent, r.caption, r.text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No)
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
