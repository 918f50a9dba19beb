#pragma once

#include <QString>
#include <QTextDocument>

// Texts that come from data (names, catalogues, questionnaires) shown as they stand: never as
// markup, never with an "&" taken for a keyboard shortcut.
namespace PlainText {

// For the caption of a button, check box or radio button: "&" shows as itself.
inline QString caption(const QString &text)
{
    QString shown = text;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// For a tooltip, which Qt would otherwise read as rich text when it looks like markup.
inline QString toolTip(const QString &text)
{
    return text.isEmpty() ? text : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

} // namespace PlainText
