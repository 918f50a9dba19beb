#pragma once

#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "common/IniFile.h"
#include "records/ClientRepository.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"

#include <QDir>
#include <QStringList>

// One installation of the program on a machine of the practice: its own profile folder (and
// so its own data folder and base), all of them using one shared client base.
class Installation {
public:
    Installation(const QString &profile, const QString &sharedBase, const QString &user = QString(),
                 const QString &password = QString())
        : m_profile(profile) {
        QDir().mkpath(profile);
        activate();
        DataFolderSetup::run();
        if (!sharedBase.isEmpty()) {
            IniFile ini(AppPaths::dataFile(QStringLiteral("Options.ini")));
            ini.writeString(QStringLiteral("Uniform"), QStringLiteral("database"), sharedBase);
            if (!user.isEmpty()) {
                ini.writeString(QStringLiteral("Uniform"), QStringLiteral("user"), user);
                ini.writeString(QStringLiteral("Uniform"), QStringLiteral("password"), password);
            }
            ini.save();
        }
    }

    // This installation's folders become the program's folders.
    void activate() const { qputenv("XDG_DATA_HOME", m_profile.toUtf8()); }
    QString base() const { return AppPaths::GetDataPath() + QStringLiteral("BASE.fdb"); }

    // The program's start: full synchronisation, then the base opens.
    bool start(DataModule &data) {
        activate();
        ClientSync sync(base());
        const bool synced = sync.synchroniseAll();
        m_lastError = sync.lastError();
        return data.open(base()) && synced;
    }
    // A card saved or deleted, then copied to the shared base.
    bool syncOne(const QString &key) {
        activate();
        ClientSync sync(base());
        const bool ok = sync.synchroniseOne(key);
        m_lastError = sync.lastError();
        return ok;
    }
    QString lastError() const { return m_lastError; }

    static QStringList names(DataModule &data) {
        QStringList names;
        for (const ClientListEntry &entry : ClientRepository(&data).list())
            names.append(entry.name);
        return names;
    }

private:
    QString m_profile;
    QString m_lastError;
};
