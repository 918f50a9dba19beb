#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own profile folder (XDG_DATA_HOME) in a temporary directory and points the
// program at the install folder laid out by the build. Create one before anything asks for a
// folder; each new one starts a fresh, empty profile.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString profile() const { return m_profile.path(); }
    QString dataFolder() const;    // the data folder, as the program computes it
    static QString installDir();   // build/vandrel
    static QString sourceDir();    // the repository
    // A scratch folder inside the profile for files a test makes itself.
    QString scratch(const QString &name) const;

private:
    QTemporaryDir m_profile;
    QByteArray m_previous;
};
