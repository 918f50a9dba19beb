#include "LanguageService.h"

#include "LanguageFile.h"
#include "Localization.h"
#include "app/AppPaths.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

namespace {
constexpr int kTimeoutMs = 30000;
// A language file is a few tens of kilobytes; anything far larger is not one.
constexpr qint64 kLargestFile = 4 * 1024 * 1024;

bool usableName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.'))
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && !name.contains(QLatin1Char(':'));
}
} // namespace

LanguageService::LanguageService(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_url(configuredUrl())
{
}

QUrl LanguageService::configuredUrl()
{
    const IniFile options(AppPaths::dataFile(QStringLiteral("Options.ini")));
    const QString text = options.readString(QStringLiteral("LanguageService"), QStringLiteral("url"))
                             .trimmed();
    return text.isEmpty() ? QUrl() : QUrl(text);
}

QNetworkReply *LanguageService::get(const QString &file)
{
    QUrl folder = m_url;
    if (!folder.path().endsWith(QLatin1Char('/')))
        folder.setPath(folder.path() + QLatin1Char('/'));
    QNetworkRequest request(folder.resolved(QUrl(QString::fromLatin1(QUrl::toPercentEncoding(file)))));
    request.setTransferTimeout(kTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    return m_network->get(request);
}

void LanguageService::fetchList()
{
    if (!m_url.isValid() || m_url.isEmpty()) {
        Q_EMIT failed(QStringLiteral("No language service is set up (Options.ini [LanguageService] url)."));
        return;
    }
    QNetworkReply *reply = get(QStringLiteral("languages.txt"));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            Q_EMIT failed(reply->errorString());
            return;
        }
        const QStringList names = parseList(reply->read(kLargestFile));
        if (names.isEmpty())
            Q_EMIT failed(QStringLiteral("The service offers no language."));
        else
            Q_EMIT listed(names);
    });
}

void LanguageService::download(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (!usableName(trimmed)) {
        Q_EMIT failed(QStringLiteral("\"%1\" cannot name a language file.").arg(trimmed));
        return;
    }
    if (!m_url.isValid() || m_url.isEmpty()) {
        Q_EMIT failed(QStringLiteral("No language service is set up (Options.ini [LanguageService] url)."));
        return;
    }
    QNetworkReply *reply = get(trimmed + QStringLiteral(".lang"));
    connect(reply, &QNetworkReply::finished, this, [this, reply, trimmed] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            Q_EMIT failed(reply->errorString());
            return;
        }
        store(trimmed, reply->read(kLargestFile + 1));
    });
}

void LanguageService::store(const QString &name, const QByteArray &data)
{
    if (data.size() > kLargestFile || !isLanguageFile(data)) {
        Q_EMIT failed(QStringLiteral("What the service sent for %1 is not a language file.").arg(name));
        return;
    }
    QDir().mkpath(Localization::languagesFolder());
    QString path = Localization::languageFilePath(name);
    if (path.isEmpty())
        path = Localization::languagesFolder() + QLatin1Char('/') + name + QStringLiteral(".lang");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        Q_EMIT failed(file.errorString());
        return;
    }
    Q_EMIT downloaded(name, path);
}

QStringList LanguageService::parseList(const QByteArray &data)
{
    QStringList names;
    for (const QString &line : Cp1251::decode(data).split(QLatin1Char('\n'))) {
        const QString name = line.trimmed();
        if (name.isEmpty() || name.startsWith(QLatin1Char(';')) || !usableName(name))
            continue;
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

bool LanguageService::isLanguageFile(const QByteArray &data)
{
    if (data.isEmpty() || data.contains('\0'))
        return false;
    return !LanguageFile::fromText(Cp1251::decode(data)).textKeys().isEmpty();
}
