#pragma once

// The everyday sequences of two workstations sharing one client base, each run against a
// shared base the caller provides (a file for the embedded engine, or a server address).
#include "ClientSyncTestSupport.h"

#include <QtTest>

#include <functional>

namespace SyncScenarios {

struct Place {
    QString root;                                  // a folder for the installations' profiles
    std::function<QString(const QString &)> fresh; // a new empty shared base named so
    QString user;
    QString password;
};

inline std::unique_ptr<Installation> install(const Place &place, const QString &shared,
                                             const QString &name) {
    return std::make_unique<Installation>(
        place.root + QLatin1Char('/') + name +
            QString::number(QRandomGenerator::global()->generate()),
        shared, name, place.user, place.password);
}

// Workstations A and B on a new shared base of their own.
inline std::pair<std::unique_ptr<Installation>, std::unique_ptr<Installation>>
pair(const Place &place, const QString &base) {
    const QString shared = place.fresh(base);
    return {install(place, shared, "A"), install(place, shared, "B")};
}

// S1: a card saved while the shared base cannot be reached is kept, waits, and goes up.
inline void savedOffline(const Place &place) {
    auto [a, b] = pair(place, "s1");
    QVERIFY2(a->sync(), qPrintable(a->lastError()));
    a->setOnline(false);
    const QString key = a->add("Offline");
    const int test = a->measure(key, 7);
    QVERIFY(!a->sync());
    QCOMPARE(a->waiting(), 1);
    QCOMPARE(a->names(), QStringList{"Offline"});
    a->restart();
    a->setOnline(true);
    QVERIFY2(a->sync(), qPrintable(a->lastError()));
    QCOMPARE(a->waiting(), 0);
    const QString now = a->cards().key("Offline");
    QVERIFY(!now.isEmpty());
    QCOMPARE(a->testOwners().value(test), now);
    QVERIFY2(b->sync(), qPrintable(b->lastError()));
    QCOMPARE(b->cards().value(now), "Offline");
}

// S2: edits of different fields on two workstations are both kept; the same field edited on
// both keeps the later value and notes the other.
inline void editsOfBothKept(const Place &place) {
    auto [a, b] = pair(place, "s2");
    QVERIFY(a->sync());
    const QString key = a->add("Vera");
    QVERIFY(a->sync());
    QVERIFY(b->sync());
    QVERIFY(a->edit(key, [](ClientCard &c) {
        c.tel1 = "+7 916 000-11-22 ext. 5";
        c.tel2 = "from A";
    }));
    QVERIFY(a->sync());
    QTest::qWait(5);
    QVERIFY(b->edit(key, [](ClientCard &c) {
        c.city = "Tver";
        c.tel2 = "from B";
    }));
    QVERIFY2(b->sync(), qPrintable(b->lastError()));
    QVERIFY(a->sync());
    for (Installation *side : {a.get(), b.get()}) {
        const ClientCard c = *side->card(key);
        QCOMPARE(c.tel1, "+7 916 000-11-22 ext. 5");
        QCOMPARE(c.city, "Tver");
        QCOMPARE(c.tel2, "from B"); // the later edit
        const QList<ConflictNote> notes = side->notes(key);
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.first().field, "TEL2");
        QCOMPARE(notes.first().lostText, "from A");
        QCOMPARE(notes.first().lostBy, "A");
        QCOMPARE(notes.first().keptBy, "B");
    }
}

// S3: a card deleted on one workstation and edited on the other comes back, with a note.
inline void editWinsOverDeletion(const Place &place) {
    auto [a, b] = pair(place, "s3");
    QVERIFY(a->sync());
    const QString key = a->add("Lidia");
    const int test = a->measure(key, 3);
    QVERIFY(a->sync());
    QVERIFY(b->sync());
    QVERIFY(a->remove(key));
    QVERIFY(a->sync());
    QVERIFY(b->edit(key, [](ClientCard &c) { c.comment = "seen on Monday"; }));
    QVERIFY2(b->sync(), qPrintable(b->lastError()));
    QVERIFY(a->sync());
    for (Installation *side : {a.get(), b.get()}) {
        QVERIFY(side->card(key).has_value());
        QCOMPARE(side->card(key)->comment, "seen on Monday");
        const QList<ConflictNote> notes = side->notes(key);
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.first().field, ClientConflicts::deletedField());
        QCOMPARE(notes.first().lostBy, "A");
    }
    QCOMPARE(a->testOwners().value(test), key);

    // A deletion on a stale copy is undone the other way round too.
    QVERIFY(a->edit(key, [](ClientCard &c) { c.city = "Omsk"; }));
    QVERIFY(a->sync());
    QVERIFY(b->remove(key));
    QVERIFY(b->sync());
    QVERIFY(b->card(key).has_value());
    QCOMPARE(b->card(key)->city, "Omsk");

    // A deletion on an up-to-date copy goes everywhere.
    QVERIFY(b->remove(key));
    QVERIFY(b->sync());
    QVERIFY(a->sync());
    QVERIFY(!a->card(key).has_value());
    QVERIFY(!b->card(key).has_value());
}

// S4: a key freed by a deletion is never given again, so old tests never meet a new client.
inline void deletedKeyNeverReused(const Place &place) {
    auto [a, b] = pair(place, "s4");
    QVERIFY(a->sync());
    QVERIFY(b->sync());
    const QString gone = b->add("Gone");
    const int test = b->measure(gone, 11);
    QVERIFY(b->sync());
    QVERIFY(b->remove(gone));
    QVERIFY(b->sync());
    QVERIFY(a->sync());
    QStringList made;
    for (int i = 0; i < 5; ++i)
        made.append(a->add(QStringLiteral("New%1").arg(i)));
    QVERIFY(a->sync());
    QVERIFY(!made.contains(gone));
    QVERIFY(b->sync());
    QCOMPARE(b->testOwners().value(test), gone);
    QVERIFY(!b->card(gone).has_value());
}

// S5: an installation with cards of its own joins a base in use: both sets are kept, its
// colliding keys are renamed with their tests, and it is told which.
inline void joiningMerges(const Place &place) {
    const QString office = place.fresh("s5office");
    const QString home = place.fresh("s5home");
    auto a = install(place, office, "A");
    QVERIFY(a->sync());
    const QString anna = a->add("Anna");
    const QString boris = a->add("Boris");
    QVERIFY(a->sync());
    auto c = install(place, home, "C");
    QVERIFY(c->sync());
    const QString clara = c->add("Clara");
    const QString dora = c->add("Dora");
    const int claraTest = c->measure(clara, 21);
    const int doraTest = c->measure(dora, 22);
    QVERIFY(c->sync());
    QCOMPARE(clara, anna); // both bases began at the same number
    c->takeRenames();

    c->moveTo(office);
    c->restart();
    QVERIFY2(c->sync(), qPrintable(c->lastError()));
    const QStringList all = {"Anna", "Boris", "Clara", "Dora"};
    QCOMPARE(c->names(), all);
    QCOMPARE(c->cards().value(anna), "Anna");
    QCOMPARE(c->cards().value(boris), "Boris");
    const QString claraNow = c->cards().key("Clara");
    const QString doraNow = c->cards().key("Dora");
    QCOMPARE(c->testOwners().value(claraTest), claraNow);
    QCOMPARE(c->testOwners().value(doraTest), doraNow);
    QStringList renamed;
    for (const ClientSync::Rename &r : c->takeRenames()) {
        QVERIFY(!r.provisional);
        renamed.append(r.name);
    }
    renamed.sort();
    QCOMPARE(renamed, (QStringList{"Clara Sync", "Dora Sync"}));
    QVERIFY(a->sync());
    QCOMPARE(a->names(), all);
}

// S6: a card made on a workstation that never reached the shared base gets a provisional key
// and, at the first synchronisation, a final key no other client has; its test follows.
inline void offlineCardsNeverCollide(const Place &place) {
    auto [a, b] = pair(place, "s6");
    a->setOnline(false);
    const QString provisional = a->add("Alone");
    QVERIFY(ClientKeys::isProvisional(provisional));
    const int test = a->measure(provisional, 31);
    QVERIFY(b->sync());
    const QString online = b->add("Online");
    QVERIFY(b->sync());
    a->setOnline(true);
    QVERIFY2(a->sync(), qPrintable(a->lastError()));
    const QString alone = a->cards().key("Alone");
    QVERIFY(alone.startsWith("Q7") && !ClientKeys::isProvisional(alone));
    QVERIFY(alone != online);
    QCOMPARE(a->testOwners().value(test), alone);
    // A test saved later under the old key still lands under the new one.
    const int late = a->measure(provisional, 32);
    QCOMPARE(a->testOwners().value(late), alone);
    QVERIFY(b->sync());
    QCOMPARE(b->names(), (QStringList{"Alone", "Online"}));
    QCOMPARE(a->names(), b->names());
}

} // namespace SyncScenarios
