// Kills a working program at random moments and checks that nothing it had confirmed as saved
// is lost and that its files stay whole.
//
// usage: crash_harness [--opened] [rounds=20] [seed]
//
// Each round starts crash_child on one scratch data folder (the same for every round, so any
// damage adds up), kills it with SIGKILL after 50-1500 ms, and then checks the folder in a
// process of its own (crash_harness --check <profile>; see CrashCheck). Exit code 1 on any
// loss or damage; the scratch folder is kept then and named.
//
// --opened: the data folder is set up and its base opened once, without a kill, before the first
// round, so that no kill lands in the first start's changes to the base and the rounds test the
// saves alone.
#include "CrashCheck.h"
#include "CrashJournal.h"

#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>

#include <cstdio>

namespace {

// A check may take long when the engine sweeps the base at its attachment.
constexpr int CheckTimeoutMs = 45000;

struct Totals
{
    int rounds = 0;
    int confirmed = 0;
    int failedSaves = 0;
    int losses = 0;
    int damaged = 0;
    QMap<QString, int> byKind; // confirmed saves of each kind of record
    QStringList failures;      // distinct messages of failed saves
    QStringList leftovers;     // files an interrupted write left in the data folder
};

void pointAtProfile(const QString &profile)
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(profile));
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
}

// What one check found: its lines ("LOST ...", "DAMAGED ...") and whether the base opened.
struct Check
{
    QStringList losses;
    QStringList damage;
    bool opened = true;
};

class Harness
{
public:
    Harness(const QString &profile, quint32 seed)
        : m_profile(profile)
        , m_journal(profile + QStringLiteral("/journal.log"))
        , m_childLog(profile + QStringLiteral("/child.log"))
        , m_random(seed)
    {}

    // The first start of the program, never killed: false when the base does not open.
    bool prepare()
    {
        DataFolderSetup::run();
        const Check check = runCheck();
        for (const QString &line : check.losses + check.damage)
            std::printf("    %s\n", qPrintable(line));
        return check.opened && check.damage.isEmpty();
    }

    // False when the base no longer opens: the rounds after it could only repeat that.
    bool round(int number, int rounds, Totals *totals)
    {
        const int wait = int(m_random.bounded(50, 1501));
        // A kill before the first start has seeded the data folder leaves a settings file not
        // made yet, which the next start makes; only a file that was there may not go.
        QStringList notThereBefore;
        for (const QString &name : {QStringLiteral("Options.ini"), QStringLiteral("Remember.ini")})
            if (!QFileInfo::exists(AppPaths::dataFile(name)))
                notThereBefore.append(name + QStringLiteral(" is gone"));
        const QString ending = runChild(wait, m_random.generate());
        int confirmed = 0;
        int failed = 0;
        countSaves(&confirmed, &failed, totals);
        QElapsedTimer checking;
        checking.start();
        Check check = runCheck();
        check.damage.removeIf([&](const QString &line) {
            return std::any_of(notThereBefore.cbegin(), notThereBefore.cend(),
                               [&](const QString &gone) { return line.endsWith(gone); });
        });
        const qint64 checkMs = checking.elapsed();
        if (!ending.isEmpty())
            check.damage.prepend(QStringLiteral("DAMAGED ") + ending);
        m_journalRead = QFileInfo(m_journal).size(); // past the check's own lines
        noteLeftovers(&totals->leftovers);

        ++totals->rounds;
        totals->confirmed += confirmed;
        totals->failedSaves += failed;
        totals->losses += int(check.losses.size());
        totals->damaged += int(check.damage.size());
        std::printf("round %d/%d: killed after %d ms, %d saves confirmed, %d failed, %d lost, "
                    "%d damaged, checked in %lld ms\n",
                    number, rounds, wait, confirmed, failed, int(check.losses.size()),
                    int(check.damage.size()), checkMs);
        for (const QString &line : check.losses + check.damage)
            std::printf("    %s\n", qPrintable(line));
        std::fflush(stdout);
        return check.opened;
    }

private:
    // Runs the child for `wait` ms and kills it; a description when it ended by itself.
    QString runChild(int wait, quint32 seed)
    {
        QProcess child;
        child.setStandardOutputFile(m_childLog, QIODevice::Append);
        child.setStandardErrorFile(m_childLog, QIODevice::Append);
        child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/crash_child"),
                    {m_profile, m_journal, QString::number(seed)});
        if (!child.waitForStarted())
            return QStringLiteral("crash_child does not start: ") + child.errorString();
        if (child.waitForFinished(wait)) {
            return QStringLiteral("crash_child ended by itself (exit code %1), see %2")
                .arg(child.exitCode())
                .arg(m_childLog);
        }
        child.kill(); // SIGKILL
        child.waitForFinished(-1);
        return QString();
    }

    // The saves the child journalled in this round.
    void countSaves(int *confirmed, int *failed, Totals *totals)
    {
        const qint64 whole = CrashJournal::dropPartialLine(m_journal);
        QFile file(m_journal);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_journalRead))
            return;
        for (const QByteArray &line : file.read(whole - m_journalRead).split('\n')) {
            const std::optional<JournalEntry> entry = JournalEntry::parse(line);
            if (entry && entry->type == JournalEntry::Type::Confirmed) {
                ++*confirmed;
                ++totals->byKind[entry->kind];
            }
            if (entry && entry->type == JournalEntry::Type::Failed) {
                ++*failed;
                const QString failure = entry->kind + QStringLiteral(": ") + entry->digest;
                if (!totals->failures.contains(failure) && totals->failures.size() < 20)
                    totals->failures.append(failure);
            }
        }
    }

    Check runCheck()
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--check"), m_profile});
        Check check;
        if (!process.waitForFinished(CheckTimeoutMs)) {
            process.kill();
            process.waitForFinished(-1);
            check.damage.append(QStringLiteral("the check did not end within %1 s: the base "
                                               "does not open")
                                    .arg(CheckTimeoutMs / 1000));
            check.opened = false;
            return check;
        }
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            const QString text = QString::fromUtf8(line);
            if (text.startsWith(QLatin1String("LOST ")))
                check.losses.append(text);
            else if (text.startsWith(QLatin1String("DAMAGED ")))
                check.damage.append(text);
        }
        check.opened = process.exitStatus() == QProcess::NormalExit && process.exitCode() != 3;
        if (process.exitStatus() != QProcess::NormalExit)
            check.damage.append(QStringLiteral("DAMAGED the check crashed"));
        return check;
    }

    // Files in the data folder that the program does not make: what an interrupted write left.
    static void noteLeftovers(QStringList *leftovers)
    {
        QStringList known = DataFolderSetup::seedFiles();
        known.append(QStringLiteral(".workstation.lock"));
        const QDir folder(AppPaths::GetDataPath());
        for (const QString &name :
             folder.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (!known.contains(name, Qt::CaseInsensitive) && !leftovers->contains(name))
                leftovers->append(name);
        }
    }

    QString m_profile;
    QString m_journal;
    QString m_childLog;
    QRandomGenerator m_random;
    qint64 m_journalRead = 0;
};

// crash_harness --check <profile>: prints LOST and DAMAGED lines; exit code 3 when the base
// does not open, 1 on any other finding.
int check(const QString &profile)
{
    pointAtProfile(profile);
    const CrashCheck::Result result = CrashCheck::run(profile + QStringLiteral("/journal.log"));
    for (const QString &line : result.losses)
        std::printf("LOST %s\n", qPrintable(line));
    for (const QString &line : result.damage)
        std::printf("DAMAGED %s\n", qPrintable(line));
    if (!result.opened)
        return 3;
    return result.losses.isEmpty() && result.damage.isEmpty() ? 0 : 1;
}

int drive(int rounds, quint32 seed, bool opened)
{
    QTemporaryDir scratch;
    const QString profile = scratch.path();
    pointAtProfile(profile);
    std::printf("crash_harness: %d rounds, seed %u, data in %s\n", rounds, seed,
                qPrintable(AppPaths::GetDataPath()));

    QElapsedTimer clock;
    clock.start();
    Totals totals;
    Harness harness(profile, seed);
    if (opened && !harness.prepare()) {
        std::printf("the base does not open at the first start: no round is run\n");
        return 1;
    }
    for (int i = 1; i <= rounds; ++i) {
        if (!harness.round(i, rounds, &totals)) {
            std::printf("the base does not open any more: the remaining rounds are not run\n");
            break;
        }
    }

    std::printf("rounds: %d, confirmed saves: %d, failed saves: %d, losses: %d, damaged: %d, "
                "%.1f s\n",
                totals.rounds, totals.confirmed, totals.failedSaves, totals.losses, totals.damaged,
                double(clock.elapsed()) / 1000);
    QStringList kinds;
    for (auto it = totals.byKind.cbegin(); it != totals.byKind.cend(); ++it)
        kinds.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
    std::printf("    confirmed by kind: %s\n", qPrintable(kinds.join(QStringLiteral(", "))));
    for (const QString &failure : totals.failures)
        std::printf("    failed save: %s\n", qPrintable(failure));
    for (const QString &name : totals.leftovers)
        std::printf("    left in the data folder: %s\n", qPrintable(name));
    if (totals.losses + totals.damaged == 0)
        return 0;
    scratch.setAutoRemove(false);
    std::printf("the data folder is kept: %s\n", qPrintable(profile));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--check"))
        return check(args.at(2));
    const bool opened = args.removeAll(QStringLiteral("--opened")) > 0;
    bool okRounds = true;
    bool okSeed = true;
    const int rounds = args.size() > 1 ? args.at(1).toInt(&okRounds) : 20;
    const quint32 seed =
        args.size() > 2 ? args.at(2).toUInt(&okSeed) : quint32(QDateTime::currentMSecsSinceEpoch());
    if (args.size() > 3 || !okRounds || !okSeed || rounds < 1) {
        std::fprintf(stderr, "usage: crash_harness [--opened] [rounds=20] [seed]\n");
        return 2;
    }
    return drive(rounds, seed, opened);
}
