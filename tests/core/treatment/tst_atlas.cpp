// The point atlas rules: positions read from the point file with their defaults, marks placed
// on a scaled picture, the two blink sequences, and the shipped position files.
#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "symptoms/DesDotsCatalogue.h"
#include "TestEnvironment.h"
#include "treatment/AtlasPoints.h"
#include "treatment/BodyMarkGeometry.h"
#include "treatment/MarkBlink.h"

#include <QRegularExpression>
#include <QtTest>

using Picture = BodyMarkGeometry::Picture;
Q_DECLARE_METATYPE(Picture)
Q_DECLARE_METATYPE(MarkBlink::Style)

class TestAtlas : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void positions_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("known");
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QList<int>>("values"); // left1 top1 left2 top2 Color

        const QString file = QStringLiteral(
            "[LU7]\r\nimage=f\r\nleft1=60\r\ntop1=290\r\nleft2=220\r\ntop2=291\r\nColor=255\r\n"
            "[GB30]\nimage = S \nleft1=140\ntop1=12abc\n"
            "[DU14]\nleft1=142\ntop1=92\nleft2=142\ntop2=92\n");
        QTest::newRow("complete section")
            << file << "LU7" << true << Picture::Front << QList<int>{60, 290, 220, 291, 255};
        QTest::newRow("letter case and blanks, lenient numbers, missing keys")
            << file << " gb30 " << true << Picture::Side << QList<int>{140, 12, 0, 0, 0};
        QTest::newRow("no image key: the back")
            << file << "DU14" << true << Picture::Back << QList<int>{142, 92, 142, 92, 0};
        QTest::newRow("unknown point: back, corner, black")
            << file << "ST36" << false << Picture::Back << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("no file at all")
            << QString() << "LU7" << false << Picture::Back << QList<int>{0, 0, 0, 0, 0};
    }
    void positions() {
        QFETCH(QString, file);
        QFETCH(QString, code);
        const AtlasPoints points(IniFile::fromText(file));
        QTEST(points.contains(code), "known");
        const AtlasPosition p = points.position(code);
        QTEST(BodyMarkGeometry::pictureOf(p.image), "picture");
        QTEST((QList<int>{p.left1, p.top1, p.left2, p.top2, p.color}), "values");
    }

    void dotPlacement_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<int>("correction");
        QTest::addColumn<QPoint>("dot");

        // The atlas window's first size: the back picture fills its height, centred across.
        QTest::newRow("atlas, back, window size")
            << QSize(301, 563) << Picture::Back << QPoint(100, 200) << 3 << QPoint(104, 199);
        // Twice the reference size, centred in a wider area.
        QTest::newRow("front at twice the size")
            << QSize(762, 1112) << Picture::Front << QPoint(100, 200) << 3 << QPoint(294, 394);
        QTest::newRow("side at half the size")
            << QSize(116, 278) << Picture::Side << QPoint(101, 301) << 3 << QPoint(49, 149);
        // A point the file lacks sits at (-3, -3) scaled: just outside the picture's corner.
        QTest::newRow("unknown point, scaled twice")
            << QSize(570, 1112) << Picture::Back << QPoint(0, 0) << 3 << QPoint(-6, -6);
        QTest::newRow("disease page, tall picture")
            << QSize(285, 556) << Picture::Back << QPoint(100, 200) << 2 << QPoint(98, 198);
        // A catalogue position at the end of the integer range lands far off the picture on
        // its own side, not wrapped round onto it.
        QTest::newRow("extreme position")
            << QSize(285, 556) << Picture::Back << QPoint(INT_MIN, INT_MAX) << 2
            << QPoint(-1000000, 1000000);
    }
    void dotPlacement() {
        QFETCH(QSize, area);
        QFETCH(Picture, picture);
        QFETCH(QPoint, position);
        QFETCH(int, correction);
        QFETCH(QPoint, dot);
        const QRect shown = BodyMarkGeometry::fit(area, picture);
        QVERIFY(QRect(QPoint(0, 0), area).contains(shown));
        const QPoint d =
            BodyMarkGeometry::dotAt(shown, picture, position.x(), position.y(), correction);
        QCOMPARE(d, dot);
        QCOMPARE(BodyMarkGeometry::ringAt(d), dot - QPoint(7, 7));
    }

    void blinkSequence_data() {
        QTest::addColumn<MarkBlink::Style>("style");
        QTest::addColumn<QStringList>("steps"); // after each tick: dots rings width, "end" last

        QTest::newRow("atlas: ten steps, dots toggle, rings thin away")
            << MarkBlink::Style::Atlas
            << QStringList{"0 1 5", "1 1 4", "0 1 3", "1 1 2", "0 1 1",
                           "1 1 0", "0 0 0", "1 0 0", "0 0 0", "end 1 0"};
        QTest::newRow("disease: five ticks, dots hidden until the end")
            << MarkBlink::Style::Disease
            << QStringList{"0 1 5", "0 1 4", "0 1 3", "0 1 2", "end 1 0"};
    }
    void blinkSequence() {
        QFETCH(MarkBlink::Style, style);
        QFETCH(QStringList, steps);
        MarkBlink blink(style);
        blink.start();
        blink.tick();
        blink.tick();
        blink.start(); // a second point shown during the blink starts it all again
        QVERIFY(blink.ringsVisible());
        QCOMPARE(blink.ringWidth(), 6);
        QCOMPARE(blink.dotsVisible(), style == MarkBlink::Style::Atlas);
        for (int i = 0; i < steps.size(); ++i) {
            const QStringList want = steps.at(i).split(QLatin1Char(' '));
            const bool goesOn = blink.tick();
            if (want.first() == QLatin1String("end")) {
                QVERIFY2(!goesOn && !blink.running(), qPrintable(QString::number(i)));
                QVERIFY(blink.dotsVisible());
                QVERIFY(!blink.ringsVisible());
                continue;
            }
            QVERIFY2(goesOn, qPrintable(QString::number(i)));
            QCOMPARE(blink.dotsVisible(), want.at(0) == QLatin1String("1"));
            QCOMPARE(blink.ringsVisible(), want.at(1) == QLatin1String("1"));
            if (blink.ringsVisible())
                QCOMPARE(blink.ringWidth(), want.at(2).toInt());
        }
        QVERIFY(!blink.tick()); // a finished sequence stays finished
        QVERIFY(blink.dotsVisible());
    }

    void shippedPointsLieOnTheirPictures() {
        const IniFile file(AppPaths::installFile(AtlasPoints::fileName()));
        QVERIFY(file.existed());
        const AtlasPoints points(file);
        const QRegularExpression code("^[A-Z]{2}[1-9][0-9]?$");
        const QStringList sections = file.sections();
        QVERIFY(sections.size() > 100);
        for (const QString &s : sections) {
            QVERIFY2(code.match(s).hasMatch(), qPrintable(s));
            const AtlasPosition p = points.position(s);
            QVERIFY2(QStringList({"b", "f", "s"}).contains(p.image), qPrintable(s));
            const QSize ref = BodyMarkGeometry::referenceSize(BodyMarkGeometry::pictureOf(p.image));
            const QRect inside(QPoint(2, 2), ref - QSize(4, 4));
            QVERIFY2(inside.contains(p.left1, p.top1) && inside.contains(p.left2, p.top2),
                     qPrintable(s));
            // The two marks of a paired point are mirrored across the body: same height.
            QVERIFY2(qAbs(p.top1 - p.top2) <= 1, qPrintable(s));
        }
        // Every source and connecting point a recipe names can be shown.
        for (const char *c : {"LU9", "LU7", "LI4", "LI6",  "ST42", "ST40", "SP3", "SP4", "HT7",
                              "HT5", "SI4", "SI7", "BL64", "BL58", "KI3",  "KI4", "PC7", "PC6",
                              "SJ4", "SJ5", "TH4", "TH5",  "GB40", "GB37", "LV3", "LV5"})
            QVERIFY2(points.contains(QLatin1String(c)), c);
    }

    void shippedCataloguesName() {
        const DesDotsCatalogue catalogue;
        QVERIFY(catalogue.count() >= 14);
        const QStringList atlas =
            IniFile(AppPaths::installFile(AtlasPoints::fileName())).sections();
        QStringList names;
        for (int k = 0; k < catalogue.count(); ++k) {
            const DesDotsCatalogue::Entry &e = catalogue.entry(k);
            QVERIFY2(!names.contains(e.name), qPrintable(e.name));
            names.append(e.name);
            QCOMPARE(catalogue.find(e.name), k);
            const QSize ref =
                BodyMarkGeometry::referenceSize(BodyMarkGeometry::pictureOf(e.position.image));
            QVERIFY2(QRect(QPoint(0, 0), ref).contains(e.position.left1, e.position.top1),
                     qPrintable(e.name));
            // The points of each meridian are found in the atlas at their own places.
            const QRegularExpression own(QStringLiteral("^") + e.name + "[1-9]");
            QVERIFY2(atlas.indexOf(own) >= 0, qPrintable(e.name));
        }
        for (const char *n : {"LU", "LI", "ST", "SP", "HT", "SI", "BL", "KI", "PC", "TH", "SJ",
                              "GB", "LV", "DU", "RN"})
            QVERIFY2(catalogue.find(QLatin1String(n)) >= 0, n);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestAtlas)
#include "tst_atlas.moc"
