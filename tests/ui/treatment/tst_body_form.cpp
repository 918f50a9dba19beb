// The point atlas window: the point's picture with its marks where the point file puts them,
// marks that follow the picture when the window changes size, and the window opened at the
// clicked label.
#include "ChildWidget.h"
#include "measure/BodyPicture.h"
#include "TestEnvironment.h"
#include "treatment/AtlasPoints.h"
#include "treatment/BodyAtlasView.h"
#include "treatment/BodyForm.h"
#include "treatment/BodyMarkGeometry.h"
#include "treatment/MarkShape.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {

// The reference position a dot stands for, read back from where it is on the screen.
QPointF referenceOf(const BodyAtlasView *view, const QWidget *dot)
{
    const QRect shown = view->pictureRect();
    const QSize ref = BodyMarkGeometry::referenceSize(view->picture());
    return {(dot->x() - shown.left()) * double(ref.width()) / shown.width() + 3,
            (dot->y() - shown.top()) * double(ref.height()) / shown.height() + 3};
}

} // namespace

class TestBodyForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }
    void pointOnItsPicture_data();
    void pointOnItsPicture();
    void resizeKeepsTheSpot();
    void opensAtTheLabel();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestBodyForm::pointOnItsPicture_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("picture");
    QTest::newRow("arm, front") << QStringLiteral("LU7") << QStringLiteral("Front");
    QTest::newRow("hand, back") << QStringLiteral("LI4") << QStringLiteral("Back");
    QTest::newRow("knee, side") << QStringLiteral("GB34") << QStringLiteral("Side");
    QTest::newRow("triple heater, written TH") << QStringLiteral("TH5") << QStringLiteral("Back");
    QTest::newRow("unknown point") << QStringLiteral("ZZ9") << QStringLiteral("Back");
}

void TestBodyForm::pointOnItsPicture()
{
    QFETCH(QString, code);
    QFETCH(QString, picture);
    BodyForm form;
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.showPoint(code);
    for (const char *name : {"Back", "Front", "Side"}) {
        auto *p = child<BodyPicture>(&form, name);
        QCOMPARE(p->isVisible(), picture == QLatin1String(name));
        QVERIFY2(p->isLoaded(), name); // the shipped drawing is there
    }
    const AtlasPosition want = AtlasPoints().position(code);
    auto *dot1 = child<MarkShape>(&form, "DotShape");
    auto *dot2 = child<MarkShape>(&form, "DotShape2");
    const QPointF at1 = referenceOf(form.view(), dot1);
    const QPointF at2 = referenceOf(form.view(), dot2);
    QVERIFY(qAbs(at1.x() - want.left1) < 1.5 && qAbs(at1.y() - want.top1) < 1.5);
    QVERIFY(qAbs(at2.x() - want.left2) < 1.5 && qAbs(at2.y() - want.top2) < 1.5);
    QCOMPARE(dot1->color(), BodyMarkGeometry::colorOf(want.color));
    if (code == QLatin1String("ZZ9"))
        QCOMPARE(dot1->color(), QColor(Qt::black));
    for (const char *name : {"CircleShape1", "CircleShape2"})
        QVERIFY2(child<MarkShape>(&form, name)->isVisible(), name);
    QCOMPARE(child<MarkShape>(&form, "CircleShape1")->pos(), dot1->pos() - QPoint(7, 7));
    QVERIFY(child<QTimer>(&form, "DotTimer")->isActive());
    QVERIFY(form.windowTitle().endsWith(code));
}

void TestBodyForm::resizeKeepsTheSpot()
{
    BodyForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.showPoint(QStringLiteral("ST36"));
    const QPoint before = child<MarkShape>(&form, "DotShape2")->pos();
    const QPointF spot = referenceOf(form.view(), child<MarkShape>(&form, "DotShape2"));
    form.resize(520, 700);
    QTRY_COMPARE(form.view()->size(), QSize(520, 700));
    auto *dot = child<MarkShape>(&form, "DotShape2");
    QVERIFY(dot->pos() != before);
    const QPointF after = referenceOf(form.view(), dot);
    QVERIFY(qAbs(after.x() - spot.x()) < 1.5 && qAbs(after.y() - spot.y()) < 1.5);
    QCOMPARE(child<MarkShape>(&form, "CircleShape2")->pos(), dot->pos() - QPoint(7, 7));
}

void TestBodyForm::opensAtTheLabel()
{
    QWidget host;
    host.resize(400, 300);
    host.move(40, 30);
    auto *label = new QLabel(QStringLiteral("PC6"), &host);
    label->move(120, 50);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QVERIFY(!AtlasPoints::linksTo(QStringLiteral("TH5")));
    QVERIFY(AtlasPoints::linksTo(QStringLiteral("PC6")));
    BodyForm form;
    form.showPointNear(label->text(), label);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.currentCode(), QStringLiteral("PC6"));
    QCOMPARE(form.pos(), label->mapToGlobal(QPoint(0, 0)));
    QVERIFY(child<BodyPicture>(&form, "Front")->isVisible());
    // Far to the bottom right, the window is moved back onto the screen.
    const QRect screen = form.screen()->availableGeometry();
    form.showPointAt(QStringLiteral("PC6"), screen.bottomRight() - QPoint(5, 5));
    QVERIFY(screen.contains(form.frameGeometry().topLeft()));
    QVERIFY(form.pos().x() <= screen.right() - form.width() + 1);
}

QTEST_MAIN(TestBodyForm)
#include "tst_body_form.moc"
