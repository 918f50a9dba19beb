#include "LanguageFont.h"

QFont LanguageFont::applyTo(QFont base) const
{
    if (!name.trimmed().isEmpty())
        base.setFamily(name.trimmed());
    if (size >= smallestReadableSize)
        base.setPointSize(size);
    return base;
}

QString LanguageFont::htmlCharsetDeclaration() const
{
    return QStringLiteral("<META http-equiv=Content-Type content=\"text/html; charset=")
        + QString::number(charset) + QStringLiteral("\">");
}
