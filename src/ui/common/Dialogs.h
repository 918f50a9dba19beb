#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every message box, question and file dialog of the program goes through here, so tests can
// answer them and see what was asked. Without a handler the real dialogs are shown.
class Dialogs
{
public:
    enum class Kind { Message, Error, Question, QuestionYes, OpenFile, SaveFile, Folder, OpenFiles };

    struct Request
    {
        Kind kind = Kind::Message;
        QString caption;
        QString text;     // message text, or the file filter for file dialogs
        QString folder;   // file dialogs: the folder to start in
    };
    // The handler's answer: for questions "yes"/"no", for file and folder dialogs the chosen
    // path (empty when cancelled; OpenFiles: the chosen paths one per line), ignored for
    // messages.
    using Handler = std::function<QString(const Request &)>;

    static void setHandler(Handler handler);
    static void clearHandler();

    // A plain message with the program's name as caption.
    static void message(QWidget *parent, const QString &text);
    static void error(QWidget *parent, const QString &caption, const QString &text);
    // A yes/no question; the caption is empty, as for every question of the program.
    // No is the default answer (Enter keeps things as they are).
    static bool ask(QWidget *parent, const QString &text);
    // The same question with Yes as the default, for a step the user has just asked for.
    static bool confirm(QWidget *parent, const QString &text);
    static QString openFile(QWidget *parent, const QString &caption, const QString &folder,
                            const QString &filter);
    static QString saveFile(QWidget *parent, const QString &caption, const QString &folder,
                            const QString &filter);
    // Several files at once; empty when cancelled.
    static QStringList openFiles(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter);
    // An existing folder chosen by the user; empty when cancelled.
    static QString chooseFolder(QWidget *parent, const QString &caption, const QString &folder);

private:
    static QString dispatch(QWidget *parent, const Request &request);
};
