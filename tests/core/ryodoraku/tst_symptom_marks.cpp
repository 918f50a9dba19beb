// The symptom marks of the channel cards: the stored DATA text both ways, ticks captured from
// and put back onto the cards, and the marks kept per test and per client in the base.
#include "../records/RecordsTestSupport.h"
#include "records/DataModule.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "TestEnvironment.h"

#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;

namespace {

ChannelMarks namedMarks() {
    ChannelMarks marks;
    for (int c = 0; c < Channels::Count; ++c)
        marks[c].name = c == 0 ? "N" : QStringLiteral("C%1").arg(c);
    return marks;
}

// The part of a DATA text that belongs to the first channel.
QString firstChannel(const QString &data) {
    const qsizetype next = data.indexOf("C1&");
    return data.left(next);
}

CardTicks card(int channel, QList<bool> first, QList<bool> second) {
    CardTicks ticks;
    ticks.channel = channel;
    ticks.first = std::move(first);
    ticks.second = std::move(second);
    return ticks;
}

} // namespace

Q_DECLARE_METATYPE(CardTicks)

class TestSymptomMarks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dataText_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QList<CardTicks>>("cards");
        QTest::newRow("nothing known") << QStringLiteral("N&%%%") << false << QList<CardTicks>();
        QTest::newRow("two and two items, one ticked each")
            << QStringLiteral("N&01&10&&") << false
            << QList<CardTicks>{card(0, {false, true}, {true, false})};
        QTest::newRow("no card after a reset")
            << QStringLiteral("N&0&0&0&") << true << QList<CardTicks>();
        QTest::newRow("two and one items, none ticked")
            << QStringLiteral("N&00&0&&") << true
            << QList<CardTicks>{card(0, {false, false}, {false})};
    }
    void dataText() {
        QFETCH(bool, reset);
        QFETCH(QList<CardTicks>, cards);
        ChannelMarks marks = namedMarks();
        if (reset)
            resetMarks(marks);
        captureMarks(marks, cards);
        const QString data = marks.dataText();
        QTEST(firstChannel(data), "stored");

        // Read back, the strings are the same and write the same text again.
        ChannelMarks back = namedMarks();
        back[0].first = "stale&";
        back.parseData(data);
        QCOMPARE(back[0].first, marks[0].first);
        QCOMPARE(back[0].second, marks[0].second);
        QCOMPARE(back[0].other, marks[0].other);
        QCOMPARE(back.dataText(), data);
    }

    void appliedOntoCards() {
        ChannelMarks marks = namedMarks();
        QList<CardTicks> shown{card(3, {false, false, true}, {true})};
        // Nothing known for any channel: the cards stay as they are.
        applyMarks(marks, shown);
        QCOMPARE(shown.first().first, (QList<bool>{false, false, true}));

        marks[3].first = "1101&"; // one character too many: ignored
        marks[3].second = "0&";
        marks[3].other = "111&"; // kept, never applied
        shown.first().extra[0] = {false};
        applyMarks(marks, shown);
        QCOMPARE(shown.first().first, (QList<bool>{true, true, false}));
        QCOMPARE(shown.first().second, QList<bool>{false});
        QCOMPARE(shown.first().extra[0], QList<bool>{false});

        // The extra lists are written row by row across the three lists.
        CardTicks extra = card(5, {}, {});
        extra.extra = {QList<bool>{true, false}, QList<bool>{false}, QList<bool>{true, true, true}};
        captureMarks(marks, {extra});
        QCOMPARE(marks[5].other, QStringLiteral("101"
                                                "01"
                                                "1&"));
        QCOMPARE(marks[5].first, "&");

        // A text cut short keeps the channels it does not reach.
        ChannelMarks cut = namedMarks();
        cut[1].first = "1&";
        cut.parseData("N&1&%%C1&0");
        QCOMPARE(cut[0].first, "1&");
        QCOMPARE(cut[1].first, "1&");
    }

    void keptPerTestAndClient() {
        TestEnvironment env;
        DataModule data;
        openSeedBase(env, data);
        QString error;
        ChannelMarks marks;
        loadCatalogueNames(marks, ChannelCatalogue::load(ChannelCatalogue::defaultPath()));
        QCOMPARE(marks[0].name, "LU9 Taiyuan");
        QVERIFY(marks[0].first.isEmpty());

        // The practitioner ticks on test A, switches to B, ticks there, and comes back to A.
        const QString client = "Q71";
        const int testA = 101, testB = 102;
        resetMarks(marks);
        captureMarks(marks, {card(0, {true, false}, {false, true})});
        QVERIFY2(SymptomMarksStore::saveMarks(data, client, testA, marks, &error),
                 qPrintable(error));
        resetMarks(marks);
        QVERIFY(SymptomMarksStore::loadMarks(data, client, testB, marks));
        QCOMPARE(marks[0].first, "0&"); // nothing stored for B yet
        captureMarks(marks, {card(0, {false, false}, {true, true})});
        QVERIFY(SymptomMarksStore::saveMarks(data, client, testB, marks));
        resetMarks(marks);
        QVERIFY(SymptomMarksStore::loadMarks(data, "q71", testA, marks));
        QCOMPARE(marks[0].first, "10&");
        QCOMPARE(marks[0].second, "01&");
        // Saving A again edits its row instead of adding one.
        QVERIFY(SymptomMarksStore::saveMarks(data, client, testA, marks));

        // Client Q710's marks of the same test number are not Q71's.
        ChannelMarks other;
        resetMarks(other);
        other[0].first = "11&";
        QVERIFY(SymptomMarksStore::saveMarks(data, "Q710", testA, other));
        resetMarks(marks);
        QVERIFY(SymptomMarksStore::loadMarks(data, client, testA, marks));
        QCOMPARE(marks[0].first, "10&");

        QSqlQuery count(data.database());
        QVERIFY(count.exec("SELECT COUNT(*) FROM SYMPTOMS") && count.next());
        QCOMPARE(count.value(0).toInt(), 3);
        count.finish();

        // No client or no stored test: nothing is written.
        QVERIFY(!SymptomMarksStore::saveMarks(data, QString(), testA, marks, &error));
        QVERIFY(!SymptomMarksStore::saveMarks(data, client, 0, marks, &error));
    }
};

QTEST_GUILESS_MAIN(TestSymptomMarks)
#include "tst_symptom_marks.moc"
