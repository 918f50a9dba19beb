// The disease catalogue: typed point lists checked and encoded for the DOTS column, stored
// lists read back, the point-picture catalogue, the list search, and the DESEASE table kept
// through a real Firebird base.
#include "common/IniFile.h"
#include "records/DataModule.h"
#include "RecordsTestSupport.h"
#include "symptoms/DesDotsCatalogue.h"
#include "symptoms/DeseaseRepository.h"
#include "symptoms/DeseaseSearch.h"
#include "symptoms/DotsListCodec.h"
#include "TestEnvironment.h"

#include <QtTest>

using Status = DotsListCodec::Status;
using AddResult = DeseaseRepository::AddResult;
Q_DECLARE_METATYPE(DotsListCodec::Status)
Q_DECLARE_METATYPE(DeseaseRepository::AddResult)

namespace {

// LU at 0 and GB at 10, as in the catalogue the practitioner knows; a second "LU" later on.
DesDotsCatalogue testCatalogue() {
    const char *names[] = {"LU", "LI", "ST", "SP", "HT", "SI", "BL",
                           "KI", "PC", "TH", "GB", "LV", "LU"};
    QString text = "[Count]\nvalue=13\n";
    int k = 0;
    for (const char *n : names)
        text += QStringLiteral("[%1]\nname=%2\nimage=f\nleft1=%1\ntop1=9\nColor=255\n")
                    .arg(k++)
                    .arg(QLatin1String(n));
    return DesDotsCatalogue(IniFile::fromText(text));
}

} // namespace

class TestDeseaseCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        m_env = std::make_unique<TestEnvironment>();
        m_path = openSeedBase(*m_env, m_data);
    }

    void cleanupTestCase() {
        m_data.close();
        m_env.reset();
    }

    void encode_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("result"); // stored text, or the refused code

        // clang-format off
        QTest::newRow("one point") << "LU7" << Status::Ok << "0&7&#";
        QTest::newRow("no separator") << "LU7GB20" << Status::Ok << "0&7&10&20&#";
        QTest::newRow("blanks around, odd separators")
            << "  LU7 ;-/ GB20.  " << Status::Ok << "0&7&10&20&#";
        QTest::newRow("first entry of a doubled name wins") << "LU11" << Status::Ok << "0&11&#";
        QTest::newRow("leading zero") << "LU07" << Status::IncorrectName << "LU07";
        QTest::newRow("no number") << "LU7, GB" << Status::IncorrectName << "GB";
        QTest::newRow("unknown code") << "LU7 XY3" << Status::IncorrectName << "XY3";
        QTest::newRow("letter case counts") << "lu7" << Status::IncorrectName << "lu7";
        QTest::newRow("number too long") << "LU7777" << Status::IncorrectName << "LU7777";
        QTest::newRow("digit first") << "7LU" << Status::NotLetterFirst << "";
        QTest::newRow("Cyrillic first") << "ЛУ7" << Status::NotLetterFirst << "";
        QTest::newRow("blanks only") << "   " << Status::NotLetterFirst << "";
        // Ten bladder points fill 51 characters: one too many for the column.
        QTest::newRow("fits the column")
            << "BL60 BL61 BL62 BL63 BL64 BL65 BL66 BL67 BL10" << Status::Ok
                                         << "6&60&6&61&6&62&6&63&6&64&6&65&6&66&6&67&6&10&#";
        QTest::newRow("longer than the column")
            << "BL60 BL61 BL62 BL63 BL64 BL65 BL66 BL67 BL10 BL11" << Status::TooLong << "";
        // clang-format on
    }
    void encode() {
        QFETCH(QString, typed);
        QFETCH(Status, status);
        QFETCH(QString, result);
        const DotsListCodec::Encoded e = DotsListCodec::encode(typed, testCatalogue());
        QCOMPARE(e.status, status);
        if (status == Status::Ok) {
            QCOMPARE(e.dots, result);
            QVERIFY(e.dots.size() <= DeseaseRepository::MaxDotsLength);
        } else if (status == Status::IncorrectName) {
            QCOMPARE(e.code, result);
        }
    }

    void decode_data() {
        QTest::addColumn<QString>("dots");
        QTest::addColumn<QList<int>>("pairs");

        QTest::newRow("two points") << "0&7&10&20&#" << QList<int>{0, 7, 10, 20};
        QTest::newRow("blanks kept by a CHAR column") << "0&7&#   " << QList<int>{0, 7};
        QTest::newRow("empty list") << "#" << QList<int>{};
        QTest::newRow("half a pair left out") << "0&7&10&#" << QList<int>{0, 7};
        QTest::newRow("broken pair left out") << "x&7&1&2&#" << QList<int>{1, 2};
    }
    void decode() {
        QFETCH(QString, dots);
        QList<int> got;
        for (const DotsListCodec::Point &p : DotsListCodec::decode(dots))
            got << p.entry << p.number;
        QTEST(got, "pairs");
    }

    void catalogueReading() {
        // No count: no entries, whatever sections there are.
        QCOMPARE(DesDotsCatalogue(IniFile::fromText("[0]\nname=LU\n")).count(), 0);
        QCOMPARE(DesDotsCatalogue(IniFile::fromText("[Count]\nvalue=-4\n")).count(), 0);
        // A count beyond the sections gives nameless entries that no code matches.
        const DesDotsCatalogue c(
            IniFile::fromText("[Count]\nvalue=3\n[0]\nname=GB\nimage=s\nleft1=12\nColor=65280\n"));
        QCOMPARE(c.count(), 3);
        QCOMPARE(c.find("GB"), 0);
        QCOMPARE(c.find(QString()), -1);
        QCOMPARE(c.entry(0).position.image, "s");
        QCOMPARE(c.entry(0).position.left1, 12);
        QCOMPARE(c.entry(0).position.top2, 0);
        // Key names ignore letter case: one Color line colours the marks and the labels.
        QCOMPARE(c.entry(0).position.color, 65280);
        QCOMPARE(c.entry(0).fontColor, 65280);
        QCOMPARE(c.entry(1).position.image, "b");
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::newRow("capitals find small letters") << "BRON" << 1;
        QTest::newRow("first of several") << "it" << 1;
        QTest::newRow("Cyrillic capitals") << "АСТМА" << 3;
        QTest::newRow("no match") << "zzz" << -1;
        QTest::newRow("blank") << "  " << -1;
    }
    void search() {
        QFETCH(QString, text);
        const QStringList names{"angina", "bronchitis", "Gastritis", "астма"};
        QTEST(DeseaseSearch::firstMatch(names, text), "row");
    }

    void storedAndReadBack() {
        DeseaseRepository repo(&m_data);
        QByteArray picture(3000, '\0');
        for (int i = 0; i < picture.size(); ++i)
            picture[i] = char(i * 7); // every byte value, zeros included
        DeseaseRecord r;
        r.name = "  Бронхиальная астма  ";
        r.dots = "0&7&10&20&#";
        r.about = "<p><b>Приступы</b> ночью; SpO₂ ≥ 95%</p>";
        r.plant = "Чабрец, 1 ст. л. на стакан.\nДважды в день.";
        r.plantPicture = picture;
        QCOMPARE(repo.add(r), AddResult::Added);
        DeseaseRecord plain;
        plain.name = "angina";
        plain.dots = "0&11&#";
        QCOMPARE(repo.add(plain), AddResult::Added);

        // Read through another connection: the rows were committed when they were stored.
        m_data.close();
        DataModule other;
        QVERIFY(other.open(m_path));
        repo = DeseaseRepository(&other);
        QCOMPARE(repo.names(), (QStringList{"angina", "Бронхиальная астма"}));
        const auto got = repo.find("Бронхиальная астма ");
        QVERIFY(got.has_value());
        QCOMPARE(got->name, "Бронхиальная астма");
        QCOMPARE(got->dots, r.dots);
        QCOMPARE(got->plant, r.plant);
        QCOMPARE(got->plantPicture, picture);
        // Characters outside the code page survive as entities of the rich text.
        QVERIFY(got->about.contains("Приступы"));
        QVERIFY(got->about.contains("&#8805;"));
        QVERIFY(got->about.contains("&#8322;"));
        const auto empty = repo.find("angina");
        QVERIFY(empty.has_value());
        QVERIFY(empty->about.isEmpty());
        QVERIFY(empty->plant.isEmpty());
        QVERIFY(empty->plantPicture.isEmpty());
        QVERIFY(!repo.find("angin").has_value());
        // Removing takes that disease only, not one whose name merely begins the same.
        QVERIFY(repo.remove(" Бронхиальная астма"));
        QCOMPARE(repo.names(), QStringList{"angina"});
        QString error;
        QVERIFY(!repo.remove("angin", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(repo.remove("angina"));
        other.close();
        QVERIFY(m_data.open(m_path));
    }

    void refused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dots");
        QTest::addColumn<QString>("plant");
        QTest::addColumn<AddResult>("result");

        const QString ok = "0&7&#";
        // clang-format off
        QTest::newRow("empty name") << "   " << ok << "" << AddResult::EmptyName;
        QTest::newRow("same name, blanks around")
            << "  Migraine " << ok << "" << AddResult::Duplicate;
        QTest::newRow("same name, other letter case")
            << "MIGRAINE" << ok << "" << AddResult::Duplicate;
        QTest::newRow("name too long")
            << QString(101, QLatin1Char('a')) << ok << "" << AddResult::NameTooLong;
        QTest::newRow("no points") << "Cough" << "" << "" << AddResult::NoDots;
        QTest::newRow("points too long")
            << "Cough" << QString(51, QLatin1Char('1')) << "" << AddResult::DotsTooLong;
        QTest::newRow("name outside the code page")
            << "Cough ☂" << ok << "" << AddResult::Unstorable;
        QTest::newRow("herbal text outside the code page")
            << "Cough" << ok << "Tea ☕" << AddResult::Unstorable;
        // clang-format on
    }
    void refused() {
        QFETCH(QString, name);
        QFETCH(QString, dots);
        QFETCH(QString, plant);
        DeseaseRepository repo(&m_data);
        DeseaseRecord existing;
        existing.name = "Migraine";
        existing.dots = "10&20&#";
        QCOMPARE(repo.add(existing), AddResult::Added);
        DeseaseRecord r;
        r.name = name;
        r.dots = dots;
        r.plant = plant;
        QString error;
        QTEST(repo.add(r, &error), "result");
        QVERIFY(!error.isEmpty());
        QCOMPARE(repo.names(), QStringList{"Migraine"}); // nothing stored
        QVERIFY(repo.remove("Migraine"));
    }

    void closedBaseFailsCleanly() {
        DataModule closed;
        DeseaseRepository repo(&closed);
        QString error;
        QVERIFY(repo.names(&error).isEmpty() && !error.isEmpty());
        QCOMPARE(repo.add({"Flu", "0&7&#", {}, {}, {}}), AddResult::Failed);
        QVERIFY(!repo.remove("Flu"));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestDeseaseCatalogue)
#include "tst_desease_catalogue.moc"
