#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// The maker's download service for language files. Options.ini [LanguageService] url names its
// folder (http, https or file); "languages.txt" there lists one language name per line, and
// "<name>.lang" is that language's file. A downloaded file is checked to be a language file
// before it is written to languages/ (under a temporary name first, so a broken transfer never
// leaves half a file). Every failure ends in failed() with the reason; nothing is written then.
class LanguageService : public QObject
{
    Q_OBJECT
public:
    explicit LanguageService(QObject *parent = nullptr);

    // The configured folder; empty when none is set.
    static QUrl configuredUrl();
    void setUrl(const QUrl &url) { m_url = url; }
    QUrl url() const { return m_url; }

    // Asks for the list; listed() or failed() follows.
    void fetchList();
    // Fetches one language; downloaded(), alreadyInstalled() or failed() follows. A language
    // already installed is replaced only when `replace` says so; English never is.
    void download(const QString &name, bool replace = false);

    // The names of a list file: trimmed, each once, without blank lines or comments (";").
    static QStringList parseList(const QByteArray &data);
    // Whether the bytes are a language file worth installing: a [language] section with texts.
    static bool isLanguageFile(const QByteArray &data);
    // Text sent in UTF-8 (with a BOM, or with letters beyond ASCII) turned into Windows-1251;
    // false, with a message holding %1 for the language, when it cannot be.
    static bool toWindows1251(QByteArray *data, QString *problem);

Q_SIGNALS:
    void listed(const QStringList &names);
    void downloaded(const QString &name, const QString &path);
    // The language is installed already; download(name, true) replaces it.
    void alreadyInstalled(const QString &name, const QString &path);
    void failed(const QString &reason);

private:
    QNetworkReply *get(const QString &file);
    void store(const QString &name, const QByteArray &data, bool replace);
    static QString tooLarge();

    QNetworkAccessManager *m_network;
    QUrl m_url;
};
