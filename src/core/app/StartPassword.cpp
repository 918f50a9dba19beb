#include "StartPassword.h"

#include "common/IniFile.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QStringList>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace {

const QString kPrefix = QStringLiteral("pbkdf2-sha256$");
constexpr int kSaltBytes = 16;
constexpr int kMinSaltBytes = 8;
constexpr int kHashBytes = 32;
// Bounds for counts read from the file: a tampered or damaged value must neither make the
// hash trivial nor stall the start-up for minutes.
constexpr int kMinIterations = 1000;
constexpr int kMaxIterations = 5000000;
constexpr int kMinStoredBytes = 16;
constexpr int kMaxStoredBytes = 64;

struct ParsedHash
{
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

bool decodeBase64(const QString &text, QByteArray *out)
{
    const auto result = QByteArray::fromBase64Encoding(text.toLatin1(),
                                                       QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return false;
    *out = result.decoded;
    return true;
}

// "pbkdf2-sha256$<iterations>$<salt base64>$<hash base64>"; false for anything else.
bool parseHash(const QString &value, ParsedHash *parsed)
{
    if (!value.startsWith(kPrefix))
        return false;
    const QStringList parts = value.mid(kPrefix.size()).split(QLatin1Char('$'));
    if (parts.size() != 3)
        return false;
    bool ok = false;
    const int iterations = parts.at(0).toInt(&ok);
    if (!ok || iterations < kMinIterations || iterations > kMaxIterations)
        return false;
    if (!decodeBase64(parts.at(1), &parsed->salt) || parsed->salt.size() < kMinSaltBytes)
        return false;
    if (!decodeBase64(parts.at(2), &parsed->hash) || parsed->hash.size() < kMinStoredBytes
        || parsed->hash.size() > kMaxStoredBytes)
        return false;
    parsed->iterations = iterations;
    return true;
}

QByteArray derive(const QByteArray &password, const QByteArray &salt, int iterations, int length)
{
    QByteArray out(length, Qt::Uninitialized);
    const int ok = PKCS5_PBKDF2_HMAC(password.constData(), int(password.size()),
                                     reinterpret_cast<const unsigned char *>(salt.constData()),
                                     int(salt.size()), iterations, EVP_sha256(), length,
                                     reinterpret_cast<unsigned char *>(out.data()));
    return ok == 1 ? out : QByteArray();
}

QByteArray randomSalt()
{
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), kSaltBytes) != 1) {
        // The system generator is a cryptographic source as well; OpenSSL failing to seed is
        // no reason to refuse a new password.
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                              kSaltBytes / int(sizeof(quint32)));
    }
    return salt;
}

bool equalConstantTime(const QByteArray &a, const QByteArray &b)
{
    return a.size() == b.size() && CRYPTO_memcmp(a.constData(), b.constData(), size_t(a.size())) == 0;
}

} // namespace

StartPassword StartPassword::load(const IniFile &options)
{
    const QString stored = options.readString(QStringLiteral("password"), QStringLiteral("val"));
    const QString ask = options.readString(QStringLiteral("password"), QStringLiteral("do"));
    return StartPassword(stored, ask.trimmed() == QLatin1String("1"));
}

StartPassword::StartPassword(const QString &stored, bool askAtStart)
    : m_stored(stored.trimmed())
    , m_askAtStart(askAtStart)
{
}

bool StartPassword::matches(const QString &entered) const
{
    const QString entry = entered.trimmed();
    if (!isSet())
        return entry.isEmpty();
    if (entry.isEmpty())
        return false;
    const QByteArray entryBytes = entry.toUtf8();

    if (isHash(m_stored)) {
        ParsedHash parsed;
        if (!parseHash(m_stored, &parsed))
            return false; // damaged: no entry can match, and the settings can set a new one
        const QByteArray derived =
            derive(entryBytes, parsed.salt, parsed.iterations, int(parsed.hash.size()));
        return !derived.isEmpty() && equalConstantTime(derived, parsed.hash);
    }

    // An older file's plain text: compare digests so the time taken does not depend on where
    // the texts first differ, nor on their lengths.
    const QByteArray a = QCryptographicHash::hash(entryBytes, QCryptographicHash::Sha256);
    const QByteArray b = QCryptographicHash::hash(m_stored.toUtf8(), QCryptographicHash::Sha256);
    return equalConstantTime(a, b);
}

bool StartPassword::isLegacyPlainText() const
{
    return isSet() && !isHash(m_stored);
}

QString StartPassword::valueFor(const QString &newPassword)
{
    // Blanks around an entry are ignored when it is checked, so they are not part of it.
    const QString password = newPassword.trimmed();
    if (password.isEmpty())
        return QString();
    const QByteArray salt = randomSalt();
    const QByteArray hash = derive(password.toUtf8(), salt, defaultIterations, kHashBytes);
    if (hash.isEmpty())
        return QString(); // not reached with a working OpenSSL; never store the plain text
    return kPrefix + QString::number(defaultIterations) + QLatin1Char('$')
           + QString::fromLatin1(salt.toBase64()) + QLatin1Char('$')
           + QString::fromLatin1(hash.toBase64());
}

bool StartPassword::isHash(const QString &value)
{
    return value.trimmed().startsWith(kPrefix);
}

bool StartPassword::isDamagedHash(const QString &value)
{
    ParsedHash parsed;
    return isHash(value) && !parseHash(value.trimmed(), &parsed);
}

QString StartPassword::valueToKeep() const
{
    return isLegacyPlainText() ? valueFor(m_stored) : m_stored;
}

bool StartPassword::hashPlainText(const QString &optionsPath, QString *error)
{
    IniFile options(optionsPath);
    const StartPassword password = load(options);
    if (!password.isLegacyPlainText())
        return true;
    options.writeString(QStringLiteral("password"), QStringLiteral("val"), password.valueToKeep());
    return options.save(error);
}
