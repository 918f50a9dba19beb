// The clients page driven as a user would: new and changed cards with their checks, photo,
// locking while editing, deletion only after the question, searches and the current client,
// and a value lost to another workstation shown under the card.
#include "app/WorkModes.h"
#include "ChildWidget.h"
#include "ClientTests.h"
#include "common/Clock.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "records/ClientConflicts.h"
#include "records/ClientPanel.h"
#include "records/ClientRepository.h"
#include "records/ClientsModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

namespace {

struct Fixture : ClientTests {
    std::unique_ptr<ClientPanel> page;
    Fixture() { session.setWorkMode(WorkModes::Clients); }
    // The page over the clients stored so far, shown and entered, without the shared base.
    ClientPanel &open() {
        page = std::make_unique<ClientPanel>(&data, &session);
        page->setSharedBaseEnabled(false);
        page->show();
        page->enter();
        return *page;
    }
};

void fillNewCard(ClientPanel &page, const QString &name, const QString &height) {
    QTest::mouseClick(child<QPushButton>(&page, "NewButton"), Qt::LeftButton);
    child<QLineEdit>(&page, "NameEdit")->setText(name);
    child<QLineEdit>(&page, "SurNameEdit")->setText(QStringLiteral("Quill"));
    // Typed as people write it; the field writes it out in full when it is left.
    auto *birth = child<QLineEdit>(&page, "BirthDateText");
    birth->setFocus();
    QTest::keyClicks(birth, QStringLiteral("0106199"));
    QTest::keyClick(birth, Qt::Key_Backspace);
    QTest::keyClicks(birth, QStringLiteral("90"));
    QTest::keyClick(birth, Qt::Key_Return);
    QCOMPARE(birth->text(), QStringLiteral("01.06.1990"));
    child<QComboBox>(&page, "SexBox")->setCurrentIndex(0);
    child<QLineEdit>(&page, "HeightEdit")->setText(height);
}

} // namespace

class TestClientPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { LanguageApplier::instance().apply(LanguageTexts()); }
    void newCardIsCheckedSavedAndBecomesCurrent();
    void editingKeepsPhotoUnlessCleared();
    void deleteAsksFirst();
    void leavingNeverDropsAnUnsavedCardUnasked();
    void searchAndShowAll();
    void overwrittenValueShowsUnderTheCard();
};

void TestClientPanel::newCardIsCheckedSavedAndBecomesCurrent() {
    Fixture f;
    addClient(f.data, QStringLiteral("Vera"), QStringLiteral("Lind"));
    DialogRecorder dialogs;
    ClientPanel &page = f.open();
    QSignalSpy names(&page, &ClientPanel::clientNameChanged);
    QCOMPARE(f.session.currentClient(), QStringLiteral("Q71")); // the first client

    fillNewCard(page, QStringLiteral("Nika"), QStringLiteral("175a"));
    QCOMPARE(f.session.workMode(), int(WorkModes::NewClient));
    // While the card is edited, the list and the search are locked.
    for (const char *name : {"ClientsList", "SearchEdit", "NameRadio", "BirthRadio", "NewButton",
                             "EditButton", "DeleteButton", "SearchButton"})
        QVERIFY2(!child<QWidget>(&page, name)->isEnabled(), name);

    QTest::mouseClick(child<QPushButton>(&page, "AcceptButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().text,
             QStringLiteral("The height may contain digits only."));
    QCOMPARE(page.model()->rowCount(), 1); // nothing written
    QVERIFY(page.isEditing());

    child<QLineEdit>(&page, "HeightEdit")->setText(QStringLiteral("175"));
    QTest::mouseClick(child<QPushButton>(&page, "AcceptButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QVERIFY(!page.isEditing());
    QCOMPARE(f.session.workMode(), int(WorkModes::Clients));
    QCOMPARE(page.model()->rowCount(), 2);
    QCOMPARE(f.session.currentClient(), QStringLiteral("Q72"));
    QCOMPARE(names.last().first().toString(), QStringLiteral("Nika Quill"));
    QVERIFY(child<QWidget>(&page, "ClientsList")->isEnabled());
    QCOMPARE(child<QLabel>(&page, "HeightLabel")->text(), QStringLiteral("175"));
    QCOMPARE(child<QLabel>(&page, "SkypeLabel")->text(), QStringLiteral("No messenger"));
    QCOMPARE(ClientRepository(&f.data).card(QStringLiteral("Q72"))->dateCreate, Clock::today());

    // Cancel writes nothing.
    fillNewCard(page, QStringLiteral("Nobody"), QString());
    QTest::mouseClick(child<QPushButton>(&page, "CanselButton"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 2);
    QCOMPARE(f.session.workMode(), int(WorkModes::Clients));

    // A name the base cannot store is refused with the field named.
    fillNewCard(page, QStringLiteral("王小明"), QString());
    QTest::mouseClick(child<QPushButton>(&page, "AcceptButton"), Qt::LeftButton);
    QVERIFY(dialogs.requests().last().text.contains(QLatin1String("Name")));
    QCOMPARE(page.model()->rowCount(), 2);

    // Nothing typed is cut: a pasted phone number longer than the column stays whole, the
    // limit is said at once, and the card waits until the number fits.
    const QString longPhone = QStringLiteral("+7 916 123-45-67 ext. 1234, evenings only");
    child<QLineEdit>(&page, "NameEdit")->setText(QStringLiteral("Olga"));
    child<QLineEdit>(&page, "Tel3Edit")->setText(longPhone);
    QCOMPARE(child<QLineEdit>(&page, "Tel3Edit")->text(), longPhone);
    QVERIFY(child<QLabel>(&page, "LimitNote")->text().contains(QLatin1String("at most 30")));
    QTest::mouseClick(child<QPushButton>(&page, "AcceptButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().last().text,
             QStringLiteral("The field \"Mobile phone\" is too long: at most 30 characters."));
    QCOMPARE(page.model()->rowCount(), 2);
    child<QLineEdit>(&page, "Tel3Edit")->setText(QStringLiteral("+7 916 123-45-67 ext. 1234"));
    QVERIFY(child<QLabel>(&page, "LimitNote")->text().isEmpty());
    // A birth date that is no date is refused, never read as some other date.
    auto *birth = child<QLineEdit>(&page, "BirthDateText");
    birth->setText(QStringLiteral("31.02.1990"));
    QTest::mouseClick(child<QPushButton>(&page, "AcceptButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().last().text, QStringLiteral("Please enter the date of birth."));
    birth->setText(QStringLiteral("28.02.1990"));
    QTest::mouseClick(child<QPushButton>(&page, "AcceptButton"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 3);
    QCOMPARE(ClientRepository(&f.data).card(QStringLiteral("Q73"))->tel3,
             QStringLiteral("+7 916 123-45-67 ext. 1234"));
}

void TestClientPanel::leavingNeverDropsAnUnsavedCardUnasked() {
    Fixture f;
    addClient(f.data, QStringLiteral("Vera"), QStringLiteral("Lind"));
    DialogRecorder dialogs(QStringLiteral("yes"));
    ClientPanel &page = f.open();

    // Opened and left untouched: closed without a question.
    QTest::mouseClick(child<QPushButton>(&page, "NewButton"), Qt::LeftButton);
    page.leave();
    QVERIFY(!page.isEditing());
    QVERIFY(dialogs.requests().isEmpty());

    // Typed and left: asked; yes saves it.
    fillNewCard(page, QStringLiteral("Nika"), QStringLiteral("175"));
    page.leave();
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Question);
    QVERIFY(!page.isEditing());
    QCOMPARE(page.model()->rowCount(), 2);

    // Yes, but the card cannot be saved: the reason is said and the card stays in the editor.
    dialogs.clear();
    fillNewCard(page, QStringLiteral("Ivan"), QStringLiteral("17x"));
    page.leave();
    QCOMPARE(dialogs.requests().size(), 2);
    QVERIFY(page.isEditing());
    QCOMPARE(child<QLineEdit>(&page, "NameEdit")->text(), QStringLiteral("Ivan"));
    QCOMPARE(page.model()->rowCount(), 2);

    // No drops it, as the practitioner chose.
    dialogs.clear();
    dialogs.setAnswer(QStringLiteral("no"));
    page.leave();
    QCOMPARE(dialogs.requests().size(), 1);
    QVERIFY(!page.isEditing());
    QCOMPARE(page.model()->rowCount(), 2);
}

void TestClientPanel::editingKeepsPhotoUnlessCleared() {
    Fixture f;
    QImage picture(40, 50, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString jpeg = f.env.scratch(QStringLiteral("p")) + QStringLiteral("/face.jpg");
    QVERIFY(picture.save(jpeg, "JPG"));
    addClient(f.data, QStringLiteral("Foto"), QStringLiteral("Graf"));
    DialogRecorder dialogs(jpeg); // the file dialog answers with the picture
    ClientPanel &page = f.open();

    QTest::mouseClick(child<QPushButton>(&page, "EditButton"), Qt::LeftButton);
    QCOMPARE(f.session.workMode(), int(WorkModes::EditClient));
    QTest::mouseClick(child<QPushButton>(&page, "LoadButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().last().kind, Dialogs::Kind::OpenFile);
    QVERIFY(!child<QLabel>(&page, "Photo2")->pixmap().isNull());
    QVERIFY(page.acceptCard());
    QVERIFY(!page.currentPhoto().isNull());
    QVERIFY(!child<QLabel>(&page, "Photo")->pixmap().isNull());

    // Changing another field keeps the photo.
    page.editCard();
    child<QLineEdit>(&page, "CityEdit")->setText(QStringLiteral("Riga"));
    // A messenger account without a kind is not kept.
    child<QLineEdit>(&page, "MessengerEdit")->setText(QStringLiteral("abc"));
    QCOMPARE(child<QLineEdit>(&page, "MessengerEdit")->text(), QString());
    QVERIFY(page.acceptCard());
    QVERIFY(ClientRepository(&f.data).card(QStringLiteral("Q71"))->hasPhoto());
    QCOMPARE(child<QLabel>(&page, "CityLabel")->text(), QStringLiteral("Riga"));

    page.editCard();
    QTest::mouseClick(child<QPushButton>(&page, "ClearButton"), Qt::LeftButton);
    QVERIFY(page.acceptCard());
    QVERIFY(!ClientRepository(&f.data).card(QStringLiteral("Q71"))->hasPhoto());
    QVERIFY(page.currentPhoto().isNull());
}

void TestClientPanel::deleteAsksFirst() {
    Fixture f;
    addClient(f.data, QStringLiteral("Anna"), QStringLiteral("Berg"));
    const QString second = addClient(f.data, QStringLiteral("Olga"), QStringLiteral("Ivanova"));
    DialogRecorder dialogs(QStringLiteral("no"));
    ClientPanel &page = f.open();
    f.session.setCurrentClient(second);
    QCOMPARE(page.model()->codeAt(child<QTableView>(&page, "ClientsList")->currentIndex().row()),
             second);

    QTest::mouseClick(child<QPushButton>(&page, "DeleteButton"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Question);
    QVERIFY(dialogs.requests().first().text.contains(QLatin1String("Olga Ivanova")));
    QCOMPARE(page.model()->rowCount(), 2);

    dialogs.setAnswer(QStringLiteral("yes"));
    QTest::mouseClick(child<QPushButton>(&page, "DeleteButton"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 1);
    QCOMPARE(f.session.currentClient(), QStringLiteral("Q71"));
}

void TestClientPanel::searchAndShowAll() {
    Fixture f;
    addClient(f.data, QStringLiteral("Maria"), QStringLiteral("O'Neil"));
    addClient(f.data, QStringLiteral("Marta"), QStringLiteral("Novak"));
    addClient(f.data, QStringLiteral("Amara"), QStringLiteral("Stone"));
    ClientPanel page(&f.data, &f.session);
    page.show();
    auto *edit = child<QLineEdit>(&page, "SearchEdit");
    edit->setText(QStringLiteral("mar"));
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(page.model()->rowCount(), 2);
    QCOMPARE(f.session.currentClient(), QStringLiteral("Q71"));

    child<QRadioButton>(&page, "SurnameRadio")->setChecked(true);
    edit->setText(QStringLiteral("o'n"));
    QTest::mouseClick(child<QPushButton>(&page, "SearchButton"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 1);
    edit->setText(QStringLiteral("%"));
    QTest::mouseClick(child<QPushButton>(&page, "SearchButton"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 0);

    child<QRadioButton>(&page, "BirthRadio")->setChecked(true);
    QVERIFY(!edit->isVisible());
    child<QDateEdit>(&page, "FilterBirthEdit")->setDate(QDate(1975, 5, 6));
    QTest::mouseClick(child<QPushButton>(&page, "SearchButton"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 3);

    QTest::mouseClick(child<QWidget>(&page, "ReturnImage"), Qt::LeftButton);
    QCOMPARE(page.model()->rowCount(), 3);
    QVERIFY(!page.model()->isSearching());
}

void TestClientPanel::overwrittenValueShowsUnderTheCard() {
    // The value that lost when two workstations changed one field is kept where the
    // practitioner sees it: under the card, as plain text.
    Fixture f;
    const QString code = addClient(f.data, QStringLiteral("Vera"), QStringLiteral("Lind"));
    ConflictNote note;
    note.code = code;
    note.field = QStringLiteral("TEL2");
    note.lostText = QStringLiteral("<b>+7 999</b>");
    note.lostBy = QStringLiteral("Reception");
    note.keptBy = QStringLiteral("Room 2");
    QVERIFY(ClientConflicts::add(f.data.database(), note));
    ClientPanel page(&f.data, &f.session);
    page.show();
    page.enter();
    f.session.setCurrentClient(code);
    auto *notes = child<QLabel>(&page, "NotesLabel");
    QVERIFY(notes->isVisible());
    QCOMPARE(notes->textFormat(), Qt::PlainText);
    QVERIFY2(notes->text().contains(QStringLiteral("“<b>+7 999</b>”")), qPrintable(notes->text()));
    QVERIFY(notes->text().contains(QStringLiteral("Reception")));
}

QTEST_MAIN(TestClientPanel)
#include "tst_client_panel.moc"
