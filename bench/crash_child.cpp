// The working half of the crash harness: starts on a data folder as the program does and saves
// records of every kind the program saves, through the program's own classes, one after
// another until it is killed. Each save that returns success is journalled (and fsync'ed)
// before the next begins; a save of a record that exists already is announced first, so the
// harness knows which value may be in flight when the kill comes.
//
// usage: crash_child <profile-folder> <journal> <seed>
// Exit codes (it never ends by itself otherwise): 2 usage, 3 the data folder's lock was not
// taken over, 4 the journal cannot be written, 5 the base does not open.
#include "CrashContent.h"
#include "CrashJournal.h"

#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/SingleInstance.h"
#include "common/CaseInsensitivePath.h"
#include "common/IniFile.h"
#include "records/ClientRepository.h"
#include "records/ClientValidation.h"
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"
#include "reports/PrintStore.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "schedule/AppointmentBook.h"
#include "schedule/ReminderTimerSet.h"
#include "symptoms/InquirerAnswers.h"
#include "symptoms/InquirerRepository.h"
#include "treatment/PunctTreatmentStore.h"
#include "treatment/TherapyStore.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace CC = CrashContent;

namespace {

enum ExitCode { Usage = 2, NotLocked = 3, NoJournal = 4, NoBase = 5 };

// The harness reads back every record after each kill: past these many cards, and tests of a
// card, records are changed rather than added, so a long run stays quick to check.
constexpr int MaxClients = 100;
constexpr int MaxTestsPerClient = 4;

class Child
{
public:
    Child(DataModule &data, CrashJournal &journal, quint32 seed)
        : m_data(data)
        , m_journal(journal)
        , m_random(seed)
    {
        m_timers.load(ReminderTimerSet::filePath());
        for (const ClientListEntry &entry : ClientRepository(&m_data).list())
            m_clients.append(entry.code);
    }

    // Saves records until the process is killed.
    [[noreturn]] void run()
    {
        const std::vector<std::pair<int, std::function<void()>>> actions = {
            {4, [this] { newCard(); }},
            {10, [this] { editCard(); }},
            {6, [this] { newTest(); }},
            {8, [this] { inquirer(); }},
            {8, [this] { marks(); }},
            {6, [this] { punct(); }},
            {5, [this] { therapy(TherapyStore::Table::Color, CC::Color); }},
            {5, [this] { therapy(TherapyStore::Table::Freq, CC::Freq); }},
            {4, [this] { therapyComment(); }},
            {5, [this] { freqDes(); }},
            {4, [this] { recommendation(); }},
            {10, [this] { appointment(); }},
            {8, [this] { timer(); }},
            {6, [this] { settings(); }},
            {5, [this] { playlist(); }},
        };
        int total = 0;
        for (const auto &action : actions)
            total += action.first;
        for (;;) {
            if (m_clients.isEmpty()) {
                newCard();
                continue;
            }
            int pick = int(m_random.bounded(total));
            for (const auto &action : actions) {
                pick -= action.first;
                if (pick < 0) {
                    action.second();
                    break;
                }
            }
        }
    }

private:
    // ---- what is saved ----------------------------------------------------------------------

    QString word()
    {
        static const QStringList words = {
            QStringLiteral("Anna"),     QStringLiteral("Berger"),   QStringLiteral("Praha"),
            QStringLiteral("migraine"), QStringLiteral("Ольга"),    QStringLiteral("Смирнов"),
            QStringLiteral("Казань"),   QStringLiteral("головная"), QStringLiteral("боль"),
            QStringLiteral("Ёлкин"),    QStringLiteral("сон"),      QStringLiteral("Wien"),
        };
        return words.at(int(m_random.bounded(qint64(words.size()))));
    }

    QString phrase(int words)
    {
        QStringList parts;
        for (int i = 0; i < words; ++i)
            parts.append(word());
        return parts.join(QLatin1Char(' ')) + QStringLiteral(" %1").arg(m_random.bounded(100000));
    }

    QString bits(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i)
            text += m_random.bounded(2) ? QLatin1Char('1') : QLatin1Char('0');
        return text;
    }

    QString client() { return m_clients.at(int(m_random.bounded(qint64(m_clients.size())))); }

    // A stored test of a client: one of its tests, or a new one when it has none.
    std::optional<std::pair<QString, int>> test()
    {
        const QString code = client();
        const QList<TestRecord> tests = m_data.testsOfClient(code);
        if (tests.isEmpty())
            return storeTest(code) ? std::optional(std::pair(code, m_lastTest)) : std::nullopt;
        return std::pair(code, tests.at(int(m_random.bounded(qint64(tests.size())))).codeTest);
    }

    static QDateTime nowToTheSecond()
    {
        const QDateTime now = QDateTime::currentDateTime();
        return QDateTime(now.date(),
                         QTime(now.time().hour(), now.time().minute(), now.time().second()));
    }

    // ---- journal ----------------------------------------------------------------------------

    // Runs one save of a record named `key`: announced (unless it is new and has no key yet),
    // then confirmed or recorded as failed.
    void save(const QString &kind, const QString &key, const QString &digest,
              const std::function<bool(QString *)> &store)
    {
        if (!key.isEmpty() && !m_journal.intend(kind, key, digest))
            journalBroken();
        QString error;
        if (!store(&error)) {
            m_journal.fail(kind, key, error.isEmpty() ? QStringLiteral("failed") : error);
            return;
        }
        if (!m_journal.confirm(kind, key, digest))
            journalBroken();
    }

    // A save that gets its key only when stored: journalled once it returned.
    void saved(const QString &kind, bool ok, const QString &key, const QString &digest,
               const QString &error)
    {
        const bool written =
            ok ? m_journal.confirm(kind, key, digest) : m_journal.fail(kind, key, error);
        if (!written)
            journalBroken();
    }

    [[noreturn]] static void journalBroken()
    {
        std::fprintf(stderr, "crash_child: the journal cannot be written\n");
        std::exit(NoJournal);
    }

    // ---- one method per kind ----------------------------------------------------------------

    void newCard()
    {
        if (m_clients.size() >= MaxClients) {
            editCard();
            return;
        }
        ClientCard card;
        card.name = word();
        card.surname = word();
        card.birthday = QDate(1950, 1, 1).addDays(m_random.bounded(20000));
        card.sex = m_random.bounded(2) ? QStringLiteral("1") : QStringLiteral("0");
        card.height = QString::number(150 + m_random.bounded(45));
        card.city = word();
        card.tel1 = QStringLiteral("+79%1").arg(m_random.bounded(100000000, 999999999));
        card.comment = phrase(6);
        const QDate today = QDate::currentDate();
        QString error;
        bool ok = ClientValidation::check(card, today).ok();
        if (ok)
            ok = ClientRepository(&m_data).addCard(card, QString(), today, &error);
        saved(CC::Card, ok, card.code, CC::digest(card), error);
        if (ok)
            m_clients.append(card.code);
    }

    void editCard()
    {
        ClientRepository cards(&m_data);
        const std::optional<ClientCard> original = cards.card(client());
        if (!original)
            return;
        ClientCard card = *original;
        card.city = word();
        card.tel2 = QStringLiteral("+7%1").arg(m_random.bounded(1000000, 9999999));
        card.comment = phrase(8);
        card.weight = QString::number(45 + m_random.bounded(60));
        save(CC::Card, card.code, CC::digest(card), [&](QString *error) {
            return cards.updateCard(card, ClientRepository::keepPhoto(), error, &*original);
        });
    }

    bool storeTest(const QString &code)
    {
        TestRecord test;
        test.codeClient = code;
        test.testDate = nowToTheSecond();
        for (int &value : test.values)
            value = 20 + int(m_random.bounded(131));
        QString error;
        const bool ok = m_data.saveTest(test, &error);
        saved(CC::Test, ok, QString::number(test.codeTest), CC::digest(test), error);
        m_lastTest = test.codeTest;
        return ok;
    }

    void newTest()
    {
        const QString code = client();
        if (m_data.testsOfClient(code).size() < MaxTestsPerClient)
            storeTest(code);
    }

    void inquirer()
    {
        const QString code = client();
        // A few moments per client, so answer sets are stored again as well as added.
        const QDateTime moment(QDate(2026, 1, 1).addDays(m_random.bounded(3)), QTime(10, 0));
        const int type = int(m_random.bounded(4));
        QList<int> answers;
        for (int i = 0; i < 17; ++i)
            answers.append(int(m_random.bounded(4)));
        const QString result = InquirerAnswers::encode(answers);
        const QString key = CC::key({code, moment.toString(Qt::ISODate), QString::number(type)});
        save(CC::Inquirer, key, CC::digestText(result), [&](QString *error) {
            return InquirerRepository(&m_data).save(code, moment, type, result, error);
        });
    }

    void marks()
    {
        const auto chosen = test();
        if (!chosen)
            return;
        ChannelMarks marks = CC::namedMarks();
        for (int c = 0; c < Channels::Count; ++c) {
            marks[c].first = bits(5) + QLatin1Char('&');
            marks[c].second = bits(4) + QLatin1Char('&');
            marks[c].other = bits(6) + QLatin1Char('&');
        }
        const QString key = CC::key({chosen->first, QString::number(chosen->second)});
        save(CC::Marks, key, CC::digest(marks), [&](QString *error) {
            return SymptomMarksStore::saveMarks(m_data, chosen->first, chosen->second, marks,
                                                error);
        });
    }

    void punct()
    {
        const auto chosen = test();
        if (!chosen)
            return;
        const QString state = bits(40);
        const QString key = CC::key({chosen->first, QString::number(chosen->second)});
        save(CC::Punct, key, CC::digestText(state), [&](QString *error) {
            return PunctTreatmentStore::save(m_data, chosen->first, chosen->second, state, error);
        });
    }

    void therapy(TherapyStore::Table table, const QString &kind)
    {
        const auto chosen = test();
        if (!chosen)
            return;
        QStringList cells;
        for (int i = 0; i < 12; ++i)
            cells.append(QString::number(m_random.bounded(8)));
        const QString text = cells.join(QLatin1Char('&')) + QStringLiteral("&#");
        const QString key = CC::key({chosen->first, QString::number(chosen->second)});
        save(kind, key, CC::digestText(text), [&](QString *error) {
            return TherapyStore(&m_data, table)
                .saveTreatment(chosen->first, chosen->second, text, error);
        });
    }

    void therapyComment()
    {
        const auto chosen = test();
        if (!chosen)
            return;
        const QString comment = phrase(10);
        const QString key = CC::key({chosen->first, QString::number(chosen->second)});
        save(CC::ColorComment, key, CC::digestText(comment), [&](QString *error) {
            return TherapyStore(&m_data, TherapyStore::Table::Color)
                .saveComment(chosen->first, chosen->second, comment, error);
        });
    }

    void freqDes()
    {
        static const QStringList names = {QStringLiteral("Мигрень"), QStringLiteral("Гастрит"),
                                          QStringLiteral("Insomnia"), QStringLiteral("Бессонница"),
                                          QStringLiteral("Lumbago")};
        const QString name = names.at(int(m_random.bounded(qint64(names.size()))));
        FreqDesRepository repo(&m_data);
        if (!repo.contains(name)) {
            save(CC::FreqDes, name, CC::digestText(QString()), [&](QString *error) {
                return repo.addDisease(name, error) == FreqDesRepository::AddResult::Added;
            });
            return;
        }
        QStringList frequencies;
        for (int i = 0, n = 1 + int(m_random.bounded(6)); i < n; ++i)
            frequencies.append(
                QStringLiteral("%1.%2").arg(m_random.bounded(1, 5000)).arg(m_random.bounded(10)));
        save(CC::FreqDes, name, CC::digestText(frequencies.join(QLatin1Char('&'))),
             [&](QString *error) { return repo.setFrequencies(name, frequencies, error); });
    }

    void recommendation()
    {
        PrintCatalogue::Recommendation r;
        r.name = QStringLiteral("Рекомендация %1").arg(m_random.bounded(4));
        r.language = m_random.bounded(2) ? QStringLiteral("Russian") : QStringLiteral("English");
        r.description = phrase(12);
        save(CC::Recommendation, CC::key({r.name, r.language}), CC::digestText(r.description),
             [&](QString *error) { return PrintStore(&m_data).storeRecommendation(r, error); });
    }

    void appointment()
    {
        AppointmentBook book(&m_data);
        Appointment a;
        a.day = QDate(2026, 3, 1).addDays(m_random.bounded(20));
        a.begin = QTime(8, 0).addSecs(1800 * int(m_random.bounded(20)));
        a.end = a.begin.addSecs(1800);
        a.clientId = client();
        a.remind = true;
        a.lead = LeadTime{int(m_random.bounded(1, 60)), LeadTime::Minutes};
        a.message = true;
        a.text = phrase(4);
        a.comment = phrase(6);
        QString readError;
        std::optional<AppointmentKey> original;
        if (book.find(a.key(), &readError))
            original = a.key();
        else if (!readError.isEmpty())
            return;
        // What store() will write: the reminder moment, the fired flag of a new reminder.
        a.computeReminder();
        const QString key = CC::key({a.day.toString(Qt::ISODate), a.begin.toString(Qt::ISODate)});
        save(CC::Appointment, key, CC::digest(a), [&](QString *error) {
            const AppointmentCheck::Problem problem = book.store(a, original, error);
            if (!problem.ok() && error->isEmpty())
                *error = problem.key;
            return problem.ok();
        });
    }

    void timer()
    {
        const int index = int(m_random.bounded(ReminderTimerSet::Count));
        ReminderTimer &row = m_timers.row(index);
        if (m_random.bounded(3) == 0) {
            m_timers.stop(index);
        } else {
            row.name = phrase(2);
            row.message = phrase(3);
            row.hours = QStringLiteral("%1").arg(m_random.bounded(24), 2, 10, QLatin1Char('0'));
            row.minutes = QStringLiteral("%1").arg(m_random.bounded(60), 2, 10, QLatin1Char('0'));
            m_timers.start(index, QDateTime::currentDateTime());
        }
        save(CC::Timer, QString::number(index), CC::digest(row),
             [&](QString *error) { return m_timers.save(ReminderTimerSet::filePath(), error); });
    }

    static QString optionsPath() { return AppPaths::dataFile(QStringLiteral("Options.ini")); }

    // As the settings page stores its values.
    void settings()
    {
        IniFile ini(optionsPath());
        SettingsValues values = SettingsValues::load(ini);
        values.meridianNames[size_t(m_random.bounded(MeasuringOrder::Rows))] = word();
        values.middlePercent =
            int(m_random.bounded(SettingsValues::MinPercent, SettingsValues::MaxPercent + 1));
        values.soundSignal = m_random.bounded(2);
        values.testInfo = phrase(3);
        values.treatmentInfo = phrase(9);
        values.save(ini);
        save(CC::Settings, QStringLiteral("Options.ini"), CC::digest(values),
             [&](QString *error) { return ini.save(error); });
    }

    // As the music player stores its list.
    void playlist()
    {
        IniFile ini(optionsPath());
        MusicPlaylist list = MusicPlaylist::load(ini);
        if (list.count() > 6 || (!list.isEmpty() && m_random.bounded(3) == 0))
            list.remove(int(m_random.bounded(list.count())));
        else
            list.add(QStringLiteral("/music/%1 - %2.mp3").arg(word()).arg(m_random.bounded(1000)));
        list.setVolume(int(m_random.bounded(101)));
        list.setRepeat(m_random.bounded(2));
        list.store(ini);
        save(CC::Playlist, MusicPlaylist::section(), CC::digest(list),
             [&](QString *error) { return ini.save(error); });
    }

    DataModule &m_data;
    CrashJournal &m_journal;
    QRandomGenerator m_random;
    ReminderTimerSet m_timers;
    QStringList m_clients;
    int m_lastTest = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool seedOk = false;
    const quint32 seed = args.size() == 4 ? args.at(3).toUInt(&seedOk) : 0;
    if (!seedOk) {
        std::fprintf(stderr, "usage: crash_child <profile-folder> <journal> <seed>\n");
        return Usage;
    }
    qputenv("XDG_DATA_HOME", QFile::encodeName(args.at(1)));
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));

    // The start of the program, as far as the saves need it.
    DataFolderSetup::run();
    SingleInstance instance(AppPaths::GetDataPath());
    if (!instance.acquire()) {
        std::fprintf(stderr, "crash_child: the data folder is locked by another program\n");
        return NotLocked;
    }
    CrashJournal journal;
    if (!journal.open(args.at(2))) {
        std::fprintf(stderr, "crash_child: cannot open the journal %s\n", qPrintable(args.at(2)));
        return NoJournal;
    }
    DataModule data;
    QString error;
    if (!data.open(
            CaseInsensitivePath::resolve(AppPaths::GetDataPath(), QStringLiteral("BASE.fdb")),
            &error)) {
        std::fprintf(stderr, "crash_child: %s\n", qPrintable(error));
        return NoBase;
    }
    Child(data, journal, seed).run();
}
