#pragma once

#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QFileInfo>

// A writable copy of a seed base of the install folder, in a folder of its own inside the
// test's profile, so every call gives a fresh base under the seed's own file name.
inline QString copySeedBase(const TestEnvironment &env,
                            const QString &seed = QStringLiteral("/Q7/BASE.fdb"))
{
    static int copies = 0;
    const QString to = env.scratch(QStringLiteral("bases/%1").arg(++copies)) + QLatin1Char('/')
                       + QFileInfo(seed).fileName();
    if (!QFile::copy(TestEnvironment::installDir() + seed, to))
        return QString();
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return to;
}

// A fresh copy of the client base, opened; a test cannot go on without it. Returns its path.
inline QString openSeedBase(const TestEnvironment &env, DataModule &data)
{
    const QString path = copySeedBase(env);
    QString error;
    if (!data.open(path, &error))
        qFatal("base: %s", qPrintable(error));
    return path;
}

// Stores a client card with the fields the checks ask for; returns its key.
inline QString addClient(DataModule &data, const QString &name, const QString &surname,
                         const QDate &birthday = QDate(1975, 5, 6),
                         const QString &sex = QStringLiteral("1"))
{
    ClientCard card;
    card.name = name;
    card.surname = surname;
    card.birthday = birthday;
    card.sex = sex;
    ClientRepository(&data).addCard(card, QString(), QDate(2026, 1, 1));
    return card.code;
}
