// The program started with one file of its data or install folder damaged (empty, cut in half,
// random bytes, 5 MB, UTF-8 instead of Windows-1251, a folder in its place): it starts, or ends
// with a message when the base itself is unusable; it never hangs; SIGTERM closes it within
// 5 s; and it leaves no file more damaged than it found it.
//
// The files the start reads are checked in every run; VANDREL_DAMAGE_ALL=1 checks every file
// of the install folder as well.
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "common/IniFileCheck.h"
#include "Damage.h"
#include "TestEnvironment.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

// A build with sanitizers runs everything several times slower; its script says how much.
const int Slowdown = qMax(1, qEnvironmentVariableIntValue("VANDREL_SLOWDOWN"));
const int ShowWaitMs = 20000 * Slowdown;
const int MessageWaitMs = 4000 * Slowdown;
const int CloseWaitMs = 5000 * Slowdown;

QStringList filesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

bool isIni(const QString &path)
{
    return path.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive)
           || path.endsWith(QStringLiteral(".lang"), Qt::CaseInsensitive);
}

// The damaged file afterwards: as it was, set aside whole (a ".damaged-" copy beside it), or
// rewritten with no more unreadable lines than it had.
bool noWorse(const QString &path, bool folder, const QByteArray &before,
             const IniFileCheck::Result &was)
{
    const QFileInfo info(path);
    const QStringList aside = info.dir().entryList({info.fileName() + QStringLiteral(".damaged-*")},
                                                   QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    if (!aside.isEmpty())
        return !info.exists() || !isIni(path) || IniFileCheck::inspect(path).whole();
    if (info.isDir() || Damage::bytesOf(path) == before)
        return info.isDir() == folder;
    if (!isIni(path))
        return false;
    const IniFileCheck::Result now = IniFileCheck::inspect(path);
    return now.whole() || (now.problem == was.problem && now.badLines <= was.badLines);
}

// An install folder of links to the real one, so that one file can be replaced.
bool linkInstallFolder(const QString &target)
{
    const QString source = TestEnvironment::installDir();
    for (const QString &file : filesUnder(source)) {
        QDir().mkpath(QFileInfo(target + QLatin1Char('/') + file).absolutePath());
        if (!QFile::link(source + QLatin1Char('/') + file, target + QLatin1Char('/') + file)
            && ::link(qPrintable(source + QLatin1Char('/') + file),
                      qPrintable(target + QLatin1Char('/') + file))
                   != 0)
            return false;
    }
    return true;
}

} // namespace

// One start of the program with one file damaged.
struct Case
{
    bool inData = true; // else in the install folder
    QString file;       // relative to the maker folder or the install folder
    Damage::Kind kind = Damage::Empty;

    std::unique_ptr<QTemporaryDir> profile;
    std::unique_ptr<QTemporaryDir> links;
    QString path;
    QByteArray before;
    IniFileCheck::Result was;
    std::unique_ptr<QProcess> program;
    QElapsedTimer clock;
    QByteArray said;
    bool shown = false;
    bool closing = false;

    QString name() const
    {
        return (inData ? QStringLiteral("data ") : QStringLiteral("install ")) + file
               + QLatin1Char(' ') + Damage::names().at(kind);
    }
    // Only an unusable base or device library may keep the window from coming up (their
    // message waits for an answer first); anything else the program works around.
    bool mayStop() const
    {
        return file.endsWith(QStringLiteral("BASE.fdb"))
               || file.endsWith(QStringLiteral("device1.so"));
    }
};

std::shared_ptr<Case> makeCase(bool inData, const QString &file, Damage::Kind kind)
{
    auto made = std::make_shared<Case>();
    made->inData = inData;
    made->file = file;
    made->kind = kind;
    return made;
}

class TestDamagedStart : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsAndClosesWithEachFileDamaged();

private:
    QList<std::shared_ptr<Case>> cases() const;
    bool prepare(Case &c) const;
    void launch(Case &c) const;
    QString verdict(Case &c) const;
};

QList<std::shared_ptr<Case>> TestDamagedStart::cases() const
{
    QStringList dataFiles;
    {
        TestEnvironment env;
        DataFolderSetup::run();
        dataFiles = filesUnder(AppPaths::makerFolder());
    }
    QStringList installFiles;
    const bool all = qEnvironmentVariableIntValue("VANDREL_DAMAGE_ALL") == 1;
    for (const QString &file : filesUnder(TestEnvironment::installDir())) {
        if (file == QStringLiteral("vandrel"))
            continue; // the program itself
        const bool readAtStart = !file.contains(QLatin1Char('/'))
                                 || file.startsWith(QStringLiteral("Q7/languages/"))
                                 || file.startsWith(QStringLiteral("defUniformDB/"));
        if (all || readAtStart)
            installFiles.append(file);
    }
    QList<std::shared_ptr<Case>> list;
    for (int kind = 0; kind < Damage::names().size(); ++kind) {
        for (const QString &file : std::as_const(dataFiles))
            list.append(makeCase(true, file, Damage::Kind(kind)));
        for (const QString &file : std::as_const(installFiles))
            list.append(makeCase(false, file, Damage::Kind(kind)));
    }
    return list;
}

bool TestDamagedStart::prepare(Case &c) const
{
    c.profile = std::make_unique<QTemporaryDir>();
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", c.profile->path().toUtf8());
    QString install = TestEnvironment::installDir();
    if (!c.inData) {
        c.links =
            std::make_unique<QTemporaryDir>(install + QStringLiteral("/../damaged-install-XXXXXX"));
        install = c.links->path();
        if (!linkInstallFolder(install))
            return false;
    }
    AppPaths::setInstallFolder(install);
    DataFolderSetup::run();
    const QString root = c.inData ? AppPaths::makerFolder() : install;
    AppPaths::setInstallFolder(TestEnvironment::installDir());
    qputenv("XDG_DATA_HOME", previous);

    c.path = root + QLatin1Char('/') + c.file;
    // A linked file is replaced by a copy of its own before it is damaged.
    const QByteArray original = Damage::bytesOf(c.path);
    QFile::remove(c.path);
    QFile copy(c.path);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(original) != original.size())
        return false;
    copy.close();
    if (!Damage::apply(c.path, c.kind))
        return false;
    c.before = Damage::bytesOf(c.path);
    c.was = IniFileCheck::inspect(c.path);
    return true;
}

void TestDamagedStart::launch(Case &c) const
{
    c.program = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), c.profile->path());
    environment.insert(QStringLiteral("VANDREL_SAY_WHEN_SHOWN"), QStringLiteral("1"));
    c.program->setProcessEnvironment(environment);
    c.program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString install = c.inData ? TestEnvironment::installDir() : c.links->path();
    c.program->start(install + QStringLiteral("/vandrel"), {});
    c.clock.start();
}

// Empty when the case went as it should; else what went wrong.
QString TestDamagedStart::verdict(Case &c) const
{
    if (c.program->exitStatus() != QProcess::NormalExit)
        return QStringLiteral("crashed");
    if (!c.shown && !c.mayStop())
        return QStringLiteral("window never shown");
    // A base the program could open is its own to write; one it could not is left alone.
    if (!(c.shown && c.file.endsWith(QStringLiteral(".fdb")))
        && !noWorse(c.path, c.kind == Damage::Folder, c.before, c.was))
        return QStringLiteral("the damaged file was damaged further");
    // The other settings files are as whole as they were.
    const QString data = c.profile->path() + QStringLiteral("/Quillane/Q7/");
    for (const QString &name : {QStringLiteral("Options.ini"), QStringLiteral("Remember.ini")}) {
        const QString other = data + name;
        if (other != c.path && QFileInfo(other).isFile() && !IniFileCheck::inspect(other).whole())
            return other + QStringLiteral(" was damaged");
    }
    return QString();
}

void TestDamagedStart::startsAndClosesWithEachFileDamaged()
{
    // A few starts at once: most of a start is waiting on files and the window system.
    constexpr int AtOnce = 3;
    const QList<std::shared_ptr<Case>> all = cases();
    QList<std::shared_ptr<Case>> waiting = all;
    QList<std::shared_ptr<Case>> running;
    QStringList failures;
    while (!waiting.isEmpty() || !running.isEmpty()) {
        while (running.size() < AtOnce && !waiting.isEmpty()) {
            std::shared_ptr<Case> next = waiting.takeFirst();
            if (!prepare(*next)) {
                failures.append(next->name() + QStringLiteral(": could not be damaged"));
                continue;
            }
            launch(*next);
            running.append(next);
        }
        QTest::qWait(50);
        for (auto it = running.begin(); it != running.end();) {
            Case &c = **it;
            c.said += c.program->readAllStandardOutput();
            if (!c.shown && c.said.contains("shown at")) {
                c.shown = true;
                c.clock.restart();
            }
            const bool ended = c.program->state() == QProcess::NotRunning;
            // The window's first moments (a message over it), or as long as a start may take.
            // A start that may stop at its message is ended once the message must be up.
            const bool timeToEnd =
                c.shown ? c.clock.elapsed() > 300
                        : c.clock.elapsed() > (c.mayStop() ? MessageWaitMs : ShowWaitMs);
            if (!c.closing && !ended && timeToEnd) {
                ::kill(pid_t(c.program->processId()), SIGTERM);
                c.closing = true;
                c.clock.restart();
            }
            if (!ended && c.closing && c.clock.elapsed() > CloseWaitMs) {
                failures.append(
                    c.name()
                    + QStringLiteral(": still running %1 s after SIGTERM").arg(CloseWaitMs / 1000));
                c.program->kill();
                c.program->waitForFinished();
            } else if (!ended) {
                ++it;
                continue;
            } else if (!c.closing && !c.mayStop()) {
                failures.append(c.name() + QStringLiteral(": ended by itself"));
            } else if (const QString wrong = verdict(c); !wrong.isEmpty()) {
                failures.append(c.name() + QStringLiteral(": ") + wrong);
            }
            it = running.erase(it);
        }
    }
    qInfo("%lld starts with one file damaged", qlonglong(all.size()));
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestDamagedStart)
#include "tst_damaged_start.moc"
