#include "PasswordCopy.h"

#include "common/IniFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString g_section = QStringLiteral("password");
const QString g_value = QStringLiteral("val");
const QString g_ask = QStringLiteral("do");

// Whether the file holds a start password that can be checked. An empty value does not count:
// a fresh Options.ini from the install folder has one, and a password is only ever removed
// through the settings, which remove the copy as well.
bool holdsPassword(const IniFile &file)
{
    const QString value = file.readString(g_section, g_value).trimmed();
    return !value.isEmpty() && !StartPassword::isDamagedHash(value);
}

} // namespace

QString PasswordCopy::pathFor(const QString &optionsPath)
{
    return QFileInfo(optionsPath).absolutePath() + QStringLiteral("/StartPassword.ini");
}

StartPassword PasswordCopy::load(const QString &optionsPath, bool *fromCopy)
{
    const IniFile options(optionsPath);
    const bool own = holdsPassword(options);
    if (fromCopy)
        *fromCopy = false;
    if (own)
        return StartPassword::load(options);
    const IniFile copy(pathFor(optionsPath));
    if (!holdsPassword(copy))
        return StartPassword::load(options);
    if (fromCopy)
        *fromCopy = true;
    return StartPassword::load(copy);
}

bool PasswordCopy::update(const QString &optionsPath, QString *error)
{
    const IniFile options(optionsPath);
    if (!holdsPassword(options))
        return true;
    const QString path = pathFor(optionsPath);
    const QString value = options.readString(g_section, g_value).trimmed();
    const QString ask = options.readString(g_section, g_ask).trimmed();
    const IniFile current(path);
    if (current.readString(g_section, g_value).trimmed() == value
        && current.readString(g_section, g_ask).trimmed() == ask)
        return true;
    IniFile copy = IniFile::fromText(QString());
    copy.writeString(g_section, g_value, value);
    copy.writeString(g_section, g_ask, ask);
    return copy.saveAs(path, error);
}

bool PasswordCopy::forget(const QString &optionsPath, QString *error)
{
    const QString path = pathFor(optionsPath);
    if (!QFile::exists(path) || QFile::remove(path))
        return true;
    if (error)
        *error = QStringLiteral("Cannot remove %1.").arg(path);
    return false;
}
