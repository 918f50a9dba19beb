#include "TLangFormMain.h"
#include "common/WindowPlacement.h"

#include "TFormSelect.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageFile.h"
#include "localization/LanguageService.h"
#include "localization/Localization.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TLangFormMain::TLangFormMain(QWidget *parent)
    : QDialog(parent)
    , m_service(new LanguageService(this))
{
    setObjectName(QStringLiteral("TLangFormMain"));
    buildWindow();
    bindTexts();

    connect(m_service, &LanguageService::listed, this, [this](const QStringList &names) {
        TFormSelect select(names, this);
        if (select.exec() == QDialog::Accepted && !select.chosen().isEmpty())
            m_service->download(select.chosen());
    });
    connect(m_service, &LanguageService::downloaded, this, [this](const QString &name) {
        Dialogs::message(this, text(QStringLiteral("LanguageLoaded"),
                                    QStringLiteral("The language file has been loaded.")));
        fillLanguages(name);
        loadLanguage(name);
    });
    connect(m_service, &LanguageService::alreadyInstalled, this, [this](const QString &name) {
        QString question = text(QStringLiteral("LanguageReplace"),
                                QStringLiteral("The language \"%1\" is installed already. Replace it with the downloaded file?"));
        if (!question.contains(QLatin1String("%1")))
            question += QStringLiteral(" %1");
        if (Dialogs::ask(this, question.arg(name)))
            m_service->download(name, true);
    });
    connect(m_service, &LanguageService::failed, this, [this](const QString &reason) {
        Dialogs::message(this, text(QStringLiteral("DownloadError"),
                                    QStringLiteral("The language file could not be loaded."))
                                   + QStringLiteral("\n") + reason);
    });

    const QString current = Localization::currentLanguage();
    fillLanguages(current);
    if (Localization::availableLanguages().isEmpty())
        Dialogs::message(this, text(QStringLiteral("LanguageNotFound"),
                                    QStringLiteral("No language file was found.")));
    loadLanguage(current);
}

QString TLangFormMain::text(const QString &key, const QString &fallback) const
{
    const QString t = Localization::Translate(key);
    return t.isEmpty() ? fallback : t;
}

void TLangFormMain::buildWindow()
{
    resize(820, 560);
    auto *page = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    m_languages = new QComboBox(this);
    m_languages->setObjectName(QStringLiteral("Languages"));
    m_languages->setMinimumContentsLength(16);
    m_loadButton = new QPushButton(this);
    m_loadButton->setObjectName(QStringLiteral("ButLoadLan"));
    m_urlButton = new QPushButton(this);
    m_urlButton->setObjectName(QStringLiteral("ButLoadURL"));
    top->addWidget(m_languages, 1);
    top->addWidget(m_loadButton);
    top->addWidget(m_urlButton);
    page->addLayout(top);

    m_strings = new QTableWidget(0, 3, this);
    m_strings->setObjectName(QStringLiteral("Strings"));
    m_strings->verticalHeader()->hide();
    m_strings->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_strings->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_strings->setSelectionMode(QAbstractItemView::SingleSelection);
    m_strings->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_strings->setWordWrap(false);
    m_strings->horizontalHeader()->setSectionResizeMode(KeyColumn, QHeaderView::Interactive);
    m_strings->horizontalHeader()->setSectionResizeMode(DefaultColumn, QHeaderView::Stretch);
    m_strings->horizontalHeader()->setSectionResizeMode(CurrentColumn, QHeaderView::Stretch);
    m_strings->setColumnWidth(KeyColumn, 170);
    page->addWidget(m_strings, 1);
    connect(m_strings, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling && item->column() == CurrentColumn)
            m_draft.setText(item->row(), item->text());
    });

    auto *find = new QHBoxLayout;
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("ToFind"));
    m_find->setClearButtonEnabled(true);
    m_findButton = new QPushButton(this);
    m_findButton->setObjectName(QStringLiteral("ButFindLan"));
    find->addWidget(m_find, 1);
    find->addWidget(m_findButton);
    page->addLayout(find);
    connect(m_find, &QLineEdit::returnPressed, this, &TLangFormMain::ButFindLanClick);
    connect(m_findButton, &QPushButton::clicked, this, &TLangFormMain::ButFindLanClick);

    auto *save = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("LanguageNameEdit"));
    m_charset = new QComboBox(this);
    m_charset->setObjectName(QStringLiteral("BoxCharset"));
    m_charset->setEditable(true);
    for (const auto &[name, value] : LanguageDraft::charsets())
        m_charset->addItem(name, value);
    m_saveButton = new QPushButton(this);
    m_saveButton->setObjectName(QStringLiteral("ButSaveLan"));
    m_revertButton = new QPushButton(this);
    m_revertButton->setObjectName(QStringLiteral("ButCancelLan"));
    save->addWidget(m_name, 1);
    save->addWidget(m_charset, 1);
    save->addWidget(m_saveButton);
    save->addWidget(m_revertButton);
    page->addLayout(save);

    auto *buttons = new QHBoxLayout;
    m_acceptButton = new QPushButton(this);
    m_acceptButton->setObjectName(QStringLiteral("ButAcceptLan"));
    m_closeButton = new QPushButton(this);
    m_closeButton->setObjectName(QStringLiteral("ButCloseLan"));
    buttons->addStretch(1);
    buttons->addWidget(m_acceptButton);
    buttons->addWidget(m_closeButton);
    page->addLayout(buttons);

    for (QPushButton *b : {m_loadButton, m_urlButton, m_findButton, m_saveButton, m_revertButton,
                           m_acceptButton, m_closeButton})
        b->setAutoDefault(false);
    connect(m_loadButton, &QPushButton::clicked, this, &TLangFormMain::ButLoadLanClick);
    connect(m_urlButton, &QPushButton::clicked, this, &TLangFormMain::ButLoadURLClick);
    connect(m_saveButton, &QPushButton::clicked, this, &TLangFormMain::ButSaveLanClick);
    connect(m_revertButton, &QPushButton::clicked, this, &TLangFormMain::ButCancelLanClick);
    connect(m_acceptButton, &QPushButton::clicked, this, &TLangFormMain::ButAcceptLanClick);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TLangFormMain::bindTexts()
{
    LanguageApplier &texts = LanguageApplier::instance();
    const QList<std::pair<QPushButton *, std::pair<const char *, const char *>>> buttons = {
        {m_findButton, {"LangEditorFind", "Find"}},
        {m_loadButton, {"LangEditorLoad", "Load"}},
        {m_urlButton, {"LangEditorLoadUrl", "Load from URL"}},
        {m_saveButton, {"LangEditorSaveAs", "Save as..."}},
        {m_revertButton, {"LangEditorRevert", "Revert changes"}},
        {m_acceptButton, {"LangEditorAccept", "Accept"}},
        {m_closeButton, {"LangEditorClose", "Cancel"}}};
    for (const auto &[button, words] : buttons) {
        QPushButton *b = button;
        texts.bindWithFallback(b, QLatin1String(words.first), QLatin1String(words.second),
                               [b](const QString &t) { b->setText(t); });
    }
    texts.bindWithFallback(this, QStringLiteral("LangEditorCaption"),
                           QStringLiteral("Language redactor"),
                           [this](const QString &t) { setWindowTitle(t); });
    const QList<std::pair<const char *, const char *>> headers = {
        {"LangEditorKey", "Key"},
        {"LangEditorDefault", "Default Value"},
        {"LangEditorCurrent", "Current Value"}};
    for (int column = 0; column < headers.size(); ++column) {
        texts.bindWithFallback(m_strings, QLatin1String(headers[column].first),
                               QLatin1String(headers[column].second),
                               [this, column](const QString &t) {
                                   m_strings->setHorizontalHeaderItem(column,
                                                                      new QTableWidgetItem(t));
                               });
    }
    texts.bindWithFallback(m_find, QStringLiteral("LangEditorFindHint"),
                           QStringLiteral("Text to find"),
                           [this](const QString &t) { m_find->setPlaceholderText(t); });
    texts.bindWithFallback(m_name, QStringLiteral("LangEditorNameHint"),
                           QStringLiteral("Name of the language"),
                           [this](const QString &t) {
                               m_name->setPlaceholderText(t);
                               m_name->setToolTip(t);
                           });
}

void TLangFormMain::fillLanguages(const QString &select)
{
    m_languages->clear();
    for (const QString &name : Localization::availableLanguages()) {
        const QString shown = LanguageFile(Localization::languageFilePath(name)).displayName();
        m_languages->addItem(shown.isEmpty() || shown == name ? name
                                                              : shown + QStringLiteral(" (") + name
                                                                    + QLatin1Char(')'),
                             name);
    }
    for (int i = 0; i < m_languages->count(); ++i) {
        if (m_languages->itemData(i).toString().compare(select, Qt::CaseInsensitive) == 0)
            m_languages->setCurrentIndex(i);
    }
}

void TLangFormMain::loadLanguage(const QString &name)
{
    const QString path = Localization::languageFilePath(name);
    m_draft = !path.isEmpty() && QFileInfo::exists(path) ? LanguageDraft::load(name)
                                                          : LanguageDraft::fromEnglish();
    m_name->setText(m_draft.languageName());
    const int index = m_charset->findData(m_draft.charset());
    if (index >= 0)
        m_charset->setCurrentIndex(index);
    else
        m_charset->setEditText(QString::number(m_draft.charset()));
    fillGrid();
}

void TLangFormMain::fillGrid()
{
    m_filling = true;
    const QList<LanguageDraft::Row> &rows = m_draft.rows();
    m_strings->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const LanguageDraft::Row &r = rows[row];
        const QStringList cells = {r.key, r.englishText, r.text};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            if (column != CurrentColumn)
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_strings->setItem(row, column, item);
        }
    }
    m_filling = false;
}

void TLangFormMain::ButFindLanClick()
{
    const int row = m_draft.findNext(m_find->text(), m_strings->currentRow());
    if (row >= 0)
        m_strings->setCurrentCell(row, CurrentColumn);
}

void TLangFormMain::ButLoadLanClick()
{
    if (m_draft.isChanged()
        && !Dialogs::ask(this, text(QStringLiteral("ChangesWillBeLostAreYouSure"),
                                    QStringLiteral("The changes will be lost. Are you sure?"))))
        return;
    loadLanguage(m_languages->currentData().toString());
}

void TLangFormMain::ButLoadURLClick()
{
    m_service->fetchList();
}

std::optional<int> TLangFormMain::chosenCharset()
{
    // A name chosen from the list carries its number; a typed value must be one.
    const int index = m_charset->findText(m_charset->currentText());
    const std::optional<int> value = index >= 0 ? std::optional<int>(m_charset->itemData(index).toInt())
                                                : LanguageDraft::parseCharset(m_charset->currentText());
    if (!value)
        Dialogs::message(this, text(QStringLiteral("NotIntegerValue"),
                                    QStringLiteral("Not Integer value")));
    return value;
}

void TLangFormMain::ButSaveLanClick()
{
    const std::optional<int> charset = chosenCharset();
    if (!charset)
        return;
    QString error;
    if (!m_draft.saveAs(m_name->text(), *charset, &error)) {
        Dialogs::message(this, error);
        return;
    }
    fillLanguages(m_draft.languageName());
}

void TLangFormMain::ButCancelLanClick()
{
    if (!Dialogs::ask(this, text(QStringLiteral("ChangesWillBeLostAreYouSure"),
                                 QStringLiteral("The changes will be lost. Are you sure?"))))
        return;
    loadLanguage(m_draft.languageName().isEmpty() ? m_languages->currentData().toString()
                                                  : m_draft.languageName());
}

void TLangFormMain::ButAcceptLanClick()
{
    if (m_draft.isChanged() || m_draft.languageName().isEmpty()) {
        if (!Dialogs::ask(this, text(QStringLiteral("DoYouWantToSaveData"),
                                     QStringLiteral("Do you want to save the changes?")))) {
            if (m_draft.languageName().isEmpty())
                return; // nothing on disk to make current
        } else {
            ButSaveLanClick();
            if (m_draft.isChanged())
                return; // the save was refused and said why
        }
    }
    QString error;
    if (!Localization::setCurrentLanguage(m_draft.languageName(), &error)) {
        Dialogs::message(this, text(QStringLiteral("LanguageNotFound"), error));
        return;
    }
    Q_EMIT languageAccepted(m_draft.languageName());
    accept();
}

void TLangFormMain::showEvent(QShowEvent *event)
{
    // Over the window it was opened from, and never larger than the screen.
    if (!m_placed) {
        m_placed = true;
        WindowPlacement::centreOver(this, parentWidget() ? parentWidget()->window() : nullptr);
    }
    QDialog::showEvent(event);
}
