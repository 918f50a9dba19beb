// The session music list without a window: walking it past files that have gone or would not
// play, the end of the list with and without repeat, editing it, and keeping it in Options.ini
// whatever the file names hold.
#include "common/IniFile.h"
#include "TestEnvironment.h"
#include "treatment/MusicPlaylist.h"

#include <QFile>
#include <QtTest>

class TestMusicPlaylist : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = new TestEnvironment; }

    void cleanup() {
        delete m_env;
        m_env = nullptr;
    }

    void walking_data() {
        // `files`: one letter per file, upper case for a file that has gone.
        QTest::addColumn<QString>("files");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("after");

        // clang-format off
        QTest::newRow("next passes a gone file") << "aBcd" << 0 << false << "next" << 2 << 2;
        QTest::newRow("next at the end, no repeat") << "abcd" << 3 << false << "next" << -1 << 3;
        QTest::newRow("next at the end, repeat") << "abcd" << 3 << true << "next" << 0 << 0;
        QTest::newRow("only the current one left, repeat")
            << "ABcD" << 2 << true << "next" << 2 << 2;
        QTest::newRow("rest gone, no repeat") << "abCD" << 1 << false << "next" << -1 << 1;
        QTest::newRow("next without a current item") << "Abc" << -1 << false << "next" << 1 << 1;
        QTest::newRow("previous passes a gone file")
            << "aBcd" << 2 << false << "previous" << 0 << 0;
        QTest::newRow("previous at the start, no repeat")
            << "abcd" << 0 << false << "previous" << -1 << 0;
        QTest::newRow("previous at the start, repeat")
            << "abcD" << 0 << true << "previous" << 2 << 2;
        QTest::newRow("start on a playable current") << "abc" << 1 << false << "start" << 1 << 1;
        QTest::newRow("start goes round without repeat")
            << "abC" << 2 << false << "start" << 0 << 0;
        for (const char *step : {"next", "previous", "start"})
            QTest::addRow("all gone, %s", step)
                << "ABC" << 1 << true << step << -1 << -1;
        QTest::newRow("empty list") << "" << -1 << true << "next" << -1 << -1;
        // clang-format on
    }
    void walking() {
        QFETCH(QString, files);
        QFETCH(int, current);
        QFETCH(bool, repeat);
        QFETCH(QString, step);
        QFETCH(int, after);

        MusicPlaylist list;
        QStringList paths;
        for (const QChar c : files)
            paths.append(makeFile(c.toLower() + ".mp3"));
        for (const QString &path : paths)
            list.add(path);
        for (int i = 0; i < files.size(); ++i)
            if (files.at(i).isUpper())
                QVERIFY(QFile::remove(paths.at(i))); // gone after it was added
        QVERIFY(list.setCurrent(current));
        list.setRepeat(repeat);

        const int got = step == QLatin1String("next")       ? list.next()
                        : step == QLatin1String("previous") ? list.previous()
                                                            : list.start();
        QTEST(got, "result");
        QCOMPARE(list.current(), after);
        for (int i = 0; i < files.size(); ++i)
            if (files.at(i).isUpper() && list.state(i) != MusicPlaylist::State::Missing)
                QCOMPARE(got, -1); // only a walk that gave up may leave a gone file unvisited
    }

    void failedAndReturningFiles() {
        MusicPlaylist list;
        const QString a = makeFile("a.mp3");
        const QString b = makeFile("b.mp3");
        const QString c = makeFile("c.mp3");
        for (const QString &path : {a, b, c})
            list.add(path);
        QCOMPARE(list.current(), 0);

        // A file the player could not play is passed over, even with the file still there.
        list.markFailed(1);
        QCOMPARE(list.next(), 2);
        QCOMPARE(list.previous(), 0);
        // Chosen by hand it is tried again.
        QVERIFY(list.choose(1));
        QCOMPARE(list.state(1), MusicPlaylist::State::Ready);

        // A stick taken out and put back: missing, then playable again.
        QVERIFY(QFile::remove(c));
        QCOMPARE(list.next(), -1);
        QCOMPARE(list.state(2), MusicPlaylist::State::Missing);
        QCOMPARE(list.current(), 1);
        makeFile("c.mp3");
        QCOMPARE(list.next(), 2);

        // Everything failing with repeat on ends instead of going round for ever.
        list.setRepeat(true);
        for (int row = 0; row < list.count(); ++row)
            list.markFailed(row);
        QCOMPARE(list.next(), -1);
        QCOMPARE(list.current(), -1);
        QCOMPARE(list.start(), -1);
    }

    void editingKeepsTheCurrentFile_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("currentFile"); // empty: no current item
        QTest::addColumn<QString>("order");

        // Five files a..e, c current.
        // clang-format off
        QTest::newRow("remove before") << "remove" << 0 << 0 << "c" << "bcde";
        QTest::newRow("remove after") << "remove" << 4 << 0 << "c" << "abcd";
        QTest::newRow("remove the current one") << "remove" << 2 << 0 << "d" << "abde";
        QTest::newRow("remove out of range") << "remove" << 5 << 0 << "c" << "abcde";
        QTest::newRow("move the current one up") << "move" << 2 << 1 << "c" << "acbde";
        QTest::newRow("move one from above past it") << "move" << 0 << 3 << "c" << "bcdae";
        QTest::newRow("move one from below past it") << "move" << 4 << 1 << "c" << "aebcd";
        QTest::newRow("move beyond the end") << "move" << 4 << 5 << "c" << "abcde";
        // clang-format on
    }
    void editingKeepsTheCurrentFile() {
        QFETCH(QString, edit);
        QFETCH(int, row);
        QFETCH(int, to);

        MusicPlaylist list;
        for (const QChar c : QStringLiteral("abcde"))
            list.add(makeFile(QString(c)));
        QVERIFY(list.setCurrent(2));
        if (edit == QLatin1String("remove"))
            list.remove(row);
        else
            list.move(row, to);

        QString names;
        for (const QString &path : list.paths())
            names += QFileInfo(path).fileName();
        QTEST(names, "order");
        QTEST(QFileInfo(list.path(list.current())).fileName(), "currentFile");
    }

    void storedAndLoadedBack() {
        const QString options = m_env->dataFolder() + "Options.ini";
        QDir().mkpath(m_env->dataFolder());
        IniFile before =
            IniFile::fromText("[medium]\r\nval=10\r\n[Player]\r\n7=old\r\ncount=9\r\n");
        QVERIFY(before.saveAs(options));

        // Names a practitioner's music folder really holds, and a few that break naive INI code.
        const QStringList names{"Спокойная музыка — №1.mp3",
                                "a=b;c.mp3",
                                ";starts like a comment.mp3",
                                "[looks like a section].mp3",
                                "  blanks around  .mp3",
                                "\"quoted\".mp3",
                                "100% relax %41.mp3",
                                "Mélodie 静か.flac",
                                "gone.ogg"};
        MusicPlaylist list;
        for (const QString &name : names)
            list.add(makeFile(name));
        QVERIFY(QFile::remove(list.path(8)));
        QVERIFY(list.setCurrent(3));
        list.setVolume(35);
        list.setRepeat(true);
        list.setFolder(m_env->scratch("Музыка=;"));

        IniFile ini(options);
        list.store(ini);
        QVERIFY(ini.save());

        const IniFile reread(options);
        QCOMPARE(reread.readString("medium", "val"), "10");
        const MusicPlaylist back = MusicPlaylist::load(reread);
        QCOMPARE(back.paths(), list.paths());
        QCOMPARE(back.current(), 3);
        QCOMPARE(back.volume(), 35);
        QVERIFY(back.repeat());
        QCOMPARE(back.folder(), list.folder());
        QCOMPARE(back.state(8), MusicPlaylist::State::Missing);
        QCOMPARE(back.state(0), MusicPlaylist::State::Ready);

        // A shorter list stored over a longer one leaves no stale entries behind.
        MusicPlaylist shorter;
        shorter.add(list.path(0));
        IniFile again(options);
        shorter.store(again);
        QVERIFY(again.save());
        const IniFile last(options);
        QVERIFY(!last.hasKey("Player", "2"));
        QVERIFY(!last.hasKey("Player", "7"));
        QCOMPARE(MusicPlaylist::load(last).paths(), QStringList{list.path(0)});
    }

    void malformedSection_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("volume");

        // clang-format off
        QTest::newRow("no section") << "" << 0 << -1 << 70;
        QTest::newRow("negative count") << "count=-3\r\n1=%2Fa.mp3" << 0 << -1 << 70;
        QTest::newRow("huge count") << "count=2000000000\r\n1=%2Fa.mp3" << 1 << 0 << 70;
        QTest::newRow("items without a count") << "1=%2Fa.mp3\r\n2=%2Fb.mp3" << 0 << -1 << 70;
        QTest::newRow("empty and missing items")
            << "count=4\r\n1=\r\n3=%2Fc.mp3\r\nx=y" << 1 << 0 << 70;
        QTest::newRow("current out of range")
            << "count=1\r\n1=/a.mp3\r\ncurrent=99" << 1 << 0 << 70;
        QTest::newRow("broken escapes") << "count=1\r\n1=%ZZ%\r\nvolume=-20" << 1 << 0 << 0;
        QTest::newRow("volume too high") << "count=0\r\nvolume=250" << 0 << -1 << 100;
        QTest::newRow("garbage lines") << "=\r\n==\r\n[\r\ncount\r\n;count=3" << 0 << -1 << 70;
        // clang-format on
    }
    void malformedSection() {
        QFETCH(QString, section);
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, volume);

        const QString text = section.isEmpty() ? QStringLiteral("[other]\r\nx=1\r\n")
                                               : "[Player]\r\n" + section + "\r\n";
        const MusicPlaylist list = MusicPlaylist::load(IniFile::fromText(text));
        QCOMPARE(list.count(), count);
        QCOMPARE(list.current(), current);
        QCOMPARE(list.volume(), volume);
        QCOMPARE(list.state(0), MusicPlaylist::State::Missing); // no such file on this machine
    }

private:
    QString makeFile(const QString &name) const {
        const QString path = m_env->scratch("music") + QLatin1Char('/') + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write("ID3");
        return path;
    }

    TestEnvironment *m_env = nullptr;
};

QTEST_GUILESS_MAIN(TestMusicPlaylist)
#include "tst_music_playlist.moc"
