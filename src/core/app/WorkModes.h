#pragma once

#include <QKeySequence>
#include <QString>
#include <QList>

// The work modes of the main window: the number other features test (`WorkMode`), the mode
// button, the work panel and the key of the button's hint. The open-points and internet
// panels are shown without changing the work mode; their number is 0.
struct WorkModeInfo
{
    int mode;
    QString button;
    QString panel;
    QString hintKey;
    QString icon; // resource name of the button's picture
    QKeySequence shortcut;
};

class WorkModes
{
public:
    enum Mode {
        None = 0,
        Clients = 1,
        Test = 2,
        Graph = 3,
        Ryodoraku = 4,
        Inquirer = 5,
        Treatment = 6,
        Tables = 7,
        Diseases = 8,
        Schedule = 10,
        NewClient = 12,
        EditClient = 13,
        Settings = 14,
        Print = 15,
    };

    // The thirteen mode buttons, left to right.
    static const QList<WorkModeInfo> &buttons();
    static const WorkModeInfo *byButton(const QString &button);
    static const WorkModeInfo *byMode(int mode);
    // The panel of a mode; the card editor's modes share the clients' panel.
    static QString panelOf(int mode);
    // Modes that need a current client before they can be entered.
    static bool needsClient(int mode) { return mode == Test || mode == Treatment; }
    // Modes with a client list of their own; leaving them restores the client of their start.
    static bool browsesClients(int mode) { return mode == Schedule || mode == Treatment; }
};
