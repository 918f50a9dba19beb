// The correction window: what it shows of Options.ini and what it stores when it closes.
#include "app/DataFolderSetup.h"
#include "ChildWidget.h"
#include "common/IniFile.h"
#include "measure/CorrectForm.h"
#include "Options.h"
#include "TestEnvironment.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

class TestCorrectForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        DataFolderSetup::run();
    }
    void cleanup() { m_env.reset(); }

    void showsAndStores() {
        writeStored(QStringLiteral("10"), QStringLiteral("-4"), QStringLiteral("1"));
        {
            CorrectForm form;
            form.show();
            QVERIFY(form.isOn());
            QVERIFY(child<QRadioButton>(&form, "RadioButCal1")->isChecked());
            QCOMPARE(child<QSpinBox>(&form, "EditCal1")->value(), 10);
            QCOMPARE(child<QSpinBox>(&form, "EditCal2")->value(), -4);
            QCOMPARE(form.correction().correct(57), 62);

            // CAL switches off: every control but CAL is disabled, nothing is corrected.
            QTest::mouseClick(child<QPushButton>(&form, "CalBut"), Qt::LeftButton);
            QVERIFY(!form.isOn());
            for (const char *name : {"RadioButCal1", "RadioButCal2", "EditCal1", "EditCal2",
                                     "Label1", "Label2", "Label3"})
                QVERIFY2(!form.findChild<QWidget *>(QLatin1String(name))->isEnabled(), name);
            QCOMPARE(form.correction().correct(57), 57);
            form.close();
        }
        QCOMPARE(stored(QStringLiteral("cal")), QStringLiteral("0"));
        QCOMPARE(stored(QStringLiteral("cal1")), QStringLiteral("10"));

        {
            CorrectForm form;
            form.show();
            QVERIFY(!form.isOn());
            QTest::mouseClick(child<QPushButton>(&form, "CalBut"), Qt::LeftButton);
            child<QRadioButton>(&form, "RadioButCal2")->setChecked(true);
            child<QSpinBox>(&form, "EditCal2")->setValue(-10);
            QCOMPARE(form.correction().correct(5), -5);
            form.reject();
        }
        QCOMPARE(stored(QStringLiteral("cal")), QStringLiteral("2"));
        QCOMPARE(stored(QStringLiteral("cal2")), QStringLiteral("-10"));
    }

    // A value the spin edits cannot hold is shown at their limit; an unknown switch is off.
    void oddStoredValues() {
        writeStored(QStringLiteral("500"), QStringLiteral("x"), QStringLiteral("7"));
        CorrectForm form;
        form.show();
        QVERIFY(!form.isOn());
        QCOMPARE(child<QSpinBox>(&form, "EditCal1")->value(), 100);
        QCOMPARE(child<QSpinBox>(&form, "EditCal2")->value(), 0);
    }

private:
    void writeStored(const QString &cal1, const QString &cal2, const QString &cal) {
        QVERIFY(setOption(QStringLiteral("correct"), QStringLiteral("cal1"), cal1));
        QVERIFY(setOption(QStringLiteral("correct"), QStringLiteral("cal2"), cal2));
        QVERIFY(setOption(QStringLiteral("correct"), QStringLiteral("cal"), cal));
    }
    static QString stored(const QString &key) { return option(QStringLiteral("correct"), key); }

    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_MAIN(TestCorrectForm)
#include "tst_correct_form.moc"
