// Client cards: the checks before saving, storing and reading a card with its photo, the
// searches of the client list and the list model itself.
#include "records/ClientRepository.h"
#include "records/ClientsModel.h"
#include "records/ClientValidation.h"
#include "records/DataModule.h"
#include "records/SchemaUpgrade.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QSqlQuery>
#include <QtTest>

#include <unistd.h>

using namespace RecordsTestSupport;
using Tester = QAbstractItemModelTester;

namespace {

ClientCard validCard(const QString &name = "Anna", const QString &surname = "Petrova") {
    ClientCard card;
    card.name = name;
    card.surname = surname;
    card.birthday = QDate(1980, 5, 17);
    card.sex = "1";
    card.height = "170";
    card.weight = "62";
    return card;
}

} // namespace

class TestClientCards : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        m_env = std::make_unique<TestEnvironment>();
        openSeedBase(*m_env, m_data);
    }
    void cleanupTestCase() {
        m_data.close();
        m_env.reset();
    }

    void validation_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("label");
        // clang-format off
        QTest::newRow("fine")                 << "" << "" << "" << "";
        QTest::newRow("blank name")           << "name" << "   " << "WriteName" << "";
        QTest::newRow("no surname")           << "surname" << "" << "WriteSurname" << "";
        QTest::newRow("born today")
            << "birthday" << "2026-03-10" << "WriteBirthDate" << "";
        QTest::newRow("no birth date")        << "birthday" << "" << "WriteBirthDate" << "";
        QTest::newRow("born yesterday")       << "birthday" << "2026-03-09" << "" << "";
        QTest::newRow("no sex")               << "sex" << " " << "WriteSex" << "";
        QTest::newRow("height 175a")          << "height" << "175a" << "HeigthMustBeDigit" << "";
        QTest::newRow("height empty")         << "height" << "" << "" << "";
        QTest::newRow("height 10 digits")
            << "height" << "1234567890" << "HeigthMustBeLess" << "";
        QTest::newRow("height beyond column") << "height" << "12345" << "FieldTooLong" << "Height";
        QTest::newRow("weight -5")            << "weight" << "-5" << "WeightMustBeDigit" << "";
        QTest::newRow("chinese name")         << "name" << "王小明" << "FieldNotStorable" << "Name";
        QTest::newRow("cyrillic name")        << "name" << "Ёлкина" << "" << "";
        QTest::newRow("long city")
            << "city" << QString(31, QLatin1Char('x')) << "FieldTooLong" << "City";
        // clang-format on
    }
    void validation() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        ClientCard card = validCard();
        const QHash<QString, QString ClientCard::*> texts = {
            {"name", &ClientCard::name},     {"surname", &ClientCard::surname},
            {"sex", &ClientCard::sex},       {"height", &ClientCard::height},
            {"weight", &ClientCard::weight}, {"city", &ClientCard::city}};
        if (field == QLatin1String("birthday"))
            card.birthday = QDate::fromString(value, Qt::ISODate);
        else if (texts.contains(field))
            card.*texts.value(field) = value;
        const ClientValidation::Problem problem = ClientValidation::check(card, m_today);
        QTEST(problem.key, "key");
        QTEST(problem.field, "label");
    }

    void cardRoundTrip() {
        ClientRepository repo(&m_data);
        ClientCard card = validCard("Ольга", "Смирнова");
        card.city = "Казань";
        card.adress2 = "кв. 5";
        card.tel3 = "+7 900 123";
        // Phones in international form are longer than the 15 characters of older bases.
        card.tel1 = "+7 916 123-45-67";
        card.tel2 = "+44 (0)20 7946 0958 ext. 123";
        card.comment = "Аллергия на йод.\nLine two";
        card.skypeType = 1;
        card.skype = "12345";
        QString error;
        QVERIFY2(repo.addCard(card, QString(), m_today, &error), qPrintable(error));
        QVERIFY(card.code.startsWith(QLatin1String("Q7")));

        const std::optional<ClientCard> back = repo.card(card.code, &error);
        QVERIFY2(back, qPrintable(error));
        ClientCard expected = card;
        expected.dateCreate = m_today;
        QVERIFY(*back == expected);
        QCOMPARE(SchemaUpgrade::columnWidth(m_data.database(), "CLIENTS", "TEL3"),
                 SchemaUpgrade::PhoneWidth);
        // No photo is kept as "0" for older installations that share the base.
        QSqlQuery query(m_data.database());
        query.prepare("SELECT FOTO FROM CLIENTS WHERE CODE_CLIENT = ?");
        query.addBindValue(card.code);
        QVERIFY(query.exec() && query.next());
        QCOMPARE(query.value(0).toByteArray(), QByteArray("0"));
    }

    void photoKeptOrCleared() {
        ClientRepository repo(&m_data);
        ClientCard card = validCard("Foto", "Graf");
        QString error;
        QVERIFY2(repo.addCard(card, writeJpeg("red.jpg"), m_today, &error), qPrintable(error));
        QVERIFY(card.hasPhoto());
        QVERIFY(!ClientRepository::decodePhoto(repo.card(card.code)->foto).isNull());

        // Editing without touching the photo keeps it, whatever the card in memory holds.
        ClientCard edited = *repo.card(card.code);
        edited.city = "Riga";
        edited.foto.clear();
        QVERIFY2(repo.updateCard(edited, ClientRepository::keepPhoto(), &error), qPrintable(error));
        QCOMPARE(repo.card(card.code)->foto, card.foto);
        QCOMPARE(repo.card(card.code)->city, "Riga");

        // Clear + accept removes it.
        QVERIFY(repo.updateCard(edited, QString(), &error));
        QVERIFY(!repo.card(card.code)->hasPhoto());
        QVERIFY(ClientRepository::decodePhoto(QByteArray("0")).isNull());
    }

    void unreadablePhotoWritesNothing() {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        ClientRepository repo(&m_data);
        const QString jpeg = writeJpeg("locked.jpg");
        QFile(jpeg).setPermissions(QFileDevice::Permissions());
        const int before = int(repo.list().size());
        ClientCard card = validCard();
        QString error;
        QVERIFY(!repo.addCard(card, jpeg, m_today, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(int(repo.list().size()), before);
    }

    void search_data() {
        QTest::addColumn<int>("criterion");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found"); // names, "|" between
        using C = ClientSearch::Criterion;
        // clang-format off
        QTest::newRow("name prefix, any case")
            << int(C::Name)    << "mar"    << "Maria|MARTA";
        QTest::newRow("name inside is no match")     << int(C::Name)    << "ria"    << "";
        QTest::newRow("cyrillic prefix")             << int(C::Name)    << "ёл"     << "Ёлка";
        QTest::newRow("quote")                       << int(C::Surname) << "o'ne"   << "Sean";
        QTest::newRow("percent is a character")      << int(C::Name)    << "%"      << "%Proc";
        QTest::newRow("underscore is a character")   << int(C::Name)    << "M_"     << "";
        QTest::newRow("lone quote")                  << int(C::Name)    << "'"      << "";
        QTest::newRow("address line 2 anywhere")     << int(C::Address) << "garden" << "Maria";
        QTest::newRow("address line 1 prefix only")  << int(C::Address) << "street" << "";
        QTest::newRow("third phone")                 << int(C::Phone)   << "555"    << "MARTA";
        QTest::newRow("city")                        << int(C::City)    << "wien"   << "Sean";
        QTest::newRow("mail")                        << int(C::Mail)    << "SEAN@"  << "Sean";
        QTest::newRow("text the base cannot hold")   << int(C::Name)    << "王"     << "";
        // clang-format on
    }
    void search() {
        QFETCH(int, criterion);
        DataModule data;
        openSeedBase(*m_env, data);
        ClientRepository repo(&data);
        // name, surname, city, address, address 2, third phone, mail
        const QList<QStringList> seeds = {
            {"Maria", "Miller", "Berlin", "Main street 1", "Green garden 4", "", ""},
            {"MARTA", "Novak", "Praha", "", "", "555-01", ""},
            {"Sean", "O'Neil", "Wien", "", "", "", "sean@example.org"},
            {"%Proc", "Percent", "", "", "", "", ""},
            {"Ёлка", "Ёлкина", "", "", "", "", ""},
            {"Amaria", "Inside", "", "", "", "", ""},
        };
        for (const QStringList &s : seeds) {
            ClientCard card = validCard(s[0], s[1]);
            card.city = s[2];
            card.adress = s[3];
            card.adress2 = s[4];
            card.tel3 = s[5];
            card.eMail = s[6];
            QVERIFY(repo.addCard(card, QString(), m_today));
        }
        ClientSearch search;
        search.criterion = ClientSearch::Criterion(criterion);
        QFETCH(QString, text);
        search.text = text;
        QString error;
        QStringList names;
        for (const ClientListEntry &entry : repo.find(search, &error))
            names.append(entry.name);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTEST(names.join(QLatin1Char('|')), "found");
    }

    void deleteKeepsTests() {
        ClientRepository repo(&m_data);
        ClientCard card = validCard("Gone");
        QVERIFY(repo.addCard(card, QString(), m_today));
        TestRecord test = makeTest(card.code, QDateTime(m_today, QTime(10, 0)));
        QVERIFY(m_data.saveTest(test));
        QVERIFY(repo.removeCard(card.code));
        QVERIFY(!repo.card(card.code));
        QCOMPARE(m_data.testsOfClient(card.code).size(), 1);
    }

    void listModel() {
        DataModule data;
        ClientsModel model(&data);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        QVERIFY(data.open(copySeedBase(*m_env)));
        QCOMPARE(model.rowCount(), 0);
        ClientRepository repo(&data);
        for (const char *name : {"Boris", "Vera", "Ivan"}) {
            ClientCard card = validCard(QLatin1String(name));
            QVERIFY(repo.addCard(card, QString(), m_today));
        }
        model.reload();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(1, ClientsModel::NameColumn).data().toString(), "Vera");
        QCOMPARE(model.rowOfCode(model.codeAt(1).toLower()), 1);
        QCOMPARE(model.quickFind("VAN", false), 2);
        QCOMPARE(model.quickFind("petro", false), -1);
        QCOMPARE(model.quickFind("petro", true), 0);

        ClientSearch search;
        search.text = "v";
        model.setSearch(search);
        QCOMPARE(model.rowCount(), 1);
        model.reload(); // a saved card reloads the list; the search stays
        QCOMPARE(model.rowCount(), 1);
        model.clearSearch();
        QCOMPARE(model.rowCount(), 3);
        data.close();
        QCOMPARE(model.rowCount(), 0);
    }

    void listReadInBackground() {
        const QString path = copySeedBase(*m_env);
        {
            DataModule data;
            QVERIFY(data.open(path));
            ClientRepository repo(&data);
            for (int i = 0; i < 300; ++i) {
                ClientCard card = validCard(QStringLiteral("Card%1").arg(i));
                QVERIFY(repo.addCard(card, QString(), m_today));
            }
        }

        // The read after an opening arrives later and fills the list in key order.
        DataModule data;
        ClientsModel model(&data);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        model.setReadOpeningInBackground(true);
        QSignalSpy loading(&model, &ClientsModel::loadingChanged);
        QVERIFY(data.open(path));
        QVERIFY(model.isLoading());
        QTRY_COMPARE(model.rowCount(), 300);
        QVERIFY(!model.isLoading());
        QCOMPARE(loading.count(), 2);
        QCOMPARE(model.index(299, ClientsModel::NameColumn).data().toString(), "Card299");

        // A search made while the read is under way: the search's rows stay, the older read's
        // rows never come over them.
        data.close();
        QVERIFY(data.open(path));
        QVERIFY(model.isLoading());
        ClientSearch search;
        search.text = "Card29";
        model.setSearch(search);
        QVERIFY(!model.isLoading());
        QCOMPARE(model.rowCount(), 11); // Card29 and Card290..Card299
        QTest::qWait(400);
        QCOMPARE(model.rowCount(), 11);
        model.clearSearch();
        QCOMPARE(model.rowCount(), 300);

        // Closing while a read is under way ends it before the base closes; the list stays empty.
        data.close();
        QVERIFY(data.open(path));
        data.close();
        QVERIFY(!model.isLoading());
        QTest::qWait(100);
        QCOMPARE(model.rowCount(), 0);
        // The base file is free again: nothing holds it open.
        QVERIFY(data.open(path));
        QTRY_COMPARE(model.rowCount(), 300);
    }

private:
    QString writeJpeg(const QString &name) {
        const QString path = m_env->scratch("photos") + QLatin1Char('/') + name;
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image.save(path, "JPG") ? path : QString();
    }

    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
    const QDate m_today = QDate(2026, 3, 10);
};

QTEST_GUILESS_MAIN(TestClientCards)
#include "tst_clientcards.moc"
