// The inquiry page driven as a practitioner would: answering with the marks, saving under a
// date and reading back, categories kept apart, a typed date checked, collapsing rows, pending
// answers offered before they would be lost, the workbook, the questionnaire in Russian, and
// questionnaire files that are short or missing.
#include "app/AppPaths.h"
#include "ChildWidget.h"
#include "ClientTests.h"
#include "common/Clock.h"
#include "common/TextFile.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "symptoms/InquirerPanel.h"
#include "symptoms/InquirerQuestion.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 5, 1), QTime(10, 0, 5));

struct Fixture : ClientTests
{
    QString client;
    Fixture()
    {
        Localization::setCurrentLanguage(QStringLiteral("English"));
        LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
        Clock::setNow(kNow);
        client = addClient(data, QStringLiteral("Anna"), QStringLiteral("Petrova"));
        session.setCurrentClient(client);
    }
    ~Fixture() { Clock::setNow(QDateTime()); }
    int rows()
    {
        QSqlQuery q(data.database());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM INQUIRER"));
        return q.next() ? q.value(0).toInt() : -1;
    }
};

QComboBox *dates(QWidget *page)
{
    return child<QComboBox>(page, "SymptomDate");
}

void answer(InquirerPanel &page, int index, int k)
{
    InquirerQuestion *row = page.question(index);
    QVERIFY(row);
    row->setExpanded(true);
    row->answerButtons().at(k - 1)->click();
}

bool asked(const QList<Dialogs::Request> &requests, Dialogs::Kind kind,
           const QString &text = QString())
{
    for (const Dialogs::Request &r : requests) {
        if (r.kind == kind && r.text.contains(text))
            return true;
    }
    return false;
}

QString writeQuestionnaire(const QString &folder, int count)
{
    QStringList lines = {QStringLiteral("[Options]"), QStringLiteral("count=%1").arg(count)};
    for (int n = 1; n <= count; ++n) {
        lines << QStringLiteral("[%1]").arg(n) << QStringLiteral("Id=Question %1").arg(n)
              << QStringLiteral("count=2") << QStringLiteral("1=Yes") << QStringLiteral("2=No")
              << QStringLiteral("[%1a]").arg(n) << QStringLiteral("1=yes %1").arg(n)
              << QStringLiteral("2=no %1").arg(n);
    }
    TextFile::writeLines(folder + QStringLiteral("/Inquirer.INI"), lines);
    return folder;
}

} // namespace

class TestInquirerPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answeringWithTheMarks();
    void savedSetsReadBack();
    void typedDates();
    void collapsingMovesOnlyLaterRows();
    void pendingAnswersAreOffered();
    void workbookExport();
    void questionnaireInRussian();
    void shortOrMissingQuestionnaire();
};

void TestInquirerPanel::answeringWithTheMarks()
{
    Fixture f;
    DialogRecorder dialogs(QStringLiteral("no"));
    InquirerPanel page(&f.data, &f.session);
    page.enter();
    // A new questionnaire for a client without sets: now as the date, nothing answered.
    QCOMPARE(page.dateText(), QStringLiteral("01.05.2024 10:00:05"));
    QCOMPARE(page.questions().size(), 17);
    QCOMPARE(page.answerString(), QString(QStringLiteral("0&").repeated(17) + QLatin1Char('#')));

    answer(page, 0, 2);
    answer(page, 2, 1);
    QVERIFY(!page.question(0)->answeredMark()->isHidden());
    QVERIFY(page.answerString().startsWith(QStringLiteral("2&0&1&0&")));
    QVERIFY(page.hasUnsavedAnswers());

    // Changing the answer keeps one button checked.
    answer(page, 0, 3);
    QCOMPARE(page.question(0)->answer(), 3);
    QCOMPARE(page.question(0)->answerButtons().at(1)->isChecked(), false);

    // The tick clears the whole question.
    page.question(0)->answeredMark()->click();
    QVERIFY(page.question(0)->answeredMark()->isHidden());
    for (QRadioButton *b : page.question(0)->answerButtons())
        QVERIFY(!b->isChecked());
    QVERIFY(page.answerString().startsWith(QStringLiteral("0&0&1&")));

    // Calculate prints each answered question with its interpretation.
    child<QPushButton>(&page, "sBitBtn2")->click();
    const QString memo = child<QTextEdit>(&page, "ResultMemo")->toPlainText();
    const InquirerItem q2 = page.questionnaire().item(2);
    QCOMPARE(memo, q2.text + QLatin1Char('\n') + q2.answers.at(0) + QLatin1Char('\n')
                       + q2.interpretations.at(0) + QLatin1Char('\n'));
}

void TestInquirerPanel::savedSetsReadBack()
{
    Fixture f;
    DialogRecorder dialogs(QStringLiteral("no")); // no workbook
    InquirerPanel page(&f.data, &f.session);
    page.enter();
    answer(page, 1, 2);
    answer(page, 16, 1);
    child<QPushButton>(&page, "sBitBtn1")->click();
    QVERIFY(asked(dialogs.requests(), Dialogs::Kind::Question,
                  QStringLiteral("Save the answers to a spreadsheet file?")));
    QVERIFY(!page.hasUnsavedAnswers());
    const QString first = page.answerString();
    QCOMPARE(dates(&page)->count(), 1);

    // Saving again without changing the date text edits the same set.
    answer(page, 3, 1);
    QVERIFY(page.save());
    QCOMPARE(f.rows(), 1);
    const QString edited = page.answerString();
    QVERIFY(edited != first);

    // A new questionnaire an hour later is a second set.
    Clock::setNow(kNow.addSecs(3600));
    child<QPushButton>(&page, "MakeNewButton")->click();
    QCOMPARE(page.dateText(), QStringLiteral("01.05.2024 11:00:05"));
    QCOMPARE(page.answerString().count(QLatin1Char('0')), 17);
    answer(page, 5, 1);
    QVERIFY(page.save());
    QCOMPARE(dates(&page)->count(), 2);
    QCOMPARE(f.rows(), 2);

    // Choosing the first date brings its answers back; entering the mode shows the newest.
    page.chooseDate(QStringLiteral("01.05.2024 10:00:05"));
    QCOMPARE(page.answerString(), edited);
    QVERIFY(!child<QTextEdit>(&page, "ResultMemo")->toPlainText().isEmpty());
    page.leave();
    page.enter();
    QCOMPARE(page.dateText(), QStringLiteral("01.05.2024 11:00:05"));
    QCOMPARE(page.question(5)->answer(), 1);

    // Each category keeps sets of its own, even under the same date; "All" shows every question.
    child<QComboBox>(&page, "DiagnosticType")->setCurrentIndex(3);
    QCOMPARE(dates(&page)->count(), 0);
    QVERIFY(page.question(17) && page.question(24));
    answer(page, 24, 2);
    QVERIFY(page.save());
    QCOMPARE(f.rows(), 3);
    page.setCategory(0);
    QVERIFY(!page.question(17));
    QCOMPARE(dates(&page)->count(), 2);
    page.setCategory(3);
    QCOMPARE(page.question(24)->answer(), 2);
    QCOMPARE(page.question(5)->answer(), 0);
    QVERIFY(dialogs.requests().size() == 4); // only the four workbook questions
}

void TestInquirerPanel::typedDates()
{
    Fixture f;
    DialogRecorder dialogs(QStringLiteral("no"));
    InquirerPanel page(&f.data, &f.session);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.enter();
    answer(page, 0, 1);
    QComboBox *box = dates(&page);
    const auto type = [box](const QString &text) {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
    };
    // A day that does not exist is refused with a clear message; nothing is stored, and the
    // answers are still there.
    type(QStringLiteral("31.04.2024 10:00:00"));
    dialogs.clear();
    QVERIFY(!page.save());
    QCOMPARE(dialogs.requests().size(), 1);
    QVERIFY(asked(dialogs.requests(), Dialogs::Kind::Message, QStringLiteral("dd.mm.yyyy")));
    QCOMPARE(f.rows(), 0);
    QCOMPARE(page.question(0)->answer(), 1);
    // An earlier visit, typed without seconds.
    type(QStringLiteral("28.04.2024 16:30"));
    QVERIFY(page.save());
    QCOMPARE(box->itemText(0), QStringLiteral("28.04.2024 16:30:00"));
    QCOMPARE(page.dateText(), QStringLiteral("28.04.2024 16:30:00"));
}

void TestInquirerPanel::collapsingMovesOnlyLaterRows()
{
    Fixture f;
    InquirerPanel page(&f.data, &f.session);
    page.resize(1100, 700);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.enter();
    const auto tops = [&page] {
        // Word-wrapped texts settle their heights over a few rounds of layout.
        for (int round = 0; round < 3; ++round) {
            QTest::qWait(20);
            page.questions().first()->parentWidget()->layout()->activate();
        }
        QList<int> y;
        for (InquirerQuestion *row : page.questions())
            y.append(row->y());
        return y;
    };
    const QList<int> before = tops();
    InquirerQuestion *row = page.question(5);
    QVERIFY(row->answerPanel()->isHidden());
    QTest::mouseClick(row->expandImage(), Qt::LeftButton);
    QVERIFY(row->isExpanded());
    const QList<int> open = tops();
    // A click on the answer's circle answers the question and shows the tick.
    QRadioButton *second = row->answerButtons().at(1);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(8, second->height() / 2));
    QCOMPARE(row->answer(), 2);
    QVERIFY(row->answeredMark()->isVisible());
    // So does a click on an answer's text, which wraps where a button's own text would not.
    QTest::mouseClick(row->answerTexts().at(2), Qt::LeftButton);
    QCOMPARE(row->answer(), 3);
    QVERIFY(row->answerTexts().at(2)->width() < page.width() / 2);
    const int moved = open.at(6) - before.at(6);
    QVERIFY(moved > 0);
    for (int j = 0; j < before.size(); ++j)
        QCOMPARE(open.at(j), j <= 5 ? before.at(j) : before.at(j) + moved);
    // The question text is a larger target for the same toggle.
    QTest::mouseClick(row->questionLabel(), Qt::LeftButton);
    QVERIFY(!row->isExpanded());
    QCOMPARE(tops(), before);
}

void TestInquirerPanel::pendingAnswersAreOffered()
{
    Fixture f;
    DialogRecorder dialogs(QStringLiteral("yes"));
    InquirerPanel page(&f.data, &f.session);
    page.enter();
    // Nothing changed: leaving asks nothing.
    page.leave();
    QVERIFY(dialogs.requests().isEmpty());

    page.enter();
    answer(page, 2, 2);
    page.leave();
    QVERIFY(asked(dialogs.requests(), Dialogs::Kind::Question, QStringLiteral("save the changes")));
    QCOMPARE(f.rows(), 1);
    page.enter();
    QCOMPARE(page.question(2)->answer(), 2);

    // Declined: the answers are dropped and nothing is written.
    dialogs.setAnswer(QStringLiteral("no"));
    Clock::setNow(kNow.addDays(1));
    page.newQuestionnaire();
    answer(page, 3, 1);
    page.setCategory(2);
    QCOMPARE(f.rows(), 1);
    QCOMPARE(page.category(), 2);
}

void TestInquirerPanel::workbookExport()
{
    Fixture f;
    const QString path = f.env.scratch(QStringLiteral("export")) + QStringLiteral("/anna");
    QString fileAnswer = path;
    QList<Dialogs::Request> seen;
    DialogRecorder restore; // clears the handler at the end
    Dialogs::setHandler([&](const Dialogs::Request &r) {
        seen.append(r);
        return r.kind == Dialogs::Kind::SaveFile ? fileAnswer : QStringLiteral("yes");
    });
    InquirerPanel page(&f.data, &f.session);
    page.enter();
    answer(page, 0, 1);
    QVERIFY(page.save());
    // ".xlsx" is added to a name without it, and the user hears the workbook is written.
    QVERIFY(QFile::exists(path + QStringLiteral(".xlsx")));
    QVERIFY(asked(seen, Dialogs::Kind::Message,
                  QStringLiteral("The answers were added to the spreadsheet.")));
    for (const Dialogs::Request &r : seen) {
        if (r.kind == Dialogs::Kind::SaveFile)
            QVERIFY(r.folder.endsWith(f.client + QStringLiteral(" 2024-05-01 10-00.xlsx")));
    }

    // Cancelling the file dialog writes nothing and reports nothing as done.
    seen.clear();
    fileAnswer.clear();
    QVERIFY(page.save());
    QVERIFY(!page.exportAnswers());
    QVERIFY(!asked(seen, Dialogs::Kind::Message));

    // A folder that cannot be written is reported as an error.
    fileAnswer = f.env.scratch(QStringLiteral("export")) + QStringLiteral("/no/such/folder/x.xlsx");
    QVERIFY(!page.exportAnswers());
    QVERIFY(asked(seen, Dialogs::Kind::Error, QStringLiteral("workbook could not be written")));
}

void TestInquirerPanel::questionnaireInRussian()
{
    Fixture f;
    DialogRecorder dialogs(QStringLiteral("no"));
    InquirerPanel page(&f.data, &f.session);
    page.enter();
    answer(page, 1, 2);
    page.question(0)->setExpanded(true);
    page.calculate();

    // The practitioner who works in Russian sees the Russian questionnaire; answers stay.
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("Russian")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("Russian")));
    QVERIFY(page.questionnaire().path().endsWith(QStringLiteral("Inquirer.Russian.INI")));
    QVERIFY(page.question(0)->questionLabel()->text().contains(QChar(0x0428))); // "Ш" of Шэнь
    QCOMPARE(page.question(1)->answer(), 2);
    QVERIFY(page.question(1)->isExpanded());
    QVERIFY(page.hasUnsavedAnswers());
    QVERIFY(child<QTextEdit>(&page, "ResultMemo")
                ->toPlainText()
                .contains(page.questionnaire().item(1).text));
    QCOMPARE(child<QComboBox>(&page, "DiagnosticType")->itemText(0),
             LanguageApplier::instance().text(QStringLiteral("InquirerObservation"),
                                              QStringLiteral("Diagnosis by observation")));

    // Saved in Russian, read back in English: the same answers.
    QVERIFY(page.save());
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("English")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    page.enter();
    QVERIFY(page.questionnaire().path().endsWith(QStringLiteral("/Inquirer.INI")));
    QCOMPARE(page.question(1)->answer(), 2);
}

void TestInquirerPanel::shortOrMissingQuestionnaire()
{
    Fixture f;
    DialogRecorder dialogs(QStringLiteral("no"));
    const QString folder = writeQuestionnaire(f.env.scratch(QStringLiteral("short")), 20);
    AppPaths::setInstallFolder(folder);
    {
        InquirerPanel page(&f.data, &f.session);
        page.enter();
        page.setCategory(1);
        QCOMPARE(page.questions().size(), 2); // 18 and 19 exist of 18..23
        page.setCategory(2);
        QVERIFY(page.questions().isEmpty());
        QVERIFY(!child<QLabel>(&page, "InquirerEmptyNote")->isHidden());
        QVERIFY(!page.save());
        QVERIFY(asked(dialogs.requests(), Dialogs::Kind::Message, QStringLiteral("no questions")));
    }
    QFile::remove(folder + QStringLiteral("/Inquirer.INI"));
    {
        InquirerPanel page(&f.data, &f.session);
        page.enter();
        QVERIFY(page.questions().isEmpty());
        QVERIFY(child<QLabel>(&page, "InquirerEmptyNote")
                    ->text()
                    .contains(QStringLiteral("Inquirer.INI")));
        page.calculate();
        QVERIFY(child<QTextEdit>(&page, "ResultMemo")->toPlainText().isEmpty());
    }
    AppPaths::setInstallFolder(TestEnvironment::installDir());
    QCOMPARE(f.rows(), 0);
}

QTEST_MAIN(TestInquirerPanel)
#include "tst_inquirer_panel.moc"
