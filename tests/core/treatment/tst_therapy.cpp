// Colour and frequency therapy without windows: deviation texts, the channel orders, the
// stored assignment strings (through a real base), the one-second player, the power rules
// and the import of a disease frequency file.
#include "../records/RecordsTestSupport.h"
#include "common/IniFile.h"
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"
#include "TestEnvironment.h"
#include "treatment/ColorAssignment.h"
#include "treatment/FreqAssignment.h"
#include "treatment/FreqImport.h"
#include "treatment/PowerRules.h"
#include "treatment/TherapyChannels.h"
#include "treatment/TherapyPlayer.h"
#include "treatment/TherapyStore.h"

#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;

class TestTherapy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deviationTexts_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("mean");
        QTest::addColumn<QString>("text");
        QTest::newRow("above") << 110 << 100 << "+10%";
        QTest::newRow("below") << 90 << 100 << "-10%";
        QTest::newRow("equal") << 77 << 77 << "0%";
        QTest::newRow("truncated up") << 80 << 73 << "+9%";   // 700 / 73 = 9.58
        QTest::newRow("truncated down") << 66 << 73 << "-9%"; // 700 / 73
        QTest::newRow("empty test") << 5 << 0 << "0%";
    }
    void deviationTexts() {
        QFETCH(int, value);
        QFETCH(int, mean);
        QTEST(TherapyChannels::deviationText(value, mean), "text");
    }

    void colourOrderMapsByName() {
        // A test whose every channel holds its canonical index: each colour position must find
        // the channel of its own name, not the one at its position.
        TestRecord test;
        for (int i = 0; i < Channels::Count; ++i)
            test.values[size_t(i)] = i;
        const auto &map = TherapyChannels::colorToCanonical();
        for (int position = 0; position < 24; ++position) {
            const QString name = TherapyChannels::colorOrder().at(position);
            QCOMPARE(test.values[size_t(map[size_t(position)])], test.value(name));
        }
    }

    void colourTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("palette colour") << "255/108/0/" << true;
        QTest::newRow("unset") << "0/0/0/" << true;
        QTest::newRow("component too big") << "256/0/0/" << false;
        QTest::newRow("negative") << "-1/0/0/" << false;
        QTest::newRow("no closing slash") << "1/2/3" << false;
        QTest::newRow("letters") << "a/b/c/" << false;
        QTest::newRow("four parts") << "1/2/3/4/" << false;
    }
    void colourTexts() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto color = ColorAssignment::parseColorText(text);
        QCOMPARE(color.has_value(), valid);
        if (valid)
            QCOMPARE(ColorAssignment::colorText(*color), text);

        // One colour text where a slot should be spoils the whole assignment: nothing half-read.
        ColorAssignment assignment;
        assignment.setSlot(1, QColor(255, 0, 0));
        QString stored = assignment.toText();
        stored.replace(0, 8, text); // "255/0/0/" is the first slot
        QCOMPARE(assignment.fromText(stored), valid);
        QCOMPARE(assignment.isSet(1), valid && text != QLatin1String("0/0/0/"));
    }

    void colourPlayOrder_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("twoColors");
        QTest::addColumn<QList<int>>("firstTags"); // the first four items played
        QTest::newRow("nothing selected, one colour") << 0 << false << QList<int>{1, 3, 5, 7};
        QTest::newRow("nothing selected, two colours") << 0 << true << QList<int>{1, 2, 3, 4};
        QTest::newRow("second slot, one colour") << 6 << false << QList<int>{5, 7, 9, 11};
        QTest::newRow("second slot, two colours") << 6 << true << QList<int>{6, 7, 8, 9};
        QTest::newRow("near the end") << 45 << false << QList<int>{45, 47};
        QTest::newRow("last shape") << 48 << true << QList<int>{48};
    }
    void colourPlayOrder() {
        QFETCH(int, selected);
        QFETCH(bool, twoColors);
        QList<int> played;
        for (int tag = ColorAssignment::firstTag(selected, twoColors);
             tag != 0 && played.size() < 4; tag = ColorAssignment::nextTag(tag, twoColors))
            played.append(tag);
        QTEST(played, "firstTags");
    }

    void playerWalksSecondBySecond() {
        QStringList calls;
        QList<TherapyPlayer::Ending> endings;
        int item = 0;
        const int items = 2;
        TherapyPlayer player({[&] {
                                  calls << QStringLiteral("send %1").arg(item);
                                  return true;
                              },
                              [&] { return ++item < items; },
                              [&] { calls << QStringLiteral("stop"); },
                              [&](TherapyPlayer::Ending e) { endings << e; },
                              {}});
        // Default time: the same item ten times, then (no auto-next) the stop call, once.
        player.play();
        for (int s = 0; s < 15; ++s)
            player.tick();
        QCOMPARE(calls.size(), 11);
        QCOMPARE(calls.count("send 0"), 10);
        QCOMPARE(calls.last(), "stop");
        QCOMPARE(endings, QList<TherapyPlayer::Ending>{TherapyPlayer::Ending::Completed});
        QCOMPARE(player.state(), TherapyPlayer::State::Stopped);

        // Auto-next: item 0 three seconds, a tick to move on, item 1 three seconds, then the end.
        calls.clear();
        endings.clear();
        item = 0;
        player.setItemTime(0, 3);
        player.setAutoNext(true);
        player.play();
        for (int s = 0; s < 20; ++s)
            player.tick();
        QCOMPARE(calls,
                 QStringList({"send 0", "send 0", "send 0", "send 1", "send 1", "send 1", "stop"}));
        QCOMPARE(endings.size(), 1);

        // Pause keeps the remaining time and the item; a paused player sends nothing.
        calls.clear();
        item = 0;
        player.play();
        player.tick();
        player.pause();
        QCOMPARE(player.remaining(), 2);
        player.tick();
        player.tick();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(player.remainingText(), "0:00:02");
        player.play();
        QCOMPARE(player.remaining(), 2);

        // Stop ends the run at once, even with auto-next on and items left.
        endings.clear();
        player.stop();
        QCOMPARE(calls.last(), "stop");
        QCOMPARE(endings, QList<TherapyPlayer::Ending>{TherapyPlayer::Ending::StoppedByUser});
        player.tick();
        QCOMPARE(calls.last(), "stop");
        QCOMPARE(item, 0);

        // An item that cannot be sent ends the run.
        TherapyPlayer failing({[] { return false; },
                               {},
                               [&] { calls << QStringLiteral("silence"); },
                               [&](TherapyPlayer::Ending e) { endings << e; },
                               {}});
        failing.play();
        failing.tick();
        QCOMPARE(endings.last(), TherapyPlayer::Ending::Failed);
        QVERIFY(!failing.isPlaying());
        QCOMPARE(TherapyPlayer::timeText(3725), "1:02:05");
    }

    void powerRules_data() {
        QTest::addColumn<double>("hz");
        QTest::addColumn<int>("power");
        QTest::newRow("first covering rule") << 12.5 << 60;
        QTest::newRow("shared bound goes to the first") << 10.0 << 30;
        QTest::newRow("lower bound") << 1.0 << 30;
        QTest::newRow("upper bound") << 20.0 << 60;
        QTest::newRow("uncovered") << 20.5 << 0;
        QTest::newRow("below all") << 0.5 << 0;
    }
    void powerRules() {
        QFETCH(double, hz);
        PowerRules rules;
        QCOMPARE(rules.add({1, 10, 30}), PowerRules::Problem::None);
        QCOMPARE(rules.add({10, 20, 60}), PowerRules::Problem::None);
        // Refused rules leave the table as it was.
        QCOMPARE(rules.add({20, 20, 50}), PowerRules::Problem::FromNotBelowTo);
        QCOMPARE(rules.add({30, 25, 50}), PowerRules::Problem::FromNotBelowTo);
        QCOMPARE(rules.add({30, 40, 101}), PowerRules::Problem::PercentOutOfRange);
        QCOMPARE(rules.rules().size(), 2);
        QTEST(rules.powerFor(hz), "power");
    }

    void powerRulesPersist() {
        TestEnvironment env;
        const QString path = env.scratch("opt") + "/Options.ini";
        IniFile options = IniFile::fromText(
            QStringLiteral("[medium]\r\nval=10\r\n[Algoritm]\r\ncount=5\r\n1=1#10#30#\r\n2="
                           "bad\r\n3=5#5#40#\r\n4=10#20#60#\r\n5=7#8#\r\n"));
        QVERIFY(options.saveAs(path));
        PowerRules rules = PowerRules::load(IniFile(path));
        QCOMPARE(rules.rules(), (QList<PowerRules::Rule>{{1, 10, 30}, {10, 20, 60}}));
        QCOMPARE(PowerRules::ruleText(rules.rules().at(1)), "10-20 Hz=60 %");

        rules.remove(0);
        IniFile written(path);
        rules.save(written);
        QVERIFY(written.save());
        const IniFile reread(path);
        QCOMPARE(reread.readInteger("Algoritm", "count", -1), 1);
        QCOMPARE(reread.readString("Algoritm", "1"), "10#20#60#");
        QVERIFY(!reread.hasKey("Algoritm", "4")); // no stale rules
        QCOMPARE(reread.readString("medium", "val"), "10");
    }

    void importLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("disease");
        QTest::addColumn<QStringList>("frequencies");
        using P = FreqImport::Problem;
        const int ok = int(P::None);
        const QStringList none;
        // clang-format off
        QTest::newRow("comma") << "Migraine # 10, 12.5 ,7.83" << "," << ok << "Migraine"
                               << QStringList{"10", "12.5", "7.83"};
        QTest::newRow("apostrophe") << "Insomnia#3.5'4'40" << "'" << ok << "Insomnia"
                                    << QStringList{"3.5", "4", "40"};
        QTest::newRow("leading number and units") << "12. Cold # 9.19 Hz, 20Hz," << "," << ok
                                                  << "Cold" << QStringList{"9.19", "20"};
        QTest::newRow("Cyrillic name")
            << "3 Мигрень#10" << "," << ok << "Мигрень" << QStringList{"10"};
        QTest::newRow("no hash") << "Migraine 10, 12" << "," << int(P::NoHash) << "" << none;
        QTest::newRow("empty name") << "17 # 10" << "," << int(P::EmptyName) << "" << none;
        QTest::newRow("no frequency") << "Cold #  , " << "," << int(P::NoFrequency) << "" << none;
        QTest::newRow("word for frequency")
            << "Cold # 10, ten" << "," << int(P::BadFrequency) << "" << none;
        QTest::newRow("wrong separator")
            << "Cold # 10'20" << "," << int(P::BadFrequency) << "" << none;
        QTest::newRow("name too long") << QString(201, QLatin1Char('x')) + "#10" << ","
                                       << int(P::NameNotStorable) << "" << none;
        // clang-format on
    }
    void importLines() {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        QFETCH(int, problem);
        QFETCH(QString, disease);
        QFETCH(QStringList, frequencies);
        FreqImport::Entry entry;
        QCOMPARE(int(FreqImport::parseLine(line, separator.at(0), &entry)), problem);
        if (problem == int(FreqImport::Problem::None)) {
            QCOMPARE(entry.disease, disease);
            QCOMPARE(entry.frequencies, frequencies);
        }
    }

    void storedRowsRoundTrip() {
        TestEnvironment env;
        DataModule data;
        QString error;
        QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));

        ColorAssignment colors;
        colors.setSlot(1, QColor(255, 0, 0));
        colors.setSlot(48, QColor(169, 2, 223));
        QStringList hz(24, "0.00");
        hz[0] = "12.50";
        hz[23] = "9999.99";

        TherapyStore colorStore(&data, TherapyStore::Table::Color);
        TherapyStore freqStore(&data, TherapyStore::Table::Freq);
        QVERIFY(!colorStore.load("Q71", 5).has_value());
        QVERIFY2(colorStore.saveTreatment("Q71", 5, colors.toText(), &error), qPrintable(error));
        QVERIFY(freqStore.saveTreatment("Q71", 5, FreqAssignment::toText(hz)));
        // A comment saved later edits the same row; the client code is found whatever its case.
        QVERIFY(colorStore.saveComment("q71", 5, QString::fromUtf8("Хорошо переносит")));
        // A client whose code holds LIKE wildcards finds only its own rows.
        QVERIFY(colorStore.saveComment("Q7%", 6, "other"));

        QSqlQuery count(data.database());
        QVERIFY(count.exec("SELECT COUNT(*) FROM COLOR_TREATMENT WHERE CODE_TEST = 5"));
        QVERIFY(count.next());
        QCOMPARE(count.value(0).toInt(), 1);

        const auto colorRow = colorStore.load("Q71", 5);
        QVERIFY(colorRow);
        ColorAssignment read;
        QVERIFY(read.fromText(colorRow->treatment));
        QVERIFY(read == colors);
        QVERIFY(!read.isSet(2));
        QCOMPARE(colorRow->comment, QString::fromUtf8("Хорошо переносит"));
        const auto freqRow = freqStore.load("Q71", 5);
        QVERIFY(freqRow);
        QCOMPARE(FreqAssignment::fromText(freqRow->treatment).value(), hz);
        QVERIFY(freqRow->comment.isEmpty());
        QVERIFY(!colorStore.load("Q71", 6).has_value());
        QCOMPARE(colorStore.commentedTests("Q71"), QSet<int>{5});

        // A comment past 1000 characters or one the base cannot hold is refused, the old one kept.
        QVERIFY(!colorStore.saveComment("Q71", 5, QString(1001, QLatin1Char('a')), &error));
        QVERIFY(!colorStore.saveComment("Q71", 5, QString::fromUtf8("\xF0\x9F\x98\x80"), &error));
        QVERIFY(colorStore.saveComment("Q71", 5, QString(1000, QLatin1Char('a'))));
        QCOMPARE(colorStore.load("Q71", 5)->comment.size(), 1000);
        // Clearing the comment leaves the test without the comment icon.
        QVERIFY(colorStore.saveComment("Q71", 5, "  "));
        QVERIFY(colorStore.commentedTests("Q71").isEmpty());
    }

    void importWritesAllOrNothing() {
        TestEnvironment env;
        DataModule data;
        QString error;
        QVERIFY2(data.open(copySeedBase(env), &error), qPrintable(error));
        FreqDesRepository repo(&data);
        QCOMPARE(repo.addDisease("Cold"), FreqDesRepository::AddResult::Added);
        QVERIFY(repo.setComment("Cold", "keep me"));
        const QStringList before = repo.diseases();

        // A malformed line anywhere: the parse refuses the file and names the line.
        const QStringList bad{"Migraine#10,12", QString(), "Flu 7.5, 8"};
        QList<FreqImport::Entry> entries;
        FreqImport::LineError lineError;
        QVERIFY(!FreqImport::parseLines(bad, QLatin1Char(','), &entries, &lineError));
        QCOMPARE(lineError.line, 3);
        QCOMPARE(lineError.problem, FreqImport::Problem::NoHash);
        QVERIFY(
            !FreqImport::parseLines({"Flu#1", "flu#2"}, QLatin1Char(','), &entries, &lineError));
        QCOMPARE(lineError.problem, FreqImport::Problem::DuplicateName);
        QCOMPARE(repo.diseases(), before);

        // A good file adds new diseases and gives known ones the file's frequencies.
        QVERIFY(FreqImport::parseLines({"1 Migraine#10'12.5", "2 Cold#7.83'"}, QLatin1Char('\''),
                                       &entries, &lineError));
        FreqImport::Result result;
        QVERIFY2(FreqImport::store(&data, entries, &result, &error), qPrintable(error));
        QCOMPARE(result.added, 1);
        QCOMPARE(result.updated, 1);
        QCOMPARE(repo.frequencies("Migraine"), QStringList({"10", "12.5"}));
        QCOMPARE(repo.frequencies("Cold"), QStringList({"7.83"}));
        QCOMPARE(repo.comment("Cold"), "keep me");

        // A failure inside the transaction takes back what went before it.
        entries = {{"Asthma", {"4"}}, {QString(300, QLatin1Char('x')), {"5"}}};
        QVERIFY(!FreqImport::store(&data, entries, &result, &error));
        QVERIFY(!repo.contains("Asthma"));

        // The same text from disk, in either code page.
        const QString folder = env.scratch("import");
        const QByteArray name1251("\xcc\xe8\xe3\xf0\xe5\xed\xfc", 7); // "Мигрень" in Windows-1251
        for (const QByteArray &bytes :
             {QByteArray(name1251 + "#10\r\n"), QString::fromUtf8("Мигрень#10\n").toUtf8()}) {
            QFile file(folder + "/f.txt");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            QStringList lines;
            QVERIFY(FreqImport::readFile(file.fileName(), &lines));
            QCOMPARE(lines.first(), QString::fromUtf8("Мигрень#10"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTherapy)
#include "tst_therapy.moc"
