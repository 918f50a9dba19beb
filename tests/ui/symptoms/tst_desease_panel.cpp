// The disease page driven as a user would: a disease added through the editor with its checks,
// shown with its points, information and plant; points marked on the body picture; the search;
// deletion only after the question.
#include "ChildWidget.h"
#include "ClientTests.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "measure/BodyPicture.h"
#include "symptoms/DeseaseForm.h"
#include "symptoms/DeseasePanel.h"
#include "symptoms/DeseaseRepository.h"
#include "symptoms/DotsListCodec.h"
#include "treatment/AtlasPoints.h"
#include "treatment/BodyAtlasView.h"
#include "treatment/MarkShape.h"
#include "treatment/PointLabel.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

struct Fixture : ClientTests
{
    QString picture(const QColor &colour)
    {
        QImage image(160, 120, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = env.scratch(QStringLiteral("p")) + QStringLiteral("/plant.jpg");
        image.save(path, "JPG");
        return path;
    }
    void add(const QString &name, const QString &dots, const QString &plant = QString())
    {
        DeseaseRecord r;
        r.name = name;
        r.dots = dots;
        r.plant = plant;
        QCOMPARE(DeseaseRepository(&data).add(r), DeseaseRepository::AddResult::Added);
    }
};

void fillEditor(DeseaseForm *editor, const QString &name, const QString &dots)
{
    child<QLineEdit>(editor, "DesName")->setText(name);
    child<QLineEdit>(editor, "DotsList")->setText(dots);
}

QStringList listed(DeseasePanel &page)
{
    return itemTexts(child<QListWidget>(&page, "DeseaseListBox"));
}

} // namespace

class TestDeseasePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { LanguageApplier::instance().apply(LanguageTexts()); }
    void addedThroughTheEditorAndShown();
    void editorRefusesBadInput_data();
    void editorRefusesBadInput();
    void pointLabelMarksThePoint();
    void searchSelects();
    void deleteAsksFirst();
};

void TestDeseasePanel::addedThroughTheEditorAndShown()
{
    Fixture f;
    DialogRecorder dialogs;
    DeseasePanel page(&f.data);
    page.resize(1020, 600);
    page.show();
    page.enter();
    QVERIFY(listed(page).isEmpty());
    QVERIFY(!child<QAbstractButton>(&page, "sBitBtn6")->isEnabled());
    // An empty catalogue says how to begin, and a search in it is answered, not refused.
    auto *note = child<QLabel>(&page, "DeseaseListNote");
    QVERIFY(note->isVisible() && note->text().contains(QLatin1String("New")));
    child<QLineEdit>(&page, "FoundDesEdit")->setText(QStringLiteral("angina"));
    QVERIFY(child<QAbstractButton>(&page, "sBitBtn4")->isEnabled());
    QTest::mouseClick(child<QAbstractButton>(&page, "sBitBtn4"), Qt::LeftButton);
    QVERIFY(note->isVisible() && note->text().contains(QLatin1String("New")));
    child<QLineEdit>(&page, "FoundDesEdit")->clear();

    QTest::mouseClick(child<QAbstractButton>(&page, "NewDesease"), Qt::LeftButton);
    DeseaseForm *editor = page.editor();
    QVERIFY(editor->isVisible());
    QVERIFY(editor->isModal());
    QVERIFY(child<QWidget>(editor, "identity")->isVisible());
    fillEditor(editor, QStringLiteral("Migraine"), QStringLiteral("LI4, GB34 LV3"));
    child<QTextEdit>(editor, "AboutDesease")->setHtml(QStringLiteral("<b>Throbbing</b> pain"));
    child<QPlainTextEdit>(editor, "PlRecomendation")->setPlainText(QStringLiteral("Feverfew tea"));
    dialogs.setAnswer(f.picture(QColor(60, 140, 60)));
    QTest::mouseClick(child<QAbstractButton>(editor, "identity"), Qt::LeftButton);
    QVERIFY(child<QWidget>(editor, "identity2")->isVisible());
    QVERIFY(!child<QWidget>(editor, "identity")->isVisible());
    dialogs.clear();
    QTest::mouseClick(child<QAbstractButton>(editor, "SaveDesease"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().text,
             Localization::Translate(QStringLiteral("DeseaseAdded")));
    QVERIFY(!editor->isVisible());

    // The new disease is listed, chosen and shown.
    QCOMPARE(listed(page), QStringList{"Migraine"});
    QCOMPARE(page.shownDesease(), QStringLiteral("Migraine"));
    QStringList labels;
    for (int i = 0; i < 3; ++i)
        labels << child<PointLabel>(&page, qPrintable(QStringLiteral("DotLabel%1").arg(i)))->text();
    QCOMPARE(labels, (QStringList{"LI4", "GB34", "LV3"}));
    auto *info = child<QTextBrowser>(&page, "DopInfoMemo");
    QCOMPARE(info->toPlainText(), QStringLiteral("Throbbing pain"));
    QVERIFY(info->toHtml().contains(QStringLiteral("font-weight")));
    QVERIFY(child<QWidget>(&page, "WithMemo")->isVisible());
    QVERIFY(!child<QWidget>(&page, "WithoutImageMemo")->isVisible());
    QCOMPARE(child<QPlainTextEdit>(&page, "WithMemo")->toPlainText(),
             QStringLiteral("Feverfew tea"));
    const QPixmap plant = child<QLabel>(&page, "PlantImage")->pixmap();
    QVERIFY(!plant.isNull());
    QVERIFY(qAbs(plant.toImage().pixelColor(plant.width() / 2, plant.height() / 2).green() - 140)
            < 12);

    // The editor opens empty the next time.
    QTest::mouseClick(child<QAbstractButton>(&page, "NewDesease"), Qt::LeftButton);
    QVERIFY(child<QLineEdit>(editor, "DesName")->text().isEmpty());
    QVERIFY(child<QTextEdit>(editor, "AboutDesease")->toPlainText().isEmpty());
    QVERIFY(child<QWidget>(editor, "identity")->isVisible());
    QTest::mouseClick(child<QAbstractButton>(editor, "ExitDesease"), Qt::LeftButton);
    QVERIFY(!editor->isVisible());

    // Without a picture the herbal text has the wide box.
    f.add(QStringLiteral("Asthma"), QStringLiteral("0&7&#"), QStringLiteral("Thyme"));
    page.fillList();
    child<QListWidget>(&page, "DeseaseListBox")->setCurrentRow(0);
    QCOMPARE(page.shownDesease(), QStringLiteral("Asthma"));
    QVERIFY(!child<QWidget>(&page, "WithMemo")->isVisible());
    QVERIFY(child<QWidget>(&page, "WithoutImageMemo")->isVisible());
    QCOMPARE(child<QPlainTextEdit>(&page, "WithoutImageMemo")->toPlainText(),
             QStringLiteral("Thyme"));
    QVERIFY(child<QTextBrowser>(&page, "DopInfoMemo")->toPlainText().isEmpty());
}

void TestDeseasePanel::editorRefusesBadInput_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("key"); // of the message; none for the fixed text
    QTest::addColumn<QString>("tail");
    QTest::addColumn<bool>("nameKept");

    QTest::newRow("no name") << "  "
                             << "LU7"
                             << "DeseaseMustHaveName"
                             << "" << true;
    QTest::newRow("existing name with blanks") << " Cystitis  "
                                               << "LU7"
                                               << "DeseaseAlreadyExists"
                                               << "" << false;
    QTest::newRow("first digit 0") << "Cough"
                                   << "LU07"
                                   << "IncorrectDotsName"
                                   << " LU07" << true;
    QTest::newRow("digit first") << "Cough"
                                 << "7LU"
                                 << ""
                                 << "incorrect dots name" << true;
    // A pasted name longer than the base holds stays whole in the field, and the limit is said.
    QTest::newRow("name too long")
        << QString(DeseaseRepository::MaxNameLength + 1, QLatin1Char('x')) << "LU7"
        << ""
        << QStringLiteral("The field \"Disease name\" is too long: at most %1 characters.")
               .arg(DeseaseRepository::MaxNameLength)
        << true;
}

void TestDeseasePanel::editorRefusesBadInput()
{
    QFETCH(QString, name);
    QFETCH(QString, dots);
    QFETCH(QString, key);
    QFETCH(QString, tail);
    QFETCH(bool, nameKept);
    Fixture f;
    const QString message = (key.isEmpty() ? QString() : Localization::Translate(key)) + tail;
    QVERIFY2(key.isEmpty() || !Localization::Translate(key).isEmpty(), qPrintable(key));
    f.add(QStringLiteral("Cystitis"), QStringLiteral("6&28&#"));
    DialogRecorder dialogs;
    DeseasePanel page(&f.data);
    page.show();
    page.enter();
    page.newDesease();
    DeseaseForm *editor = page.editor();
    fillEditor(editor, name, dots);
    child<QPlainTextEdit>(editor, "PlRecomendation")->setPlainText(QStringLiteral("Kept"));
    QTest::mouseClick(child<QAbstractButton>(editor, "SaveDesease"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().text, message);
    QVERIFY(editor->isVisible());
    QCOMPARE(child<QLineEdit>(editor, "DesName")->text(), nameKept ? name : QString());
    QCOMPARE(child<QLineEdit>(editor, "DotsList")->text(), dots);
    QCOMPARE(child<QPlainTextEdit>(editor, "PlRecomendation")->toPlainText(),
             QStringLiteral("Kept"));
    QCOMPARE(DeseaseRepository(&f.data).names(), QStringList{"Cystitis"});
}

// Each point of the disease is marked at its own place on the picture it lies on; the rings
// blink and the dots wait, and another point during the blink starts it again.
void TestDeseasePanel::pointLabelMarksThePoint()
{
    Fixture f;
    DeseasePanel page(&f.data);
    f.add(QStringLiteral("Migraine"),
          DotsListCodec::encode(QStringLiteral("LI4 GB34 LV3"), page.catalogue()).dots);
    page.resize(1020, 640);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.enter();
    child<QListWidget>(&page, "DeseaseListBox")->setCurrentRow(0);
    auto *view = page.findChild<BodyAtlasView *>();
    auto *dot = child<MarkShape>(&page, "DotShape");
    auto *ring = child<MarkShape>(&page, "CircleShape1");
    auto *timer = child<QTimer>(&page, "DeseaseTimer");
    const auto label = [&page](int i) {
        return child<PointLabel>(&page, qPrintable(QStringLiteral("DotLabel%1").arg(i)));
    };
    const std::pair<QString, QString> points[] = {
        {"LI4", "back"}, {"GB34", "Side"}, {"LV3", "Front"}};
    for (int i = 0; i < 3; ++i) {
        const auto &[code, picture] = points[i];
        QCOMPARE(label(i)->text(), code);
        QTest::mouseClick(label(i), Qt::LeftButton);
        for (const char *name : {"back", "Front", "Side"})
            QCOMPARE(child<BodyPicture>(&page, name)->isVisible(), picture == QLatin1String(name));
        QVERIFY(!dot->isVisible());
        QVERIFY(ring->isVisible());
        QCOMPARE(ring->penWidth(), 6);
        QCOMPARE(ring->pos(), dot->pos() - QPoint(7, 7));
        const AtlasPosition want = AtlasPoints().position(code);
        const QRect shown = view->pictureRect();
        const int c = BodyMarkGeometry::diseaseCorrection(shown);
        QCOMPARE(dot->pos(),
                 BodyMarkGeometry::dotAt(shown, view->picture(), want.left1, want.top1, c));
        QCOMPARE(child<MarkShape>(&page, "DotShape2")->pos(),
                 BodyMarkGeometry::dotAt(shown, view->picture(), want.left2, want.top2, c));
        QVERIFY(timer->isActive());
    }
    timer->setInterval(5);
    QTRY_VERIFY(ring->penWidth() < 6);
    QTest::mouseClick(label(0), Qt::LeftButton);
    QCOMPARE(ring->penWidth(), 6);
    QVERIFY(!dot->isVisible());
    QTRY_VERIFY(!timer->isActive());
    QVERIFY(dot->isVisible());
    QVERIFY(!ring->isVisible());
}

void TestDeseasePanel::searchSelects()
{
    Fixture f;
    for (const char *n : {"angina", "Bronchitis", "Gastritis", "Мигрень"})
        f.add(QString::fromUtf8(n), QStringLiteral("0&7&#"));
    DeseasePanel page(&f.data);
    page.show();
    page.enter();
    QCOMPARE(listed(page), (QStringList{"angina", "Bronchitis", "Gastritis", "Мигрень"}));
    auto *list = child<QListWidget>(&page, "DeseaseListBox");
    auto *edit = child<QLineEdit>(&page, "FoundDesEdit");
    edit->setText(QStringLiteral("ITIS"));
    QTest::mouseClick(child<QAbstractButton>(&page, "sBitBtn4"), Qt::LeftButton);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(page.shownDesease(), QStringLiteral("Bronchitis"));
    edit->setText(QStringLiteral("МИГ"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(list->currentRow(), 3);
    auto *note = child<QLabel>(&page, "DeseaseListNote");
    QVERIFY(!note->isVisible());
    edit->setText(QStringLiteral("zzz")); // no match keeps the chosen disease, and says so
    QTest::mouseClick(child<QAbstractButton>(&page, "sBitBtn4"), Qt::LeftButton);
    QCOMPARE(list->currentRow(), 3);
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("No disease name contains \u201czzz\u201d."));
    edit->setText(QStringLiteral("zz"));
    QVERIFY(!note->isVisible());
}

void TestDeseasePanel::deleteAsksFirst()
{
    Fixture f;
    f.add(QStringLiteral("Cystitis"), QStringLiteral("6&28&#"), QStringLiteral("Cranberry"));
    f.add(QStringLiteral("Colitis"), QStringLiteral("2&25&#"));
    DialogRecorder dialogs(QStringLiteral("no"));
    DeseasePanel page(&f.data);
    page.show();
    page.enter();
    auto *remove = child<QAbstractButton>(&page, "sBitBtn6");
    QVERIFY(!remove->isEnabled()); // nothing chosen, nothing to delete
    page.deleteDesease();
    QVERIFY(dialogs.requests().isEmpty());
    child<QListWidget>(&page, "DeseaseListBox")->setCurrentRow(1);
    QCOMPARE(page.shownDesease(), QStringLiteral("Cystitis"));
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Question);
    QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("Cystitis")));
    QCOMPARE(listed(page).size(), 2); // "no" keeps it
    dialogs.setAnswer(QStringLiteral("yes"));
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(listed(page), QStringList{"Colitis"});
    QCOMPARE(DeseaseRepository(&f.data).names(), QStringList{"Colitis"});
    QVERIFY(page.shownDesease().isEmpty());
    QVERIFY(child<QPlainTextEdit>(&page, "WithoutImageMemo")->toPlainText().isEmpty());
    QVERIFY(page.findChildren<PointLabel *>().isEmpty());
    QVERIFY(!remove->isEnabled());
}

QTEST_MAIN(TestDeseasePanel)
#include "tst_desease_panel.moc"
