#include "MethodNote.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "localization/Localization.h"

namespace MethodNote {

namespace {
const QString kSection = QStringLiteral("Notice");
const QString kKey = QStringLiteral("MethodNote");

QString optionsFile()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}
} // namespace

QString text()
{
    return Localization::translateOr(
        QStringLiteral("MethodNote"),
        QStringLiteral("This program measures the electrical conductance of the skin at 24 points "
                       "and compares each reading with the client's own mean. Its interpretations "
                       "are those of the Ryodoraku method; they are not medical diagnoses."));
}

bool acknowledged()
{
    return IniFile(optionsFile()).readBool(kSection, kKey, false);
}

bool acknowledge(QString *error)
{
    IniFile ini(optionsFile());
    ini.writeInteger(kSection, kKey, 1);
    return ini.save(error);
}

} // namespace MethodNote
