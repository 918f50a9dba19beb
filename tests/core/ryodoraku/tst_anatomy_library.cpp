// The anatomy display library through the real loader: it opens its window with what the
// program sends, closes again, and a missing library is refused without ending anything.
#include "ryodoraku/AnatomyGrading.h"
#include "ryodoraku/AnatomyLibrary.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QtTest>
#include <QWidget>

class TestAnatomyLibrary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void showsAndClosesTheDisplay() {
        AnatomyLibrary library;
        QString error;
        QVERIFY2(library.load(AnatomyLibrary::defaultPath(), &error), qPrintable(error));
        std::array<int, Channels::Count> values{};
        values.fill(100);
        values[0] = 150; // LLU: 50 % above
        QVERIFY(library.show(1, AnatomyGrading::grade(values)));
        QObject *window = library.window();
        QVERIFY(window);
        QCOMPARE(window->property("bodyModel").toInt(), 1);
        const QStringList lines = window->property("statisticsLines").toStringList();
        QCOMPARE(lines.size(), 24);
        QCOMPARE(lines.first(), "47%"); // mean 102: 47.06 %, as the cards say
        QCOMPARE(window->property("statisticsColors").toStringList().first(),
                 QColor(240, 0, 0).name());
        QCOMPARE(window->property("regionColors").toMap().value("4").toString(),
                 QColor(240, 0, 0).name());
        if (qEnvironmentVariableIsSet("VANDREL_SCREENSHOTS"))
            static_cast<QWidget *>(window)->grab().save(
                qEnvironmentVariable("VANDREL_SCREENSHOTS") + "/anatomy.png");

        library.moveTo(QPoint(40, 30));
        QCOMPARE(window->property("pos").toPoint(), QPoint(40, 30));

        // Showing again replaces the window; closing destroys it.
        QVERIFY(library.show(0, AnatomyGrading::grade(values)));
        QVERIFY(library.window() != nullptr);
        library.close();
        QVERIFY(!library.isOpen());
    }

    void missingLibraryIsNotLoadable() {
        AnatomyLibrary library;
        QString error;
        QVERIFY(!library.load(m_env->scratch("none") + "/anatomy", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!library.isLoaded());
        QVERIFY(!library.show(0, AnatomyGrading::grade({})));
        library.moveTo(QPoint(1, 1));
        library.close();
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_MAIN(TestAnatomyLibrary)
#include "tst_anatomy_library.moc"
