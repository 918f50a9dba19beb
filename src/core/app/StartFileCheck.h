#pragma once

#include "common/IniFileCheck.h"

#include <QList>
#include <QString>

// The settings, language and catalogue files the workstation reads at start and can work
// without: which of them are damaged, and what it uses in their place. The readers are lenient
// and go on with what they can read; this is how the practitioner hears of it, once, at start.
class StartFileCheck
{
public:
    // What the workstation uses in place of what it could not read.
    enum class Fallback {
        Settings,     // Options.ini: the settings it could read, the standard ones otherwise
        Remembered,   // Remember.ini: timers and remembered choices it could read
        EnglishTexts, // the language file: the built-in English texts
        Catalogue,    // an install-folder catalogue: what it could read of it
    };
    struct Finding
    {
        QString path;
        IniFileCheck::Result result; // whole() with passwordFromCopy: the password was lost only
        Fallback fallback = Fallback::Settings;
        bool passwordFromCopy = false; // the start password came from its copy
    };

    static QList<Finding> run();
    // One message in the interface language naming each file, what is wrong with it and what
    // is used instead; empty when there is nothing to say.
    static QString message(const QList<Finding> &findings);
};
