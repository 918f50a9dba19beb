#include "ChannelCatalogue.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "localization/Localization.h"

QString ChannelCatalogue::defaultPath()
{
    return AppPaths::installFile(QStringLiteral("Dots24.INI"));
}

ChannelCatalogue ChannelCatalogue::load(const QString &path)
{
    return fromIni(IniFile(path));
}

ChannelCatalogue ChannelCatalogue::fromIni(const IniFile &ini)
{
    ChannelCatalogue catalogue;
    catalogue.m_existed = ini.existed();
    for (int channel = 0; channel < Channels::Count; ++channel) {
        const QString section = QString::number(channel + 1);
        ChannelEntry &e = catalogue.m_entries[size_t(channel)];
        e.name = ini.readString(section, QStringLiteral("name"));
        e.id = ini.readString(section, QStringLiteral("id"));
        e.left = ini.readInteger(section, QStringLiteral("left"), 3);
        e.in = ini.readInteger(section, QStringLiteral("In"), 3);
        e.meridian = ini.readString(section, QStringLiteral("meridian"));
        e.organ = ini.readString(section, QStringLiteral("organ"));
        e.activ = ini.readString(section, QStringLiteral("activ"));
        e.color = ini.readString(section, QStringLiteral("color"));
        e.firstL = ini.readString(section, QStringLiteral("firstL"));
        e.seccondL = ini.readString(section, QStringLiteral("seccondL"));
        e.firstH = ini.readString(section, QStringLiteral("firstH"));
        e.seccondH = ini.readString(section, QStringLiteral("seccondH"));
    }
    return catalogue;
}

int ChannelCatalogue::columnOf(int channel, QString *error) const
{
    const QString &id = entry(channel).id;
    const int column = Channels::indexOf(id);
    if (column < 0 && error) {
        const bool none = id.trimmed().isEmpty();
        QString text = Localization::Translate(none ? QStringLiteral("CatalogueNoId")
                                                    : QStringLiteral("CatalogueBadId"));
        if (text.isEmpty())
            text = none ? QStringLiteral("The channel catalogue Dots24.INI names no test column "
                                         "(key id) in section [%1].")
                        : QStringLiteral("The channel catalogue Dots24.INI names the test "
                                         "column \"%1\" in section [%2], which does not exist.");
        *error = none ? text.arg(channel + 1) : text.arg(id).arg(channel + 1);
    }
    return column;
}
