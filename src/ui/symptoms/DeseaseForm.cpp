#include "DeseaseForm.h"
#include "localization/Localization.h"

#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "records/ClientTexts.h"
#include "records/DataModule.h"
#include "symptoms/DesDotsCatalogue.h"
#include "symptoms/DeseaseRepository.h"
#include "symptoms/DotsListCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString shown(const QString &key, const QString &fallback)
{
    return ClientTexts::translate(key, fallback);
}

QLabel *caption(QWidget *parent, const QString &key, const QString &fallback)
{
    auto *label = new QLabel(parent);
    ClientTexts::bind(label, key, fallback, [label](const QString &t) { label->setText(t); });
    return label;
}

QToolButton *formatButton(QWidget *parent, const char *name, const QString &text, QFont font)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setCheckable(true);
    button->setFont(font);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(26, 24);
    return button;
}

} // namespace

DeseaseForm::DeseaseForm(DataModule *data, const DesDotsCatalogue &catalogue, QWidget *parent)
    : QDialog(parent)
    , m_data(data)
    , m_catalogue(catalogue)
{
    setObjectName(QStringLiteral("TDeseaseForm"));
    setModal(true);
    resize(620, 560);
    setStyleSheet(QStringLiteral(
        "#identity, #identity2 { background: #f4f6f8; border: 1px dashed #a9b6c3;"
        " border-radius: 4px; color: #52606d; }"
        "#identity2 { border-style: solid; }"));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("DesName"));
    m_dots = new QLineEdit(this);
    m_dots->setObjectName(QStringLiteral("DotsList"));
    grid->addWidget(caption(this, QStringLiteral("DeseaseName"), QStringLiteral("Disease name")),
                    0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(caption(this, QStringLiteral("DeseaseDots"),
                            QStringLiteral("Acupuncture points")),
                    1, 0);
    grid->addWidget(m_dots, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    // Information, with the three formats a practitioner uses most.
    auto *aboutHead = new QHBoxLayout;
    aboutHead->addWidget(caption(this, QStringLiteral("DopInfo"),
                                 QStringLiteral("Additional information")));
    aboutHead->addStretch(1);
    QFont bold = font();
    bold.setBold(true);
    QFont italic = font();
    italic.setItalic(true);
    QFont underline = font();
    underline.setUnderline(true);
    auto *boldButton = formatButton(this, "BoldButton", QStringLiteral("B"), bold);
    auto *italicButton = formatButton(this, "ItalicButton", QStringLiteral("I"), italic);
    auto *underlineButton = formatButton(this, "UnderlineButton", QStringLiteral("U"), underline);
    for (QToolButton *b : {boldButton, italicButton, underlineButton})
        aboutHead->addWidget(b);
    layout->addLayout(aboutHead);
    m_about = new QTextEdit(this);
    m_about->setObjectName(QStringLiteral("AboutDesease"));
    m_about->setAcceptRichText(true);
    m_about->setTabChangesFocus(true);
    layout->addWidget(m_about, 3);
    connect(boldButton, &QToolButton::toggled, this, [this](bool on) {
        m_about->setFontWeight(on ? QFont::Bold : QFont::Normal);
    });
    connect(italicButton, &QToolButton::toggled, m_about, &QTextEdit::setFontItalic);
    connect(underlineButton, &QToolButton::toggled, m_about, &QTextEdit::setFontUnderline);
    connect(m_about, &QTextEdit::currentCharFormatChanged, this,
            [boldButton, italicButton, underlineButton](const QTextCharFormat &f) {
                const QSignalBlocker b1(boldButton), b2(italicButton), b3(underlineButton);
                boldButton->setChecked(f.fontWeight() >= QFont::Bold);
                italicButton->setChecked(f.fontItalic());
                underlineButton->setChecked(f.fontUnderline());
            });

    auto *plantRow = new QHBoxLayout;
    auto *plantColumn = new QVBoxLayout;
    plantColumn->addWidget(caption(this, QStringLiteral("PlantRecomendation"),
                                   QStringLiteral("Herbal recommendations")));
    m_plant = new QPlainTextEdit(this);
    m_plant->setObjectName(QStringLiteral("PlRecomendation"));
    m_plant->setTabChangesFocus(true);
    plantColumn->addWidget(m_plant);
    plantRow->addLayout(plantColumn, 1);

    auto *pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(caption(this, QStringLiteral("PlantPicture"),
                                     QStringLiteral("Plant picture")));
    m_pictureState = new QStackedWidget(this);
    m_pictureState->setFixedSize(170, 150);
    m_identity = new QToolButton(m_pictureState);
    m_identity->setObjectName(QStringLiteral("identity"));
    m_identity->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_identity->setIconSize(QSize(32, 32));
    m_identity->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_identity2 = new QToolButton(m_pictureState);
    m_identity2->setObjectName(QStringLiteral("identity2"));
    m_identity2->setIconSize(QSize(140, 140));
    for (QToolButton *b : {m_identity, m_identity2}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        m_pictureState->addWidget(b);
        connect(b, &QToolButton::clicked, this, &DeseaseForm::choosePicture);
    }
    pictureColumn->addWidget(m_pictureState);
    m_clearPicture = new QToolButton(this);
    m_clearPicture->setObjectName(QStringLiteral("ClearPicture"));
    ClientTexts::bind(m_clearPicture, QStringLiteral("ClearButton"), QStringLiteral("Clear"),
                      [this](const QString &t) { m_clearPicture->setText(t); });
    connect(m_clearPicture, &QToolButton::clicked, this, &DeseaseForm::clearPicture);
    pictureColumn->addWidget(m_clearPicture, 0, Qt::AlignHCenter);
    pictureColumn->addStretch(1);
    plantRow->addLayout(pictureColumn);
    layout->addLayout(plantRow, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *saveButton = new QPushButton(this);
    saveButton->setObjectName(QStringLiteral("SaveDesease"));
    saveButton->setDefault(true);
    auto *exitButton = new QPushButton(this);
    exitButton->setObjectName(QStringLiteral("ExitDesease"));
    buttons->addWidget(saveButton);
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);
    ClientTexts::bind(saveButton, QStringLiteral("Save"), QStringLiteral("Save"),
                      [saveButton](const QString &t) { saveButton->setText(t); });
    ClientTexts::bind(exitButton, QStringLiteral("Exit"), QStringLiteral("Exit"),
                      [exitButton](const QString &t) { exitButton->setText(t); });
    connect(saveButton, &QPushButton::clicked, this, &DeseaseForm::save);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    bindTexts();
    clearFields();
}

void DeseaseForm::bindTexts()
{
    ClientTexts::bind(this, QStringLiteral("DeseaseFormCaption"), QStringLiteral("New disease"),
                      [this](const QString &t) { setWindowTitle(t); });
    ClientTexts::bind(m_dots, QStringLiteral("DotsListHint"),
                      QStringLiteral("Point codes such as LU7, GB20, separated by commas or blanks"),
                      [this](const QString &t) {
                          m_dots->setPlaceholderText(t);
                          m_dots->setToolTip(t);
                      });
    ClientTexts::bind(m_identity, QStringLiteral("NoPlantPicture"),
                      QStringLiteral("No picture. Click to choose one."),
                      [this](const QString &t) {
                          // One sentence a line: the button is narrow.
                          m_identity->setText(QString(t).replace(QStringLiteral(". "),
                                                                 QStringLiteral(".\n")));
                      });
    ClientTexts::bind(m_identity2, QStringLiteral("ChangePlantPicture"),
                      QStringLiteral("Click to choose another picture."),
                      [this](const QString &t) { m_identity2->setToolTip(t); });
}

void DeseaseForm::showEvent(QShowEvent *event)
{
    // Every new showing starts empty; a window merely restored keeps what was typed.
    if (!event->spontaneous())
        clearFields();
    QDialog::showEvent(event);
    m_name->setFocus();
}

void DeseaseForm::clearFields()
{
    m_name->clear();
    m_dots->clear();
    m_about->clear();
    m_plant->clear();
    m_pictureFile.clear();
    showPictureState();
}

void DeseaseForm::showPictureState()
{
    if (m_pictureFile.isEmpty()) {
        m_identity2->setIcon(QIcon());
        m_pictureState->setCurrentWidget(m_identity);
    } else {
        QImageReader reader(m_pictureFile);
        reader.setAutoTransform(true);
        m_identity2->setIcon(QIcon(QPixmap::fromImage(reader.read())));
        m_pictureState->setCurrentWidget(m_identity2);
    }
    m_clearPicture->setEnabled(!m_pictureFile.isEmpty());
}

void DeseaseForm::choosePicture()
{
    const QString folder = m_pictureFile.isEmpty() ? QDir::homePath()
                                                   : QFileInfo(m_pictureFile).absolutePath();
    const QString path = Dialogs::openFile(
        this, shown(QStringLiteral("PlantPicture"), QStringLiteral("Plant picture")), folder,
        QStringLiteral("Pictures (*.jpg *.jpeg *.JPG *.JPEG *.png *.PNG *.bmp *.BMP)"));
    if (path.isEmpty())
        return;
    if (QImageReader(path).read().isNull()) {
        Dialogs::message(this, shown(QStringLiteral("PhotoNotLoaded"),
                                     QStringLiteral("The picture cannot be read."))
                                   + QStringLiteral("\n") + QFileInfo(path).fileName());
        return;
    }
    m_pictureFile = path;
    showPictureState();
}

void DeseaseForm::clearPicture()
{
    m_pictureFile.clear();
    showPictureState();
}

void DeseaseForm::refuse(const QString &text, QWidget *focus)
{
    Dialogs::message(this, text);
    if (focus)
        focus->setFocus();
}

bool DeseaseForm::save()
{
    DeseaseRepository repository(m_data);
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        refuse(shown(QStringLiteral("DeseaseMustHaveName"),
                     QStringLiteral("Please enter the name of the disease.")),
               m_name);
        return false;
    }
    const auto field = [](const QString &key, const QString &fallback) {
        return ClientTexts::current(key, fallback);
    };
    if (name.size() > DeseaseRepository::MaxNameLength) {
        refuse(Localization::fieldMessage(
                   shown(QStringLiteral("FieldTooLong"),
                         QStringLiteral("The field \"%1\" is too long: at most %2 characters.")),
                   field(QStringLiteral("DeseaseName"), QStringLiteral("Disease name")),
                   DeseaseRepository::MaxNameLength),
               m_name);
        return false;
    }
    QString error;
    if (repository.exists(name, &error)) {
        m_name->clear();
        refuse(shown(QStringLiteral("DeseaseAlreadyExists"),
                     QStringLiteral("A disease of this name exists already.")),
               m_name);
        return false;
    }
    if (!error.isEmpty()) {
        refuse(shown(QStringLiteral("DeseaseNotStored"),
                     QStringLiteral("The disease could not be stored."))
                   + QStringLiteral("\n") + error,
               nullptr);
        return false;
    }

    const DotsListCodec::Encoded dots = DotsListCodec::encode(m_dots->text(), m_catalogue);
    switch (dots.status) {
    case DotsListCodec::Status::Ok:
        break;
    case DotsListCodec::Status::NotLetterFirst:
        refuse(shown(QStringLiteral("IncorrectDotsList"), QStringLiteral("incorrect dots name")),
               m_dots);
        return false;
    case DotsListCodec::Status::IncorrectName:
        refuse(shown(QStringLiteral("IncorrectDotsName"), QStringLiteral("Incorrect point name."))
                   + QStringLiteral(" ") + dots.code,
               m_dots);
        return false;
    case DotsListCodec::Status::TooLong:
        refuse(shown(QStringLiteral("DotsListTooLong"),
                     QStringLiteral("The list of points is too long to be stored. Please list "
                                    "fewer points.")),
               m_dots);
        return false;
    }

    DeseaseRecord record;
    record.name = name;
    record.dots = dots.dots;
    // Rich text only when the practitioner wrote something.
    if (!m_about->toPlainText().trimmed().isEmpty())
        record.about = m_about->toHtml();
    record.plant = m_plant->toPlainText();
    if (record.plant.trimmed().isEmpty())
        record.plant.clear();
    if (!m_pictureFile.isEmpty() && QFileInfo::exists(m_pictureFile)) {
        QFile file(m_pictureFile);
        if (!file.open(QIODevice::ReadOnly)) {
            refuse(shown(QStringLiteral("PhotoNotLoaded"),
                         QStringLiteral("The picture cannot be read."))
                       + QStringLiteral("\n") + QFileInfo(m_pictureFile).fileName(),
                   nullptr);
            return false;
        }
        record.plantPicture = file.readAll();
    }

    QString column;
    const DeseaseRepository::AddResult result = repository.add(record, &error, &column);
    if (result == DeseaseRepository::AddResult::Unstorable) {
        const QString fieldName =
            column == QLatin1String("PLANT")
                ? field(QStringLiteral("PlantRecomendation"), QStringLiteral("Herbal recommendations"))
                : column == QLatin1String("DOTS")
                      ? field(QStringLiteral("DeseaseDots"), QStringLiteral("Acupuncture points"))
                      : field(QStringLiteral("DeseaseName"), QStringLiteral("Disease name"));
        refuse(shown(QStringLiteral("FieldNotStorable"),
                     QStringLiteral("The field \"%1\" holds characters the base cannot store."))
                   .arg(fieldName),
               column == QLatin1String("PLANT") ? static_cast<QWidget *>(m_plant) : m_name);
        return false;
    }
    if (result == DeseaseRepository::AddResult::Duplicate) {
        m_name->clear();
        refuse(shown(QStringLiteral("DeseaseAlreadyExists"),
                     QStringLiteral("A disease of this name exists already.")),
               m_name);
        return false;
    }
    if (result != DeseaseRepository::AddResult::Added) {
        refuse(shown(QStringLiteral("DeseaseNotStored"),
                     QStringLiteral("The disease could not be stored."))
                   + QStringLiteral("\n") + error,
               nullptr);
        return false;
    }
    m_savedName = name;
    Dialogs::message(this, shown(QStringLiteral("DeseaseAdded"),
                                 QStringLiteral("The disease has been added.")));
    accept();
    return true;
}
