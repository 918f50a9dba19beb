// "Export tests…" on the clients page: the current client's tests go out, in the format and
// with the personal columns chosen in the dialog, while the window keeps running.
#include "ClientTests.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "records/ClientPanel.h"
#include "records/TestExportAction.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <QtTest>

class TestExportActionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportsTheCurrentClientAsChosen() {
        LanguageApplier::instance().apply(LanguageTexts());
        ClientTests fixture;
        const QString anna =
            addClient(fixture.data, QStringLiteral("Anna"), QStringLiteral("Berg"));
        const QString boris =
            addClient(fixture.data, QStringLiteral("Boris"), QStringLiteral("Lind"));
        std::array<int, Channels::Count> values{};
        values.fill(60);
        for (int day = 1; day <= 2; ++day)
            QVERIFY(fixture.add(QDateTime(QDate(2024, 3, day), QTime(9, 0)), values, anna));
        QVERIFY(fixture.add(QDateTime(QDate(2024, 3, 5), QTime(9, 0)), values, boris));

        ClientPanel page(&fixture.data, &fixture.session);
        page.setSharedBaseEnabled(false);
        page.show();
        page.enter();
        fixture.session.setCurrentClient(anna);

        const QString target = fixture.env.scratch(QStringLiteral("out")) + "/anna.csv";
        DialogRecorder dialogs(target);
        QTimer::singleShot(0, this, [] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == QLatin1String("TestExportDialog"));
            dialog->findChild<QRadioButton *>("ExportCsvRadio")->setChecked(true);
            dialog->findChild<QCheckBox *>("ExportLeaveOutCheck")->setChecked(true);
            dialog->accept();
        });
        QSignalSpy finished(page.testExport(), &TestExportAction::finished);
        page.findChild<QAction *>("ExportCurrentClient")->trigger();
        QVERIFY(finished.wait(30000));

        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 4); // header, two tests, the empty rest after the last line end
        QVERIFY(!lines.at(0).contains("Name"));
        for (const QByteArray &line : lines.mid(1, 2))
            QVERIFY2(line.startsWith(QByteArray(anna.toUtf8() + ',')), line.constData());
        QVERIFY(!dialogs.requests().isEmpty());
        QCOMPARE(dialogs.requests().last().kind, Dialogs::Kind::Message);
    }
};

QTEST_MAIN(TestExportActionTest)
#include "tst_test_export_action.moc"
