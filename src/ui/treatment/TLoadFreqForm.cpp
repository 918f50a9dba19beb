#include "TLoadFreqForm.h"

#include "records/FreqDesRepository.h"

#include "TherapyTexts.h"
#include "common/Dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TLoadFreqForm::TLoadFreqForm(DataModule *data, QWidget *parent)
    : QDialog(parent)
    , m_data(data)
{
    setObjectName(QStringLiteral("TLoadFreqForm"));
    TherapyTexts::bindTitle(this, QStringLiteral("FreqImportTitle"), QStringLiteral("Import disease frequencies"));
    resize(480, 150);
    auto *grid = new QGridLayout(this);
    auto *fileCaption = new QLabel(this);
    TherapyTexts::bind(fileCaption, QStringLiteral("FileName"), QStringLiteral("File name"));
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("FileNameEdit"));
    fileCaption->setBuddy(m_file);
    auto *browseButton = new QToolButton(this);
    browseButton->setObjectName(QStringLiteral("BrowseButton"));
    TherapyTexts::bind(browseButton, QStringLiteral("Browse"), QStringLiteral("Browse..."));
    grid->addWidget(fileCaption, 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(browseButton, 0, 2);

    auto *slashCaption = new QLabel(this);
    TherapyTexts::bind(slashCaption, QStringLiteral("FreqSlash"), QStringLiteral("Frequency delimiter"));
    m_slash = new QComboBox(this);
    m_slash->setObjectName(QStringLiteral("SlashBox"));
    m_slash->addItems({QStringLiteral("comma"), QStringLiteral("apostrophe")});
    LanguageApplier::instance().bindItems(m_slash, {QStringLiteral("SlashBoxItem0"), QStringLiteral("SlashBoxItem1")});
    slashCaption->setBuddy(m_slash);
    grid->addWidget(slashCaption, 1, 0);
    grid->addWidget(m_slash, 1, 1, 1, 2);

    auto *buttons = new QHBoxLayout;
    auto *load = new QPushButton(this);
    load->setObjectName(QStringLiteral("LoadFreqButton"));
    load->setDefault(true);
    TherapyTexts::bind(load, QStringLiteral("LoadButton"), QStringLiteral("Load"));
    auto *cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    TherapyTexts::bind(cancel, QStringLiteral("Cancel"), QStringLiteral("Cancel"));
    buttons->addStretch(1);
    buttons->addWidget(load);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    connect(browseButton, &QToolButton::clicked, this, &TLoadFreqForm::browse);
    connect(load, &QPushButton::clicked, this, [this] {
        if (import())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLoadFreqForm::setFileName(const QString &path)
{
    m_file->setText(path);
}

void TLoadFreqForm::setSeparatorIndex(int index)
{
    m_slash->setCurrentIndex(index);
}

QChar TLoadFreqForm::separator() const
{
    return m_slash->currentIndex() == 1 ? QLatin1Char('\'') : QLatin1Char(',');
}

void TLoadFreqForm::browse()
{
    const QString start = m_file->text().isEmpty() ? QDir::homePath() : QFileInfo(m_file->text()).absolutePath();
    const QString path = Dialogs::openFile(this, windowTitle(), start,
                                           TherapyTexts::text(QStringLiteral("TextDocFilter"),
                                                              QStringLiteral("Text document (*.txt)")));
    if (!path.isEmpty())
        m_file->setText(path);
}

QString TLoadFreqForm::problemText(const FreqImport::LineError &error) const
{
    using P = FreqImport::Problem;
    QString reason;
    switch (error.problem) {
    case P::NoHash:
        reason = TherapyTexts::text(QStringLiteral("FreqImportNoHash"), QStringLiteral("the disease name is not followed by \"#\""));
        break;
    case P::EmptyName:
        reason = TherapyTexts::text(QStringLiteral("FreqImportNoName"), QStringLiteral("the disease name is empty"));
        break;
    case P::NameNotStorable:
        reason = TherapyTexts::text(QStringLiteral("FreqImportBadName"),
                                    QStringLiteral("the disease name is too long or holds characters the base cannot store"));
        break;
    case P::NoFrequency:
        reason = TherapyTexts::text(QStringLiteral("FreqImportNoFreq"), QStringLiteral("it holds no frequency"));
        break;
    case P::BadFrequency:
        reason = TherapyTexts::text(QStringLiteral("FreqImportBadFreq"), QStringLiteral("\"%1\" is not a frequency")).arg(error.item);
        break;
    case P::DuplicateName:
        reason = TherapyTexts::text(QStringLiteral("FreqImportTwice"), QStringLiteral("the disease \"%1\" is listed twice")).arg(error.item);
        break;
    case P::None:
        break;
    }
    return TherapyTexts::text(QStringLiteral("FreqImportBadLine"),
                              QStringLiteral("Line %1 of the file cannot be imported: %2. Nothing was imported."))
        .arg(error.line)
        .arg(reason);
}

bool TLoadFreqForm::import()
{
    const QString errorCaption = TherapyTexts::text(QStringLiteral("Error"), QStringLiteral("Error"));
    QStringList lines;
    if (m_file->text().trimmed().isEmpty() || !FreqImport::readFile(m_file->text().trimmed(), &lines)) {
        Dialogs::error(this, errorCaption,
                       TherapyTexts::text(QStringLiteral("NotFoundFile"), QStringLiteral("The file was not found."))
                           + QStringLiteral("\n") + m_file->text());
        return false;
    }
    QList<FreqImport::Entry> entries;
    FreqImport::LineError lineError;
    if (!FreqImport::parseLines(lines, separator(), &entries, &lineError)) {
        Dialogs::error(this, errorCaption, problemText(lineError));
        return false;
    }
    if (entries.isEmpty()) {
        Dialogs::error(this, errorCaption, TherapyTexts::text(QStringLiteral("FreqImportEmpty"),
                                                              QStringLiteral("The file holds no disease.")));
        return false;
    }
    // A curated list is never replaced unasked: the diseases already in the catalogue are
    // named, and without a yes only the new ones come in.
    const QStringList known = FreqDesRepository(m_data).diseases();
    QStringList present;
    for (const FreqImport::Entry &entry : std::as_const(entries)) {
        if (known.contains(entry.disease.trimmed(), Qt::CaseSensitive))
            present.append(entry.disease.trimmed());
    }
    if (!present.isEmpty()) {
        QString question = TherapyTexts::text(
            QStringLiteral("FreqImportReplace"),
            QStringLiteral("These diseases already have frequencies: %1. Replace their frequencies with the "
                           "file's? (No imports only the new diseases.)"));
        if (!question.contains(QLatin1String("%1")))
            question += QStringLiteral(" %1");
        if (!Dialogs::ask(this, question.arg(present.join(QStringLiteral(", "))))) {
            entries.removeIf([&present](const FreqImport::Entry &e) { return present.contains(e.disease.trimmed()); });
            if (entries.isEmpty()) {
                Dialogs::message(this, TherapyTexts::text(QStringLiteral("FreqImportNothingNew"),
                                                          QStringLiteral("The file holds no new disease; nothing was changed.")));
                return false;
            }
        }
    }
    QString error;
    if (!FreqImport::store(m_data, entries, &m_result, &error)) {
        Dialogs::error(this, errorCaption,
                       TherapyTexts::text(QStringLiteral("FreqImportFailed"),
                                          QStringLiteral("The frequencies could not be stored; nothing was imported."))
                           + QStringLiteral("\n") + error);
        return false;
    }
    Dialogs::message(this, TherapyTexts::text(QStringLiteral("FreqImported"),
                                              QStringLiteral("Diseases added: %1, updated: %2."))
                               .arg(m_result.added)
                               .arg(m_result.updated));
    Q_EMIT imported();
    return true;
}
