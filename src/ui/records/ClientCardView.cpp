#include "ClientCardView.h"
#include "common/DateTexts.h"

#include <QHash>

#include "ClientTexts.h"
#include "localization/LanguageApplier.h"
#include "records/ClientRepository.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <iterator>

namespace {

constexpr int PhotoWidth = 130;
constexpr int PhotoHeight = 160;

struct Field {
    const char *captionKey;
    const char *fallback;
    const char *valueName;
};

// Caption key, English fallback, objectName of the value; two fields to a row.
const Field kFields[] = {
    {"ID", "ID", "CodeLabel"},
    {"RegistrationDate", "Registration date", "DateCreateLabel"},
    {"BirthDay", "Date of birth", "BirthLabel"},
    {"Sex", "Sex", "SexLabel"},
    {"Height", "Height", "HeightLabel"},
    {"Weight", "Weight", "WeightLabel"},
    {"Address", "Address", "AdressLabel"},
    {"", "", "Adress2Label"},
    {"City", "City", "CityLabel"},
    {"Zip", "Postal code", "IndexLabel"},
    {"Country", "Country", "CountryLabel"},
    {"WebPage", "Web page", "SaitLabel"},
    {"HomePhone", "Home phone", "Tel1Label"},
    {"WorkPhone", "Work phone", "Tel2Label"},
    {"Cell", "Mobile phone", "Tel3Label"},
};

} // namespace

ClientCardView::ClientCardView(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("CardPanel"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral(
        "#CardPanel { background: #ffffff; border: 1px solid #c9d3dd; border-radius: 6px; }"
        "#CardPanel QLabel[role=\"caption\"] { color: #6a7785; }"
        "#CardPanel QLabel[role=\"value\"] { color: #1f2b36; }"
        "#ClientHeading { color: #1f3b57; font-size: 15pt; font-weight: 600; }"
        "#Photo { background: #f2f5f8; border: 1px solid #d5dde5; border-radius: 4px;"
        " color: #9aa6b2; }"));

    // Photo beside the name and the personal fields; contacts and comment below in full width.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 12, 16, 12);
    outer->setSpacing(10);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    m_photoLabel = new QLabel(this);
    m_photoLabel->setObjectName(QStringLiteral("Photo"));
    m_photoLabel->setFixedSize(PhotoWidth, PhotoHeight);
    m_photoLabel->setAlignment(Qt::AlignCenter);
    top->addWidget(m_photoLabel, 0, Qt::AlignTop);
    auto *personal = new QVBoxLayout;
    personal->setSpacing(8);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("ClientHeading"));
    m_heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    personal->addWidget(m_heading);
    auto *personalGrid = new QGridLayout;
    personalGrid->setHorizontalSpacing(10);
    personalGrid->setVerticalSpacing(5);
    personalGrid->setColumnStretch(1, 1);
    personalGrid->setColumnStretch(3, 1);
    personal->addLayout(personalGrid);
    personal->addStretch(1);
    top->addLayout(personal, 1);
    outer->addLayout(top);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setStyleSheet(QStringLiteral("color: #dde4ea;"));
    outer->addWidget(rule);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    outer->addLayout(grid, 1);

    auto addCaption = [this](QGridLayout *into, const Field &field, int row, int column) {
        auto *caption = new QLabel(this);
        caption->setProperty("role", QStringLiteral("caption"));
        const QString key = QLatin1String(field.captionKey);
        if (!key.isEmpty())
            ClientTexts::bind(caption, key, QLatin1String(field.fallback),
                              [caption](const QString &t) { caption->setText(t); });
        into->addWidget(caption, row, column);
    };
    int index = 0;
    for (const Field &field : kFields) {
        // The first six go beside the photo, two to a row; the address lines take a whole
        // row each; the rest two to a row.
        if (index < 6) {
            addCaption(personalGrid, field, index / 2, (index % 2) * 2);
            personalGrid->addWidget(value(QLatin1String(field.valueName)), index / 2,
                                    (index % 2) * 2 + 1);
        }
        ++index;
    }
    int row = 0;
    addCaption(grid, kFields[6], row, 0);
    grid->addWidget(value(QLatin1String(kFields[6].valueName)), row++, 1, 1, 3);
    addCaption(grid, kFields[7], row, 0);
    grid->addWidget(value(QLatin1String(kFields[7].valueName)), row++, 1, 1, 3);
    for (int i = 8; i < int(std::size(kFields)); ++i) {
        const int column = ((i - 8) % 2) * 2;
        addCaption(grid, kFields[i], row, column);
        grid->addWidget(value(QLatin1String(kFields[i].valueName)), row, column + 1);
        if (column == 2)
            ++row;
    }
    // An odd field count leaves the mail line to share the last row.
    const int mailColumn = (int(std::size(kFields)) - 8) % 2 ? 2 : 0;
    grid->addWidget(value(QStringLiteral("MailLabel")), row, mailColumn, 1, 2);
    if (mailColumn == 2)
        ++row;
    grid->addWidget(value(QStringLiteral("SkypeLabel")), row, mailColumn == 2 ? 0 : 2, 1, 2);
    ++row;
    auto *commentCaption = new QLabel(this);
    commentCaption->setProperty("role", QStringLiteral("caption"));
    ClientTexts::bind(commentCaption, QStringLiteral("Comment"), QStringLiteral("Comment"),
                      [commentCaption](const QString &t) { commentCaption->setText(t); });
    grid->addWidget(commentCaption, row, 0, Qt::AlignTop);
    QLabel *comment = value(QStringLiteral("CommentLabel"));
    comment->setWordWrap(true);
    comment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(comment, row, 1, 1, 3);
    grid->setRowStretch(row, 1);
    ++row;
    m_notes = value(QStringLiteral("NotesLabel"));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(QStringLiteral("QLabel { color: #9a3b00; }"));
    m_notes->hide();
    grid->addWidget(m_notes, row, 0, 1, 4);

    bindTexts();
    showCard(std::nullopt);
}

QLabel *ClientCardView::value(const QString &objectName) {
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    label->setProperty("role", QStringLiteral("value"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(0);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_values.append(label);
    return label;
}

void ClientCardView::bindTexts() {
    ClientTexts::bind(this, QStringLiteral("NoMessenger"), QStringLiteral("No messenger"),
                      [this](const QString &t) {
                          m_noMessenger = t;
                          showCard(m_card);
                      });
    ClientTexts::bind(this, QStringLiteral("NoPhoto"), QStringLiteral("No photo"),
                      [this](const QString &t) { m_photoLabel->setText(t); });
}

QString ClientCardView::mailText(const ClientCard &card) {
    return QStringLiteral("E-mail: ") + card.eMail;
}

QString ClientCardView::messengerText(const ClientCard &card, const QString &noMessenger) {
    if (card.skypeType == 0)
        return QStringLiteral("Skype: ") + card.skype;
    if (card.skypeType == 1)
        return QStringLiteral("ICQ: ") + card.skype;
    return noMessenger;
}

void ClientCardView::showCard(const std::optional<ClientCard> &card) {
    m_card = card;
    const ClientCard c = card.value_or(ClientCard());
    QString sex;
    if (c.sex == QLatin1String("0"))
        sex = ClientTexts::current(QStringLiteral("Male"), QStringLiteral("Male"));
    else if (c.sex == QLatin1String("1"))
        sex = ClientTexts::current(QStringLiteral("Female"), QStringLiteral("Female"));
    const QList<QPair<QString, QString>> texts = {
        {QStringLiteral("CodeLabel"), c.code},
        {QStringLiteral("DateCreateLabel"), DateTexts::date(c.dateCreate)},
        {QStringLiteral("BirthLabel"), DateTexts::date(c.birthday)},
        {QStringLiteral("SexLabel"), sex},
        {QStringLiteral("HeightLabel"), c.height},
        {QStringLiteral("WeightLabel"), c.weight},
        {QStringLiteral("AdressLabel"), c.adress},
        {QStringLiteral("Adress2Label"), c.adress2},
        {QStringLiteral("CityLabel"), c.city},
        {QStringLiteral("IndexLabel"), c.index1},
        {QStringLiteral("CountryLabel"), c.country},
        {QStringLiteral("SaitLabel"), c.sait},
        {QStringLiteral("Tel1Label"), c.tel1},
        {QStringLiteral("Tel2Label"), c.tel2},
        {QStringLiteral("Tel3Label"), c.tel3},
        {QStringLiteral("MailLabel"), card ? mailText(c) : QString()},
        {QStringLiteral("SkypeLabel"), card ? messengerText(c, m_noMessenger) : QString()},
        {QStringLiteral("CommentLabel"), c.comment},
    };
    for (const auto &[name, text] : texts) {
        if (auto *label = findChild<QLabel *>(name))
            label->setText(text);
    }
    // Dates are short and must be read whole; long texts may give way instead.
    for (const char *name : {"DateCreateLabel", "BirthLabel"}) {
        if (auto *label = findChild<QLabel *>(QLatin1String(name)))
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 4);
    }
    m_heading->setText(c.displayName());
    m_photo = QPixmap::fromImage(ClientRepository::decodePhoto(c.foto));
    showPhoto();
}

QString ClientCardView::noteText(const ConflictNote &note) {
    const QString elsewhere =
        ClientTexts::current(QStringLiteral("SyncNoteElsewhere"), QStringLiteral("another workstation"));
    const QString lostBy = note.lostBy.isEmpty() ? elsewhere : note.lostBy;
    const QString keptBy = note.keptBy.isEmpty() ? elsewhere : note.keptBy;
    const QDateTime when = note.lostAt.isValid() ? note.lostAt : note.notedAt;
    const QString time = DateTexts::dateTime(when);
    if (note.field == ClientConflicts::deletedField())
        return ClientTexts::current(QStringLiteral("SyncNoteDeleted"),
                                    QStringLiteral("Deleted on %1 (%2), but changed on %3 "
                                                   "meanwhile: the card was kept."))
            .arg(lostBy, time, keptBy);
    // The field as the card names it.
    static const QHash<QString, QString> labels = {
        {QStringLiteral("NAME"), QStringLiteral("Name")},
        {QStringLiteral("SURNAME"), QStringLiteral("Surname")},
        {QStringLiteral("HEIGHT"), QStringLiteral("Height")},
        {QStringLiteral("WEIGHT"), QStringLiteral("Weight")},
        {QStringLiteral("ADRESS"), QStringLiteral("Address")},
        {QStringLiteral("ADRESS2"), QStringLiteral("Address")},
        {QStringLiteral("CITY"), QStringLiteral("City")},
        {QStringLiteral("INDEX1"), QStringLiteral("Zip")},
        {QStringLiteral("COUNTRY"), QStringLiteral("Country")},
        {QStringLiteral("TEL1"), QStringLiteral("HomePhone")},
        {QStringLiteral("TEL2"), QStringLiteral("WorkPhone")},
        {QStringLiteral("TEL3"), QStringLiteral("Cell")},
        {QStringLiteral("E_MAIL"), QStringLiteral("Mail")},
        {QStringLiteral("SAIT"), QStringLiteral("WebPage")},
        {QStringLiteral("SKYPE"), QStringLiteral("Messenger")},
        {QStringLiteral("COMMENT"), QStringLiteral("Comment")},
    };
    const QString label = labels.contains(note.field)
                              ? ClientTexts::current(labels.value(note.field), note.field)
                              : note.field;
    const QString value = note.field == QLatin1String("FOTO")
                              ? ClientTexts::current(QStringLiteral("Photo"), QStringLiteral("photo"))
                              : note.lostText;
    return ClientTexts::current(QStringLiteral("SyncNoteField"),
                                QStringLiteral("Changed on two workstations: %1 was “%2” (%3, "
                                               "%4); the later value was kept."))
        .arg(label, value, lostBy, time);
}

void ClientCardView::showNotes(const QList<ConflictNote> &notes) {
    QStringList lines;
    for (const ConflictNote &note : notes)
        lines.append(noteText(note));
    m_notes->setText(lines.join(QLatin1Char('\n')));
    m_notes->setVisible(!lines.isEmpty());
}

void ClientCardView::showPhoto() {
    if (m_photo.isNull()) {
        m_photoLabel->setPixmap(QPixmap());
        m_photoLabel->setText(
            ClientTexts::current(QStringLiteral("NoPhoto"), QStringLiteral("No photo")));
        return;
    }
    m_photoLabel->setPixmap(m_photo.scaled(m_photoLabel->size() - QSize(6, 6), Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation));
}

void ClientCardView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    showPhoto();
}
