#include "InfoPageHtml.h"

#include "app/AppPaths.h"
#include "app/BaseFacts.h"
#include "localization/LanguageApplier.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

QString t(const char *key, const char *english)
{
    return LanguageApplier::instance().text(QLatin1String(key), QString::fromUtf8(english));
}

QString path(const QString &p)
{
    return QDir::toNativeSeparators(p).toHtmlEscaped();
}

QString size(const QString &file)
{
    return QLocale().formattedDataSize(QFileInfo(file).size());
}

QString row(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><td class=\"name\">%1</td><td>%2</td></tr>")
        .arg(name.toHtmlEscaped(), value);
}

QString page(const QString &title, const QString &body)
{
    // Plain properties only: the text view understands a small part of CSS.
    return QStringLiteral(
               "<html><head><style>"
               "h1 { color: #2b5d8a; font-size: x-large; }"
               "td { padding: 3px 14px 3px 0; vertical-align: top; }"
               "td.name { color: #5b6773; }"
               "body { font-size: 10pt; }"
               "p { margin-top: 12px; line-height: 140%; }"
               "</style></head><body>%1%2</body></html>")
        .arg(title.isEmpty() ? QString() : QStringLiteral("<h1>%1</h1>").arg(title.toHtmlEscaped()),
             body);
}

} // namespace

QString InfoPageHtml::about(DataModule *data)
{
    QString engine = data && data->isOpen() ? BaseFacts::engineVersion(data->database()) : QString();
    if (engine.isEmpty())
        engine = t("InetNotAvailable", "not available");
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = t("InetNotAvailable", "not available");

    QString body = QStringLiteral("<table>");
    body += row(t("InetVersion", "Version"), version.toHtmlEscaped());
    body += row(t("InetQtVersion", "Qt version"), QString::fromLatin1(qVersion()));
    body += row(t("InetEngineVersion", "Firebird engine"), engine.toHtmlEscaped());
    body += row(t("InetInstallFolder", "Install folder"), path(AppPaths::installFolder()));
    body += row(t("InetDataFolder", "Data folder"), path(AppPaths::GetDataPath()));
    body += QStringLiteral("</table>");
    body += QStringLiteral("<h2>%1</h2><p>%2</p>")
                .arg(t("InetUpdateLabel", "About and updates").toHtmlEscaped(),
                     t("InetUpdatesText",
                       "Updates come as a new installation: install the new version over the "
                       "old one. A new installation keeps the data folder, so your clients, "
                       "tests, settings and language files stay as they are. Make a backup "
                       "under \"My data\" before you install.")
                         .toHtmlEscaped());
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QStringLiteral("Vandrel");
    return page(name, body);
}

QString InfoPageHtml::myData(DataModule *data)
{
    const QString notAvailable = t("InetNotAvailable", "not available");
    const QString base = data && data->isOpen()
                             ? data->path()
                             : AppPaths::dataFile(QStringLiteral("BASE.fdb"));

    QString shared;
    const ClientSync::Target target = ClientSync::configuredTarget();
    if (DataModule::isServerPath(target.database))
        shared = path(target.database) + QStringLiteral(" (")
                 + t("InetSharedServer", "on a Firebird server").toHtmlEscaped() + QLatin1Char(')');
    else if (QFileInfo(target.database).isFile())
        shared = path(target.database) + QStringLiteral(", ") + size(target.database);
    else
        shared = path(target.database) + QStringLiteral(" (")
                 + t("InetNotMadeYet", "not made yet").toHtmlEscaped() + QLatin1Char(')');

    BaseFacts::Counts counts;
    const bool counted = data && data->isOpen() && BaseFacts::count(data->database(), &counts);

    QString body = QStringLiteral("<table>");
    body += row(t("InetDataFolder", "Data folder"), path(AppPaths::GetDataPath()));
    body += row(t("InetClientBase", "Client base"),
                QFileInfo(base).isFile() ? path(base) + QStringLiteral(", ") + size(base) : path(base));
    body += row(t("InetSharedBase", "Shared client base"), shared);
    body += row(t("InetClients", "Clients"), counted ? QString::number(counts.clients) : notAvailable);
    body += row(t("InetTests", "Tests"), counted ? QString::number(counts.tests) : notAvailable);
    body += QStringLiteral("</table>");
    body += QStringLiteral("<p>%1</p>")
                .arg(t("InetBackupIntro",
                       "A backup copies the client base, the settings, the reminder timers and "
                       "the language files into a new folder, and the shared client base too "
                       "when it lives on this computer. Keep backups on another disk or a USB "
                       "stick.")
                         .toHtmlEscaped());
    return page(t("InetClientLabel", "My data"), body);
}

QString InfoPageHtml::missing(const QString &file)
{
    return page(QString(), QStringLiteral("<p>%1</p>")
                               .arg(t("InetFileMissing",
                                      "The page %1 is missing from the install folder. "
                                      "Installing the program again brings it back.")
                                        .toHtmlEscaped()
                                        .arg(path(file))));
}
