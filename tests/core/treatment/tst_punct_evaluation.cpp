// The acupuncture questionnaire turned into a result: weight strings, scores and marks, the
// LO/source recipe on the shipped meridian relations, the course choice, the result lines,
// the stored answer strings, and the shipped questionnaire and course files themselves.
#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "TestEnvironment.h"
#include "treatment/AtlasPoints.h"
#include "treatment/LoSourceRecipe.h"
#include "treatment/MeridianRelations.h"
#include "treatment/MeridianScoring.h"
#include "treatment/PunctEvaluation.h"
#include "treatment/Questionnaire.h"
#include "treatment/QuestionnaireAnswers.h"
#include "treatment/TreatmentCourse.h"

#include <QtTest>

using Pairs = QList<std::pair<int, int>>;
using Kind = RecipeLine::Kind;

namespace {

QString keyText(const QString &key) {
    return key; // the key itself stands for its text
}

QList<int> marked(const MeridianScoring::Marks &marks, bool MeridianScoring::Mark::*flag) {
    QList<int> list;
    for (int i = 0; i < MeridianScoring::Count; ++i) {
        if (marks[size_t(i)].*flag)
            list.append(i + 1);
    }
    return list;
}

QString describe(const QList<LoSourceRecipe::Entry> &entries) {
    QStringList parts;
    for (const auto &e : entries)
        parts.append(e.point + (e.action == LoSourceRecipe::Action::Dispersion ? " -" : " +"));
    return parts.join(QLatin1Char(' '));
}

TreatmentCourse courseFromText(const QString &text) {
    return TreatmentCourse::fromIni(IniFile::fromText(text));
}

} // namespace

class TestPunctEvaluation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_env = new TestEnvironment; }

    void weightStrings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Pairs>("pairs");
        QTest::newRow("two pairs") << "2;3,1;12,-2" << Pairs{{3, 1}, {12, -2}};
        // A count larger than the pairs present must not count the last pair again.
        QTest::newRow("count too large") << "3;3,1;12,-2" << Pairs{{3, 1}, {12, -2}};
        QTest::newRow("pairs beyond the count") << "1;3,1;4,1" << Pairs{{3, 1}};
        QTest::newRow("meridian outside 1..12") << "3;13,1;0,2;5,1" << Pairs{{5, 1}};
        QTest::newRow("non-numeric weight") << "2;3,a;4,1" << Pairs{{4, 1}};
        QTest::newRow("non-numeric count") << "x;3,1" << Pairs{};
        QTest::newRow("empty") << "" << Pairs{};
    }
    void weightStrings() {
        QFETCH(QString, text);
        QTEST(MeridianScoring::parseWeights(text), "pairs");
    }

    void classification_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QList<int>>("excess");
        QTest::addColumn<QList<int>>("deficient");
        QTest::addColumn<int>("maxMeridian");
        QTest::addColumn<int>("course");
        QTest::newRow("nothing ticked") << QStringList{} << QList<int>{} << QList<int>{} << 0 << 0;
        QTest::newRow("+2 is excess")
            << QStringList{"1;3,2"} << QList<int>{3} << QList<int>{} << 3 << 31;
        QTest::newRow("-2 is normal")
            << QStringList{"1;3,-2"} << QList<int>{} << QList<int>{} << 0 << 0;
        QTest::newRow("-3 is deficient")
            << QStringList{"1;3,-3"} << QList<int>{} << QList<int>{3} << 0 << 0;
        QTest::newRow("+1 at the top gives no course")
            << QStringList{"1;5,1"} << QList<int>{} << QList<int>{} << 5 << 0;
        QTest::newRow("tie: the earlier meridian")
            << QStringList{"2;4,3;2,3"} << QList<int>{2, 4} << QList<int>{} << 2 << 21;
        QTest::newRow("answers add up") << QStringList{"1;7,1", "2;7,1;1,-1", "1;1,-2"}
                                        << QList<int>{7} << QList<int>{1} << 7 << 71;
        QTest::newRow("liver takes part")
            << QStringList{"2;12,4;11,-5"} << QList<int>{12} << QList<int>{11} << 12 << 121;
        // Huge weights from a damaged file hold at the ends of the range instead of wrapping round.
        QTest::newRow("huge weights stay excess") << QStringList{"1;1,2147483647", "1;1,2147483647"}
                                                  << QList<int>{1} << QList<int>{} << 1 << 11;
        QTest::newRow("huge negative weights stay deficient")
            << QStringList{"1;2,-2147483648", "1;2,-2147483648"} << QList<int>{} << QList<int>{2}
            << 0 << 0;
    }
    void classification() {
        QFETCH(QStringList, answers);
        QFETCH(QList<int>, excess);
        QFETCH(int, maxMeridian);
        const PunctEvaluation::Result result = PunctEvaluation::evaluate(
            answers, 1, MeridianRelations::load(),
            [](int) { return std::optional<TreatmentCourse>(); }, keyText);
        QCOMPARE(marked(result.marks, &MeridianScoring::Mark::excess), excess);
        QTEST(marked(result.marks, &MeridianScoring::Mark::deficiency), "deficient");
        QCOMPARE(MeridianScoring::maxMeridian(result.marks), maxMeridian);
        QVERIFY(marked(result.marks, &MeridianScoring::Mark::isMax).size() <= 1);
        QTEST(result.meridianCourse, "course");
    }

    void recipe_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("recipe");
        QTest::newRow("coupled pair: source dispersed, LO stimulated")
            << QStringList{"2;1,2;2,-3"} << "LU9 - LI6 +";
        QTest::newRow("related through the third field: LO only")
            << QStringList{"2;1,2;4,-3"} << "SP4 +";
        QTest::newRow("related through the fourth field: LO only")
            << QStringList{"2;1,2;7,-3"} << "BL58 +";
        QTest::newRow("liver in excess, gall bladder deficient")
            << QStringList{"2;12,2;11,-3"} << "GB37 + LV3 -";
        QTest::newRow("deficient but nothing in excess") << QStringList{"1;2,-5"} << "";
        QTest::newRow("excess but nothing deficient") << QStringList{"1;1,5"} << "";
        QTest::newRow("two excess meridians share a deficient one")
            << QStringList{"3;1,2;3,2;2,-3"} << "LU9 - LI6 +";
    }
    void recipe() {
        QFETCH(QStringList, answers);
        QFETCH(QString, recipe);
        const MeridianRelations relations = MeridianRelations::load();
        QVERIFY(!relations.isEmpty());
        bool found = true;
        const auto marks = MeridianScoring::classify(MeridianScoring::score(answers));
        const auto entries = LoSourceRecipe::build(relations, marks, &found);
        QCOMPARE(describe(entries), recipe);
        QCOMPARE(found, !recipe.isEmpty());
    }

    void resultLines() {
        const MeridianRelations relations = MeridianRelations::load();
        QList<int> asked;
        const auto courses = [&asked](int n) -> std::optional<TreatmentCourse> {
            asked.append(n);
            if (n == 99)
                return std::nullopt;
            return courseFromText(
                QStringLiteral(
                    "[General]\nname=Course %1\n[1]\nvalue=LI11&both sides#ST36&tonify##\n"
                    "[2]\nvalue=##\n[3]\nvalue2=Press&LI4#SJ5##\n")
                    .arg(n));
        };

        // No group: nothing but the message.
        PunctEvaluation::Result none =
            PunctEvaluation::evaluate({"1;1,5"}, 0, relations, courses, keyText);
        QVERIFY(none.lines.isEmpty());
        QCOMPARE(none.message, "Pngns");
        QVERIFY(asked.isEmpty());

        // A group and a coupled pair: recipe section, the group course, the meridian course.
        const auto result =
            PunctEvaluation::evaluate({"2;1,2;2,-3"}, 3, relations, courses, keyText);
        QCOMPARE(asked, (QList<int>{3, 11}));
        const RecipeLines expectedHead{
            {PunctEvaluation::separator(), Kind::Plain, true},
            {"LoItem", Kind::Heading, true},
            {"PmerPass", Kind::Heading, true},
            {"LU9", Kind::Point, false},
            {"Dispersion", Kind::Plain, true},
            {"LI6", Kind::Point, false},
            {"Stimulation", Kind::Plain, true},
            {PunctEvaluation::separator(), Kind::Plain, true},
            {"AcupunctureRecipe", Kind::Heading, true},
            {"Course 3", Kind::Heading, true},
            {"1-Sess", Kind::Heading, true},
            {"LI11", Kind::Point, false},
            {"both sides", Kind::Plain, true},
            {"ST36", Kind::Point, false},
            {"tonify", Kind::Plain, true},
            {"2-Sess", Kind::Heading, true}, // "##": the header alone
            {"3-Sess", Kind::Heading, true},
            {"Press", Kind::Plain, false},
            {"LI4", Kind::Point, false},
            {"SJ5", Kind::Point, true},
            {"4-Sess", Kind::Heading, true},
        };
        QCOMPARE(result.lines.mid(0, expectedHead.size()), expectedHead);
        QVERIFY(result.lines.contains(RecipeLine{"Course 11", Kind::Heading, true}));

        // Group only, nothing ticked: no recipe section and no meridian course; a missing course
        // file says so instead of showing nothing.
        asked.clear();
        const auto plain = PunctEvaluation::evaluate({}, 99, relations, courses, keyText);
        QCOMPARE(asked, QList<int>{99});
        QCOMPARE(plain.lines.size(), 4);
        QCOMPARE(plain.lines.at(1).text, PunctEvaluation::separator());
        QCOMPARE(plain.lines.last().kind, Kind::Attention);
        QVERIFY(plain.lines.last().text.contains(QLatin1String("99.txt")));
    }

    void courseFile() {
        const TreatmentCourse course =
            courseFromText(QStringLiteral("[General]\nname=Title\n"
                                          "[1]\nvalue=LU7&left#KI6##\n"
                                          "[2]\nvalue2=Only a text##\n"
                                          "[5]\nvalue=##\nvalue2=Warm&ST36##\n"
                                          "[11]\nvalue=LI4&never##\n"));
        QCOMPARE(course.title, "Title");
        QCOMPARE(course.sessions.size(), TreatmentCourse::SessionCount);
        const auto &first = course.sessions.at(0);
        QCOMPARE(first.items.size(), 2);
        QCOMPARE(first.items.at(0).point, "LU7");
        QCOMPARE(first.items.at(0).instruction, "left");
        QCOMPARE(first.items.at(1).point, "KI6"); // no "&": no instruction
        QVERIFY(first.items.at(1).instruction.isEmpty());
        QCOMPARE(course.sessions.at(1).text, "Only a text");
        QVERIFY(course.sessions.at(1).points.isEmpty());
        QVERIFY(!course.sessions.at(2).hasValue && !course.sessions.at(2).hasValue2);
        QVERIFY(course.sessions.at(4).hasValue && course.sessions.at(4).items.isEmpty());
        QCOMPARE(course.sessions.at(4).points, QStringList{"ST36"});

        RecipeLines lines;
        PunctEvaluation::appendCourse(lines, course, 1, keyText);
        QCOMPARE(lines.at(4), (RecipeLine{"KI6", Kind::Point, true}));
        QCOMPARE(lines.at(6), (RecipeLine{"Only a text", Kind::Plain, true}));
        QVERIFY(!lines.contains(RecipeLine{"LI4", Kind::Point, false}));

        // An item without a point code keeps its instruction and makes no empty point.
        const TreatmentCourse orphan =
            courseFromText("[General]\nname=T\n[1]\nvalue=&orphan#LU7##\n");
        RecipeLines orphanLines;
        PunctEvaluation::appendCourse(orphanLines, orphan, 1, keyText);
        for (const RecipeLine &l : std::as_const(orphanLines))
            QVERIFY2(!(l.kind == Kind::Point && l.text.trimmed().isEmpty()),
                     "an empty point label");
        QVERIFY(std::any_of(orphanLines.begin(), orphanLines.end(), [](const RecipeLine &l) {
            return l.text == QLatin1String("orphan") && l.kind == Kind::Plain;
        }));
        QVERIFY(orphanLines.contains(RecipeLine{"LU7", Kind::Point, true}));
    }

    void stateString_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("ticked");  // the ticks page by page, "|" between pages
        QTest::addColumn<QString>("written"); // the state written back
        // clang-format off
        QTest::newRow("nothing stored") << "" << -1 << "00|000" << "0000000";
        QTest::newRow("full") << "01" "10" "011" << 1 << "10|011" << "0110011";
        QTest::newRow("short string") << "10" "1" << 0 << "10|000" << "1010000";
        QTest::newRow("too long") << "00" "00" "000" "111" << -1 << "00|000" << "0000000";
        QTest::newRow("two groups: the last one") << "11" "00" "000" << 1 << "00|000" << "0100000";
        // clang-format on
    }
    void stateString() {
        QFETCH(QString, state);
        QFETCH(int, group);
        QFETCH(QString, ticked);
        const Questionnaire q = Questionnaire::fromLines(
            {"1=First", "2=Second"},
            {"a=1;1,1=Page A", "b=1;2,1=*", "c=1;3,1=Page B", "d=1;4,1=*", "e=1;5,1=*"});
        QCOMPARE(q.controlCount(), 7);
        const QuestionnaireAnswers a = QuestionnaireAnswers::fromState(q, state);
        QCOMPARE(a.group, group);
        QStringList pages;
        for (const QList<bool> &page : a.ticked) {
            QString s;
            for (bool on : page)
                s.append(on ? QLatin1Char('1') : QLatin1Char('0'));
            pages.append(s);
        }
        QCOMPARE(pages.join(QLatin1Char('|')), ticked);
        QTEST(a.state(), "written");
    }

    void malformedQuestionnaire() {
        QStringList symptoms{"early=1;1,1=*", "no page field=1;1,1", "", "=1;1,1=*"};
        for (int p = 1; p <= 11; ++p)
            symptoms.append(QStringLiteral("s%1=1;%1,1=Page %1").arg(p));
        const Questionnaire q =
            Questionnaire::fromLines({"x=No number", "0=Zero", "3=Three", "bad"}, symptoms);
        QCOMPARE(q.groups().size(), 1);
        QCOMPARE(q.groups().at(0).course, 3);
        QCOMPARE(q.pages().size(), Questionnaire::MaxPages);
        QCOMPARE(q.pages().at(0).title, QString()); // symptoms before any title: an untitled page
        QCOMPARE(q.pages().at(0).symptoms.size(), 1);
        QCOMPARE(q.pages().last().title, "Page 9");

        // A language without files of its own uses the English ones.
        QStringList missing;
        QVERIFY(Questionnaire::load("../nowhere", &missing).controlCount() > 0);
        QVERIFY(missing.isEmpty());

        // No files at all: an empty questionnaire, no relations, and the names of what is missing.
        AppPaths::setInstallFolder(m_env->scratch("empty-install"));
        const Questionnaire none = Questionnaire::load("English", &missing);
        QString error;
        const MeridianRelations relations = MeridianRelations::load(&error);
        AppPaths::setInstallFolder(TestEnvironment::installDir());
        QVERIFY(none.isEmpty());
        QCOMPARE(missing.size(), 2);
        QVERIFY(relations.isEmpty() && !error.isEmpty());
        QVERIFY(LoSourceRecipe::build(
                    relations, MeridianScoring::classify(MeridianScoring::score({"2;1,5;2,-5"})))
                    .isEmpty());
    }

    void shippedFiles_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Russian") << "Russian";
    }
    void shippedFiles() {
        QFETCH(QString, language);
        QStringList missing;
        const Questionnaire q = Questionnaire::load(language, &missing);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
        // Both languages have the same shape, so stored answers mean the same in either.
        const Questionnaire english = Questionnaire::load("English");
        QCOMPARE(q.controlCount(), english.controlCount());
        QCOMPARE(q.groups().size(), 4);
        for (int p = 0; p < q.pages().size(); ++p) {
            QCOMPARE(q.pages().at(p).symptoms.size(), english.pages().at(p).symptoms.size());
            for (const auto &symptom : q.pages().at(p).symptoms)
                QVERIFY2(!MeridianScoring::parseWeights(symptom.weights).isEmpty(),
                         qPrintable(symptom.caption));
        }

        const AtlasPoints atlas;
        const MeridianRelations relations = MeridianRelations::load();
        for (int m = 1; m <= 12; ++m) {
            QVERIFY(atlas.contains(relations.row(m).loPoint));
            QVERIFY(atlas.contains(relations.row(m).sourcePoint));
            QCOMPARE(relations.row(relations.row(m).related[0]).related[0], m); // couplings mirror
        }
        QList<int> numbers{1, 2, 3, 4};
        for (int m = 1; m <= 12; ++m)
            numbers << TreatmentCourse::excessCourse(m) << TreatmentCourse::deficiencyCourse(m);
        for (int n : numbers) {
            const auto course = TreatmentCourse::load(language, n);
            QVERIFY2(course && !course->title.isEmpty(), qPrintable(QString::number(n)));
            for (const auto &session : course->sessions) {
                QVERIFY(!session.items.isEmpty());
                for (const auto &item : session.items)
                    QVERIFY2(atlas.contains(item.point) && !item.instruction.isEmpty(),
                             qPrintable(item.point));
                for (const QString &point : session.points)
                    QVERIFY2(atlas.contains(point), qPrintable(point));
            }
        }
    }

private:
    TestEnvironment *m_env = nullptr;
};

QTEST_GUILESS_MAIN(TestPunctEvaluation)
#include "tst_punct_evaluation.moc"
