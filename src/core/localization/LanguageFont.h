#pragma once

#include <QFont>
#include <QString>

// The [Font] section of a language file: the font every text of the interface is shown in.
// The defaults are those a file without the section reads as.
struct LanguageFont
{
    QString name = QStringLiteral("Arial");
    int charset = 1; // a Windows character-set number (1 default, 204 Russian, ...)
    int size = 1;

    // `base` with the language font's family and size; bold, italic and the rest of the
    // control's own style stay. A size too small to read (files that leave it out read 1)
    // keeps the control's own size rather than turning every text into dots.
    QFont applyTo(QFont base) const;

    // The character-set declaration the report page carries as its third line.
    QString htmlCharsetDeclaration() const;

    static constexpr int smallestReadableSize = 6;

    friend bool operator==(const LanguageFont &, const LanguageFont &) = default;
};
