#include "ClientEditor.h"

#include "ClientTexts.h"
#include "common/Clock.h"
#include "common/DateField.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "records/ClientRepository.h"
#include "records/ClientValidation.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Captions of the fields a card cannot be saved without carry this mark.
const QString kRequiredMark = QStringLiteral(" *");

QLabel *caption(QWidget *parent, const QString &key, const QString &fallback,
                bool required = false) {
    auto *label = new QLabel(parent);
    ClientTexts::bind(label, key, fallback, [label, required](const QString &t) {
        label->setText(required ? t + kRequiredMark : t);
    });
    return label;
}

} // namespace

ClientEditor::ClientEditor(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("CorrectPanel"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral(
        "#CorrectPanel { background: #fbfcfd; border: 1px solid #9db9d5; border-radius: 6px; }"
        "#Photo2 { background: #f2f5f8; border: 1px solid #d5dde5; border-radius: 4px;"
        " color: #9aa6b2; }"
        "#EditorHeading { color: #1f3b57; font-size: 12pt; font-weight: 600; }"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 10, 14, 10);
    outer->setSpacing(8);
    auto *headingRow = new QHBoxLayout;
    auto *heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("EditorHeading"));
    ClientTexts::bind(heading, QStringLiteral("AboutClient"), QStringLiteral("About the client"),
                      [heading](const QString &t) { heading->setText(t); });
    headingRow->addWidget(heading);
    headingRow->addStretch(1);
    headingRow->addWidget(caption(this, QStringLiteral("ID"), QStringLiteral("ID")));
    m_codeLabel = new QLabel(this);
    m_codeLabel->setObjectName(QStringLiteral("CodeEdit"));
    m_codeLabel->setMinimumWidth(60);
    headingRow->addWidget(m_codeLabel);
    outer->addLayout(headingRow);

    auto *body = new QHBoxLayout;
    body->setSpacing(14);
    outer->addLayout(body, 1);

    auto *left = new QGridLayout;
    left->setVerticalSpacing(4);
    auto *middle = new QGridLayout;
    middle->setVerticalSpacing(4);
    body->addLayout(left, 1);
    body->addLayout(middle, 1);

    m_name = lineEdit(QStringLiteral("NameEdit"), "NAME", "Name");
    m_surname = lineEdit(QStringLiteral("SurNameEdit"), "SURNAME", "Surname");
    m_birth = new DateField(this);
    m_birth->setObjectName(QStringLiteral("BirthDateEdit"));
    m_birth->lineEdit()->setObjectName(QStringLiteral("BirthDateText"));
    // Most clients are grown up: an empty field's calendar opens some forty years back.
    m_birth->setEmptyCalendarPage(QDate(Clock::today().year() - 40, 1, 1));
    m_birth->setMaximumDate(Clock::today());
    m_sex = new QComboBox(this);
    m_sex->setObjectName(QStringLiteral("SexBox"));
    m_sex->setEditable(true);
    m_sex->setInsertPolicy(QComboBox::NoInsert);
    m_sex->addItems({QStringLiteral("Male"), QStringLiteral("Female")});
    connect(m_sex->lineEdit(), &QLineEdit::editingFinished, this, &ClientEditor::checkSexText);
    m_height = lineEdit(QStringLiteral("HeightEdit"), "HEIGHT", "Height");
    m_weight = lineEdit(QStringLiteral("WidthEdit"), "WEIGHT", "Weight");
    m_messengerBox = new QComboBox(this);
    m_messengerBox->setObjectName(QStringLiteral("MessengerBox"));
    m_messengerBox->addItems({QStringLiteral("Skype"), QStringLiteral("ICQ")});
    m_messenger = lineEdit(QStringLiteral("MessengerEdit"), "SKYPE", "Messenger");
    // An account without a messenger kind means nothing: it is not kept.
    connect(m_messenger, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!text.isEmpty() && m_messengerBox->currentIndex() < 0)
            m_messenger->clear();
    });

    int row = 0;
    auto addLeft = [&](const char *key, const char *fallback, QWidget *field,
                       bool required = false) {
        left->addWidget(caption(this, QLatin1String(key), QLatin1String(fallback), required), row,
                        0);
        left->addWidget(field, row++, 1);
    };
    addLeft("Name", "Name", m_name, true);
    addLeft("Surname", "Surname", m_surname, true);
    addLeft("BirthDay", "Date of birth", m_birth, true);
    addLeft("Sex", "Sex", m_sex, true);
    addLeft("Height", "Height", m_height);
    addLeft("Weight", "Weight", m_weight);
    addLeft("Messenger", "Messenger", m_messengerBox);
    left->addWidget(m_messenger, row++, 1);
    const int photoRowIndex = row++;
    left->setRowStretch(row, 1);
    left->setColumnStretch(1, 1);

    m_adress = lineEdit(QStringLiteral("AdressEdit"), "ADRESS", "Address");
    m_adress2 = lineEdit(QStringLiteral("Adress2Edit"), "ADRESS2", "Address");
    m_city =
        lineEdit(QStringLiteral("CityEdit"), "CITY", "City");
    m_index = lineEdit(QStringLiteral("IndexEdit"), "INDEX1", "Zip");
    m_country = lineEdit(QStringLiteral("CountryEdit"), "COUNTRY", "Country");
    m_tel1 =
        lineEdit(QStringLiteral("Tel1Edit"), "TEL1", "HomePhone");
    m_tel2 =
        lineEdit(QStringLiteral("Tel2Edit"), "TEL2", "WorkPhone");
    m_tel3 =
        lineEdit(QStringLiteral("Tel3Edit"), "TEL3", "Cell");
    m_mail = lineEdit(QStringLiteral("MailEdit"), "E_MAIL", "Mail");
    m_sait =
        lineEdit(QStringLiteral("SaitEdit"), "SAIT", "WebPage");
    row = 0;
    auto addMiddle = [&](const char *key, const char *fallback, QWidget *field) {
        if (key)
            middle->addWidget(caption(this, QLatin1String(key), QLatin1String(fallback)), row, 0);
        middle->addWidget(field, row++, 1);
    };
    addMiddle("Address", "Address", m_adress);
    addMiddle(nullptr, nullptr, m_adress2);
    addMiddle("City", "City", m_city);
    addMiddle("Zip", "Postal code", m_index);
    addMiddle("Country", "Country", m_country);
    addMiddle("HomePhone", "Home phone", m_tel1);
    addMiddle("WorkPhone", "Work phone", m_tel2);
    addMiddle("Cell", "Mobile phone", m_tel3);
    addMiddle("Mail", "E-mail", m_mail);
    addMiddle("WebPage", "Web page", m_sait);
    middle->setRowStretch(row, 1);
    middle->setColumnStretch(1, 1);

    // The photo sits under the personal fields, its buttons beside it.
    auto *photoRow = new QHBoxLayout;
    m_photo = new QLabel(this);
    m_photo->setObjectName(QStringLiteral("Photo2"));
    m_photo->setFixedSize(112, 136);
    m_photo->setAlignment(Qt::AlignCenter);
    photoRow->addWidget(m_photo);
    auto *photoButtons = new QVBoxLayout;
    auto *load = new QPushButton(this);
    load->setObjectName(QStringLiteral("LoadButton"));
    auto *clear = new QPushButton(this);
    clear->setObjectName(QStringLiteral("ClearButton"));
    photoButtons->addWidget(load);
    photoButtons->addWidget(clear);
    photoButtons->addStretch(1);
    photoRow->addLayout(photoButtons);
    photoRow->addStretch(1);
    left->addLayout(photoRow, photoRowIndex, 1);
    connect(load, &QPushButton::clicked, this, &ClientEditor::loadPhoto);
    connect(clear, &QPushButton::clicked, this, &ClientEditor::clearPhoto);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(caption(this, QStringLiteral("Comment"), QStringLiteral("Comment")), 0,
                      Qt::AlignTop);
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("CommentMemo"));
    m_comment->setFixedHeight(54);
    bottom->addWidget(m_comment, 1);
    auto *buttons = new QVBoxLayout;
    auto *accept = new QPushButton(this);
    accept->setObjectName(QStringLiteral("AcceptButton"));
    accept->setDefault(true);
    auto *cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("CanselButton"));
    buttons->addWidget(accept);
    buttons->addWidget(cancel);
    bottom->addLayout(buttons);
    outer->addLayout(bottom);
    auto *notes = new QHBoxLayout;
    auto *required = new QLabel(this);
    required->setObjectName(QStringLiteral("RequiredNote"));
    ClientTexts::bind(required, QStringLiteral("RequiredFields"),
                      QStringLiteral("* must be filled in"),
                      [required](const QString &t) { required->setText(t); });
    notes->addWidget(required);
    m_limitNote = new QLabel(this);
    m_limitNote->setObjectName(QStringLiteral("LimitNote"));
    m_limitNote->setTextFormat(Qt::PlainText);
    m_limitNote->setStyleSheet(QStringLiteral("color: #b03a2e;"));
    notes->addWidget(m_limitNote, 1, Qt::AlignRight);
    outer->addLayout(notes);
    connect(accept, &QPushButton::clicked, this, &ClientEditor::acceptRequested);
    connect(cancel, &QPushButton::clicked, this, &ClientEditor::cancelRequested);

    bindTexts();
    startNew();
}

QLineEdit *ClientEditor::lineEdit(const QString &objectName, const char *column,
                                  const char *labelKey) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    // No cap on typing: a cap would cut pasted text without a word. The limit is said as soon
    // as it is passed, and the card is not saved until the text fits.
    m_limits.append({edit, ClientValidation::columnWidth(QLatin1String(column)),
                     QLatin1String(labelKey)});
    connect(edit, &QLineEdit::textChanged, this, &ClientEditor::showLimitNote);
    return edit;
}

void ClientEditor::showLimitNote() {
    for (const Limit &l : std::as_const(m_limits)) {
        const int typed = int(l.edit->text().trimmed().size());
        if (l.width > 0 && typed > l.width) {
            const QString field = ClientTexts::current(l.labelKey, l.labelKey);
            m_limitNote->setText(ClientTexts::current(QStringLiteral("FieldLimit"),
                                                      QStringLiteral("%1: at most %2 characters "
                                                                     "(%3 typed)"))
                                     .arg(field)
                                     .arg(l.width)
                                     .arg(typed));
            return;
        }
    }
    m_limitNote->clear();
}

void ClientEditor::bindTexts() {
    auto &applier = LanguageApplier::instance();
    for (const char *name : {"LoadButton", "ClearButton", "AcceptButton", "CanselButton"})
        applier.bindText(findChild<QPushButton *>(QLatin1String(name)), QLatin1String(name));
    applier.bindItems(m_sex, {QStringLiteral("Male"), QStringLiteral("Female")});
    ClientTexts::bind(m_photo, QStringLiteral("NoPhoto"), QStringLiteral("No photo"),
                      [this](const QString &t) {
                          if (m_photoPixmap.isNull())
                              m_photo->setText(t);
                      });
}

void ClientEditor::startNew() {
    m_code.clear();
    m_codeLabel->clear();
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->clear();
    m_birth->setDate(QDate());
    m_sex->setCurrentIndex(-1);
    m_sex->setEditText(QString());
    m_messengerBox->setCurrentIndex(-1);
    m_comment->clear();
    m_photoSource.clear();
    showPhoto(QPixmap());
    m_startCard = card();
    m_startPhoto = m_photoSource;
}

void ClientEditor::startEdit(const ClientCard &card) {
    startNew();
    m_code = card.code;
    m_codeLabel->setText(card.code);
    m_name->setText(card.name);
    m_surname->setText(card.surname);
    m_birth->setDate(card.birthday);
    bool ok = false;
    const int sex = card.sex.toInt(&ok);
    m_sex->setCurrentIndex(ok && sex >= 0 && sex < m_sex->count() ? sex : -1);
    m_height->setText(card.height);
    m_weight->setText(card.weight);
    m_adress->setText(card.adress);
    m_adress2->setText(card.adress2);
    m_city->setText(card.city);
    m_index->setText(card.index1);
    m_country->setText(card.country);
    m_tel1->setText(card.tel1);
    m_tel2->setText(card.tel2);
    m_tel3->setText(card.tel3);
    m_mail->setText(card.eMail);
    m_sait->setText(card.sait);
    m_messengerBox->setCurrentIndex(card.skypeType >= 0 && card.skypeType < 2 ? card.skypeType
                                                                              : -1);
    m_messenger->setText(card.skype);
    m_comment->setPlainText(card.comment);
    m_photoSource = ClientRepository::keepPhoto();
    showPhoto(QPixmap::fromImage(ClientRepository::decodePhoto(card.foto)));
    m_startCard = this->card();
    m_startPhoto = m_photoSource;
}

ClientCard ClientEditor::card() const {
    ClientCard c;
    c.code = m_code;
    c.name = m_name->text();
    c.surname = m_surname->text();
    c.birthday = m_birth->date();
    // The stored sex is the item's index; typed text that is no item counts as none.
    const int sex = m_sex->findText(m_sex->currentText().trimmed(), Qt::MatchFixedString);
    c.sex = sex >= 0 ? QString::number(sex) : QString();
    c.height = m_height->text();
    c.weight = m_weight->text();
    c.adress = m_adress->text();
    c.adress2 = m_adress2->text();
    c.city = m_city->text();
    c.index1 = m_index->text();
    c.country = m_country->text();
    c.tel1 = m_tel1->text();
    c.tel2 = m_tel2->text();
    c.tel3 = m_tel3->text();
    c.eMail = m_mail->text();
    c.sait = m_sait->text();
    c.skypeType = m_messengerBox->currentIndex();
    c.skype = c.skypeType >= 0 ? m_messenger->text() : QString();
    c.comment = m_comment->toPlainText();
    return c;
}

void ClientEditor::focusFirst() {
    m_name->setFocus();
}

void ClientEditor::checkSexText() {
    if (m_sex->findText(m_sex->currentText().trimmed(), Qt::MatchFixedString) < 0) {
        m_sex->setCurrentIndex(-1);
        m_sex->setEditText(QString());
    }
}

void ClientEditor::loadPhoto() {
    const QString caption =
        ClientTexts::current(QStringLiteral("LoadButton"), QStringLiteral("Load"));
    const QString path = Dialogs::openFile(
        this, caption, QDir::homePath(), QStringLiteral("JPEG Image (*.jpg *.jpeg *.JPG *.JPEG)"));
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        Dialogs::message(this,
                         ClientTexts::translate(QStringLiteral("PhotoNotLoaded"),
                                                QStringLiteral("The picture cannot be read.")) +
                             QStringLiteral("\n") + QFileInfo(path).fileName());
        return;
    }
    m_photoSource = path;
    showPhoto(QPixmap::fromImage(image));
}

void ClientEditor::clearPhoto() {
    m_photoSource.clear();
    showPhoto(QPixmap());
}

void ClientEditor::showPhoto(const QPixmap &photo) {
    m_photoPixmap = photo;
    if (photo.isNull()) {
        m_photo->setPixmap(QPixmap());
        m_photo->setText(
            ClientTexts::current(QStringLiteral("NoPhoto"), QStringLiteral("No photo")));
        return;
    }
    m_photo->setPixmap(
        photo.scaled(m_photo->size() - QSize(6, 6), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
