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

namespace {

ClientCard validCard(const QString &name = QStringLiteral("Anna"),
                     const QString &surname = QStringLiteral("Petrova")) {
    ClientCard card;
    card.name = name;
    card.surname = surname;
    card.birthday = QDate(1980, 5, 17);
    card.sex = QStringLiteral("1");
    card.height = QStringLiteral("170");
    card.weight = QStringLiteral("62");
    return card;
}

} // namespace

class TestClientCards : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void validation_data();
    void validation();
    void cardRoundTrip();
    void photoKeptOrCleared();
    void unreadablePhotoWritesNothing();
    void search_data();
    void search();
    void deleteKeepsTests();
    void listModel();
    void listReadInBackground();

private:
    QString writeJpeg(const QString &name, const QColor &colour);

    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
    const QDate m_today = QDate(2026, 3, 10);
};

void TestClientCards::initTestCase() {
    m_env = std::make_unique<TestEnvironment>();
    openSeedBase(*m_env, m_data);
}

void TestClientCards::cleanupTestCase() {
    m_data.close();
    m_env.reset();
}

QString TestClientCards::writeJpeg(const QString &name, const QColor &colour) {
    const QString path = m_env->scratch(QStringLiteral("photos")) + QLatin1Char('/') + name;
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "JPG") ? path : QString();
}

void TestClientCards::validation_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("label");

    // clang-format off
    QTest::newRow("fine")                 << "" << "" << "" << "";
    QTest::newRow("blank name")           << "name" << "   " << "WriteName" << "";
    QTest::newRow("no surname")           << "surname" << "" << "WriteSurname" << "";
    QTest::newRow("born today")           << "birthday" << "2026-03-10" << "WriteBirthDate" << "";
    QTest::newRow("no birth date")        << "birthday" << "" << "WriteBirthDate" << "";
    QTest::newRow("born yesterday")       << "birthday" << "2026-03-09" << "" << "";
    QTest::newRow("no sex")               << "sex" << " " << "WriteSex" << "";
    QTest::newRow("height 175a")          << "height" << "175a" << "HeigthMustBeDigit" << "";
    QTest::newRow("height empty")         << "height" << "" << "" << "";
    QTest::newRow("height 10 digits")     << "height" << "1234567890" << "HeigthMustBeLess" << "";
    QTest::newRow("height beyond column") << "height" << "12345" << "FieldTooLong" << "Height";
    QTest::newRow("weight -5")            << "weight" << "-5" << "WeightMustBeDigit" << "";
    QTest::newRow("chinese name")         << "name" << "王小明" << "FieldNotStorable" << "Name";
    QTest::newRow("cyrillic name")        << "name" << "Ёлкина" << "" << "";
    QTest::newRow("long city") << "city" << QString(31, QLatin1Char('x')) << "FieldTooLong" << "City";
    // clang-format on
}

void TestClientCards::validation() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, key);
    QFETCH(QString, label);
    ClientCard card = validCard();
    if (field == QLatin1String("name"))
        card.name = value;
    else if (field == QLatin1String("surname"))
        card.surname = value;
    else if (field == QLatin1String("birthday"))
        card.birthday = QDate::fromString(value, Qt::ISODate);
    else if (field == QLatin1String("sex"))
        card.sex = value;
    else if (field == QLatin1String("height"))
        card.height = value;
    else if (field == QLatin1String("weight"))
        card.weight = value;
    else if (field == QLatin1String("city"))
        card.city = value;
    const ClientValidation::Problem problem = ClientValidation::check(card, m_today);
    QCOMPARE(problem.key, key);
    QCOMPARE(problem.field, label);
}

void TestClientCards::cardRoundTrip() {
    ClientRepository repo(&m_data);
    ClientCard card = validCard(QStringLiteral("Ольга"), QStringLiteral("Смирнова"));
    card.city = QStringLiteral("Казань");
    card.adress2 = QStringLiteral("кв. 5");
    card.tel3 = QStringLiteral("+7 900 123");
    // Phones in international form are longer than the 15 characters of older bases.
    card.tel1 = QStringLiteral("+7 916 123-45-67");
    card.tel2 = QStringLiteral("+44 (0)20 7946 0958 ext. 123");
    card.comment = QStringLiteral("Аллергия на йод.\nLine two");
    card.skypeType = 1;
    card.skype = QStringLiteral("12345");
    QString error;
    QVERIFY2(repo.addCard(card, QString(), m_today, &error), qPrintable(error));
    QVERIFY(card.code.startsWith(QLatin1String("Q7")));

    const std::optional<ClientCard> back = repo.card(card.code, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->name, card.name);
    QCOMPARE(back->surname, card.surname);
    QCOMPARE(back->birthday, card.birthday);
    QCOMPARE(back->dateCreate, m_today);
    QCOMPARE(back->sex, QStringLiteral("1"));
    QCOMPARE(back->city, card.city);
    QCOMPARE(back->adress2, card.adress2);
    QCOMPARE(back->comment, card.comment);
    QCOMPARE(back->skypeType, 1);
    QCOMPARE(back->skype, card.skype);
    QCOMPARE(back->tel1, card.tel1);
    QCOMPARE(back->tel2, card.tel2);
    QCOMPARE(SchemaUpgrade::columnWidth(m_data.database(), QStringLiteral("CLIENTS"), QStringLiteral("TEL3")),
             SchemaUpgrade::PhoneWidth);
    QVERIFY(!back->hasPhoto());
    // No photo is kept as "0" for older installations that share the base.
    QSqlQuery query(m_data.database());
    query.prepare(QStringLiteral("SELECT FOTO FROM CLIENTS WHERE CODE_CLIENT = ?"));
    query.addBindValue(card.code);
    QVERIFY(query.exec() && query.next());
    QCOMPARE(query.value(0).toByteArray(), QByteArray("0"));
}

void TestClientCards::photoKeptOrCleared() {
    ClientRepository repo(&m_data);
    ClientCard card = validCard(QStringLiteral("Foto"), QStringLiteral("Graf"));
    const QString jpeg = writeJpeg(QStringLiteral("red.jpg"), Qt::red);
    QString error;
    QVERIFY2(repo.addCard(card, jpeg, m_today, &error), qPrintable(error));
    QVERIFY(card.hasPhoto());
    QVERIFY(!ClientRepository::decodePhoto(repo.card(card.code)->foto).isNull());

    // Editing without touching the photo keeps it, whatever the card in memory holds.
    ClientCard edited = *repo.card(card.code);
    edited.city = QStringLiteral("Riga");
    edited.foto.clear();
    QVERIFY2(repo.updateCard(edited, ClientRepository::keepPhoto(), &error), qPrintable(error));
    QCOMPARE(repo.card(card.code)->foto, card.foto);
    QCOMPARE(repo.card(card.code)->city, QStringLiteral("Riga"));

    // Clear + accept removes it.
    QVERIFY(repo.updateCard(edited, QString(), &error));
    QVERIFY(!repo.card(card.code)->hasPhoto());
    QVERIFY(ClientRepository::decodePhoto(QByteArray("0")).isNull());
}

void TestClientCards::unreadablePhotoWritesNothing() {
    if (::geteuid() == 0)
        QSKIP("root reads every file");
    ClientRepository repo(&m_data);
    const QString jpeg = writeJpeg(QStringLiteral("locked.jpg"), Qt::blue);
    QFile(jpeg).setPermissions(QFileDevice::Permissions());
    const int before = int(repo.list().size());
    ClientCard card = validCard();
    QString error;
    QVERIFY(!repo.addCard(card, jpeg, m_today, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(int(repo.list().size()), before);
}

void TestClientCards::search_data() {
    QTest::addColumn<int>("criterion");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found"); // names, "|" between

    using C = ClientSearch::Criterion;
    // clang-format off
    QTest::newRow("name prefix, any case")       << int(C::Name)    << "mar"    << "Maria|MARTA";
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

void TestClientCards::search() {
    QFETCH(int, criterion);
    QFETCH(QString, text);
    QFETCH(QString, found);

    DataModule data;
    openSeedBase(*m_env, data);
    ClientRepository repo(&data);
    struct Seed {
        const char *name, *surname, *city, *adress, *adress2, *tel3, *mail;
    };
    const Seed seeds[] = {
        {"Maria", "Miller", "Berlin", "Main street 1", "Green garden 4", "", ""},
        {"MARTA", "Novak", "Praha", "", "", "555-01", ""},
        {"Sean", "O'Neil", "Wien", "", "", "", "sean@example.org"},
        {"%Proc", "Percent", "", "", "", "", ""},
        {"Ёлка", "Ёлкина", "", "", "", "", ""},
        {"Amaria", "Inside", "", "", "", "", ""},
    };
    for (const Seed &s : seeds) {
        ClientCard card = validCard(QString::fromUtf8(s.name), QString::fromUtf8(s.surname));
        card.city = QString::fromUtf8(s.city);
        card.adress = QString::fromUtf8(s.adress);
        card.adress2 = QString::fromUtf8(s.adress2);
        card.tel3 = QString::fromUtf8(s.tel3);
        card.eMail = QString::fromUtf8(s.mail);
        QString error;
        QVERIFY2(repo.addCard(card, QString(), m_today, &error), qPrintable(error));
    }
    ClientSearch search;
    search.criterion = ClientSearch::Criterion(criterion);
    search.text = text;
    QString error;
    QStringList names;
    for (const ClientListEntry &entry : repo.find(search, &error))
        names.append(entry.name);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(names.join(QLatin1Char('|')), found);
}

void TestClientCards::deleteKeepsTests() {
    ClientRepository repo(&m_data);
    ClientCard card = validCard(QStringLiteral("Gone"));
    QVERIFY(repo.addCard(card, QString(), m_today));
    TestRecord test = makeTest(card.code, QDateTime(m_today, QTime(10, 0)));
    QVERIFY(m_data.saveTest(test));
    QVERIFY(repo.removeCard(card.code));
    QVERIFY(!repo.card(card.code));
    QCOMPARE(m_data.testsOfClient(card.code).size(), 1);
}

void TestClientCards::listModel() {
    DataModule data;
    ClientsModel model(&data);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(data.open(copySeedBase(*m_env)));
    QCOMPARE(model.rowCount(), 0);
    ClientRepository repo(&data);
    for (const char *name : {"Boris", "Vera", "Ivan"}) {
        ClientCard card = validCard(QLatin1String(name));
        QVERIFY(repo.addCard(card, QString(), m_today));
    }
    model.reload();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(1, ClientsModel::NameColumn).data().toString(), QStringLiteral("Vera"));
    const QString veraKey = model.codeAt(1);
    QCOMPARE(model.rowOfCode(veraKey.toLower()), 1);
    QCOMPARE(model.quickFind(QStringLiteral("VAN"), false), 2);
    QCOMPARE(model.quickFind(QStringLiteral("petro"), false), -1);
    QCOMPARE(model.quickFind(QStringLiteral("petro"), true), 0);

    ClientSearch search;
    search.text = QStringLiteral("v");
    model.setSearch(search);
    QCOMPARE(model.rowCount(), 1);
    model.reload(); // a saved card reloads the list; the search stays
    QCOMPARE(model.rowCount(), 1);
    model.clearSearch();
    QCOMPARE(model.rowCount(), 3);
    data.close();
    QCOMPARE(model.rowCount(), 0);
}

void TestClientCards::listReadInBackground() {
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
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setReadOpeningInBackground(true);
    QSignalSpy loading(&model, &ClientsModel::loadingChanged);
    QVERIFY(data.open(path));
    QVERIFY(model.isLoading());
    QTRY_COMPARE(model.rowCount(), 300);
    QVERIFY(!model.isLoading());
    QCOMPARE(loading.count(), 2);
    QCOMPARE(model.index(299, ClientsModel::NameColumn).data().toString(), QStringLiteral("Card299"));

    // A search made while the read is under way: the search's rows stay, the older read's
    // rows never come over them.
    data.close();
    QVERIFY(data.open(path));
    QVERIFY(model.isLoading());
    ClientSearch search;
    search.text = QStringLiteral("Card29");
    model.setSearch(search);
    QVERIFY(!model.isLoading());
    QCOMPARE(model.rowCount(), 11); // Card29 and Card290..Card299
    QTest::qWait(400);
    QCOMPARE(model.rowCount(), 11);
    model.clearSearch();
    QCOMPARE(model.rowCount(), 300);

    // Closing while a read is under way ends it before the base closes, and the list stays empty.
    data.close();
    QVERIFY(data.open(path));
    data.close();
    QVERIFY(!model.isLoading());
    QTest::qWait(100);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!data.isOpen());
    // The base file is free again: nothing holds it open.
    QVERIFY(data.open(path));
    QTRY_COMPARE(model.rowCount(), 300);
}

QTEST_GUILESS_MAIN(TestClientCards)
#include "tst_clientcards.moc"
