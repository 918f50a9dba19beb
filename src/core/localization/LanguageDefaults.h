#pragma once

#include <QString>
#include <QStringList>

// The built-in English texts of the interface: what every text shows when the language file
// lacks its key or no language file exists. The table in LanguageDefaults.cpp is the one place
// they are written down; English.lang carries the same texts.
class LanguageDefaults
{
public:
    // The keys read when a language is applied, in a stable order (each has a default).
    static const QStringList &keys();
    // The built-in English text of one of keys(); keys compare without case. Empty for any
    // other key.
    static QString defaultText(const QString &key);
    static bool hasDefault(const QString &key);

    // Messages looked up when they are shown (Localization::Translate); they have no built-in
    // text, the English language file is their fallback.
    static const QStringList &showTimeKeys();
    // Words other windows look up when they are shown (analysis verdicts and element names,
    // the analysis grid headers lang260..lang270, the calibration caption, print-template
    // messages); looked up like showTimeKeys().
    static const QStringList &windowWordKeys();

    // keys(), then showTimeKeys(), then windowWordKeys(): every key a language file can carry.
    static const QStringList &allKeys();
};
