#include "LanguageService.h"

#include "LanguageFile.h"
#include "Localization.h"
#include "app/AppPaths.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>


namespace {
constexpr int kTimeoutMs = 30000;
// A language file is a few tens of kilobytes; anything past a megabyte is not one, and no more
// than that is ever held in memory.
constexpr qint64 kLargestFile = 1024 * 1024;

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
    QNetworkReply *reply = m_network->get(request);
    // The reply keeps no more than the limit; a larger file is given up as soon as it shows.
    reply->setReadBufferSize(kLargestFile + 1);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > kLargestFile || total > kLargestFile) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    return reply;
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
        if (reply->property("tooLarge").toBool()) {
            Q_EMIT failed(tooLarge());
            return;
        }
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

QString LanguageService::tooLarge()
{
    return QStringLiteral("The file is larger than %1 KB, which no language file is.").arg(kLargestFile / 1024);
}

void LanguageService::download(const QString &name, bool replace)
{
    const QString trimmed = name.trimmed();
    if (!Localization::isLanguageName(trimmed)) {
        Q_EMIT failed(QStringLiteral("\"%1\" cannot name a language file.").arg(trimmed));
        return;
    }
    if (!m_url.isValid() || m_url.isEmpty()) {
        Q_EMIT failed(QStringLiteral("No language service is set up (Options.ini [LanguageService] url)."));
        return;
    }
    QNetworkReply *reply = get(trimmed + QStringLiteral(".lang"));
    connect(reply, &QNetworkReply::finished, this, [this, reply, trimmed, replace] {
        reply->deleteLater();
        if (reply->property("tooLarge").toBool()) {
            Q_EMIT failed(tooLarge());
            return;
        }
        if (reply->error() != QNetworkReply::NoError) {
            Q_EMIT failed(reply->errorString());
            return;
        }
        store(trimmed, reply->read(kLargestFile + 1), replace);
    });
}

void LanguageService::store(const QString &name, const QByteArray &received, bool replace)
{
    if (received.size() > kLargestFile) {
        Q_EMIT failed(tooLarge());
        return;
    }
    // Language files are Windows-1251; one sent in UTF-8 is converted, or refused when it holds
    // what that code page cannot.
    QByteArray data = received;
    QString problem;
    if (!toWindows1251(&data, &problem)) {
        Q_EMIT failed(problem.arg(name));
        return;
    }
    if (!isLanguageFile(data)) {
        Q_EMIT failed(QStringLiteral("What the service sent for %1 is not a language file.").arg(name));
        return;
    }
    if (name.compare(QLatin1String("English"), Qt::CaseInsensitive) == 0) {
        Q_EMIT failed(QStringLiteral("The English texts come with the program; a download never replaces them."));
        return;
    }
    QDir().mkpath(Localization::languagesFolder());
    QString path = Localization::languageFilePath(name);
    if (!path.isEmpty() && QFileInfo::exists(path) && !replace) {
        Q_EMIT alreadyInstalled(name, path); // nothing written until the practitioner says so
        return;
    }
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
        if (name.isEmpty() || name.startsWith(QLatin1Char(';')) || !Localization::isLanguageName(name))
            continue;
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

bool LanguageService::toWindows1251(QByteArray *data, QString *problem)
{
    if (!Cp1251::isUtf8Text(*data))
        return true; // Windows-1251 already
    const QString text = Cp1251::decodeEither(*data);
    if (!Cp1251::canEncode(text)) {
        *problem = QStringLiteral("The file sent for %1 holds characters a language file cannot keep (Windows-1251).");
        return false;
    }
    *data = Cp1251::encode(text);
    return true;
}

bool LanguageService::isLanguageFile(const QByteArray &data)
{
    if (data.isEmpty() || data.contains('\0'))
        return false;
    return !LanguageFile::fromText(Cp1251::decode(data)).textKeys().isEmpty();
}
