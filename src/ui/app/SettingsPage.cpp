#include "SettingsPage.h"

#include "InstallationImportButton.h"
#include "common/TableFit.h"

#include "localization/TLangFormMain.h"
#include "SharedBaseBox.h"

#include "app/AppPaths.h"
#include "app/MeasuringOrder.h"
#include "app/PasswordCopy.h"
#include "app/SettingsValues.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageFile.h"
#include "localization/Localization.h"
#include "records/DataModule.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {


enum Column { NumberColumn = 0, CodeColumn, NameColumn, LeftColumn, RightColumn, ColumnCount };

// The editor of an order cell takes digits only, at most two.
class OrderCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]{0,2}")), line));
            line->setAlignment(Qt::AlignCenter);
        }
        return editor;
    }
};

QString optionsPath()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

// The match and mismatch marks beside the password edits.
QPixmap markPixmap(bool match)
{
    constexpr int size = 16;
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap(int(size * ratio), int(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(match ? QColor(0x2e, 0x9d, 0x4a) : QColor(0xd0, 0x3b, 0x32));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    QPen pen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (match) {
        QPainterPath tick;
        tick.moveTo(4.2, 8.4);
        tick.lineTo(7.0, 11.0);
        tick.lineTo(11.8, 5.2);
        painter.drawPath(tick);
    } else {
        painter.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
        painter.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
    }
    return pixmap;
}

QLabel *makeMark(QWidget *parent, const QString &name, bool match)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(markPixmap(match));
    label->setFixedSize(18, 18);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A message looked up when it is shown; `fallback` when neither language file has it.

} // namespace

SettingsPage::SettingsPage(DataModule *data, QWidget *parent)
    : WorkPage(QStringLiteral("SettingsPanel"), parent)
    , m_data(data)
{
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(10, 8, 10, 8);
    page->setSpacing(8);

    // The three columns scroll when a large font makes them taller or wider than the window;
    // the buttons below always stay in sight.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SettingsScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->viewport()->setAutoFillBackground(false);
    auto *content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("SettingsContent"));
    scroll->setWidget(content);
    auto *columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(10);
    columns->addWidget(buildMeridianBox(), 36);
    auto *middle = new QVBoxLayout;
    middle->setSpacing(8);
    middle->addWidget(buildTestBox());
    middle->addWidget(buildPasswordBox());
    middle->addWidget(buildLanguageBox());
    m_sharedBase = new SharedBaseBox(this);
    middle->addWidget(m_sharedBase);
    middle->addStretch(1);
    columns->addLayout(middle, 31);
    columns->addWidget(buildFrequencyBox(), 33);
    page->addWidget(scroll, 1);

    auto *buttons = new QHBoxLayout;
    m_calibrateButton = new QPushButton(this);
    m_calibrateButton->setObjectName(QStringLiteral("CalibrateBtn"));
    m_calibrateButton->setAutoDefault(false);
    m_saveButton = new QPushButton(this);
    m_saveButton->setObjectName(QStringLiteral("SaveSettings"));
    m_saveButton->setAutoDefault(false);
    for (QPushButton *button : {m_calibrateButton, m_saveButton})
        button->setMinimumWidth(120);
    buttons->addWidget(m_calibrateButton);
    auto *importButton = new InstallationImportButton(m_data, this);
    buttons->addWidget(importButton);
    connect(importButton, &InstallationImportButton::imported, this, [this](const QString &language) {
        load();
        Q_EMIT settingsSaved();
        Q_EMIT languageChosen(language);
    });
    buttons->addStretch(1);
    buttons->addWidget(m_saveButton);
    page->addLayout(buttons);

    connect(m_saveButton, &QPushButton::clicked, this, &SettingsPage::save);
    connect(m_calibrateButton, &QPushButton::clicked, this, &SettingsPage::calibrateRequested);
    setCalibrationAvailable(false);

    if (m_data) {
        connect(m_data, &DataModule::opened, this, [this] {
            m_baseClosing = false;
            updateEditorState();
            if (isVisible())
                fillDiseases();
        });
        connect(m_data, &DataModule::aboutToClose, this, &SettingsPage::baseAboutToClose);
    }

    bindTexts();
    load();
    updateEditorState();
}

QWidget *SettingsPage::buildMeridianBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("MeridianBox"));
    m_meridianBox = box;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);

    // The headings are the table's own header, so the twelve meridian rows are rows 0-11.
    m_grid = new QTableWidget(MeasuringOrder::Rows, ColumnCount, box);
    m_grid->setObjectName(QStringLiteral("MeridianNameGrid"));
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    auto *delegate = new OrderCellDelegate(m_grid);
    m_grid->setItemDelegateForColumn(LeftColumn, delegate);
    m_grid->setItemDelegateForColumn(RightColumn, delegate);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setHighlightSections(false);
    m_grid->setColumnWidth(NumberColumn, 34);
    m_grid->setColumnWidth(CodeColumn, 38);
    m_grid->setColumnWidth(LeftColumn, 60);
    m_grid->setColumnWidth(RightColumn, 60);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setMinimumSectionSize(20);

    for (int row = 0; row < MeasuringOrder::Rows; ++row) {
        auto *number = new QTableWidgetItem(QString::number(row + 1));
        auto *code = new QTableWidgetItem(MeasuringOrder::rowCode(row + 1));
        for (QTableWidgetItem *fixed : {number, code}) {
            fixed->setFlags(Qt::ItemIsEnabled);
            fixed->setTextAlignment(Qt::AlignCenter);
            fixed->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        }
        m_grid->setItem(row, NumberColumn, number);
        m_grid->setItem(row, CodeColumn, code);
        m_grid->setItem(row, NameColumn, new QTableWidgetItem);
        for (const int column : {LeftColumn, RightColumn}) {
            auto *order = new QTableWidgetItem;
            order->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(row, column, order);
        }
    }
    layout->addWidget(m_grid);
    return box;
}

QWidget *SettingsPage::buildTestBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("TestBox"));
    m_testBox = box;
    auto *form = new QFormLayout(box);
    form->setContentsMargins(8, 6, 8, 8);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    m_sound = new QCheckBox(box);
    m_sound->setObjectName(QStringLiteral("SoundSignalCheck"));
    form->addRow(m_sound);

    m_percent = new QSpinBox(box);
    m_percent->setObjectName(QStringLiteral("MiddlePercent"));
    m_percent->setRange(SettingsValues::MinPercent, SettingsValues::MaxPercent);
    m_percent->setSuffix(QStringLiteral(" %"));
    m_percent->setMaximumWidth(80);
    m_percentLabel = new QLabel(box);
    m_percentLabel->setBuddy(m_percent);
    form->addRow(m_percentLabel, m_percent);

    m_testInfo = new QLineEdit(box);
    m_testInfo->setObjectName(QStringLiteral("TestDopInfo"));
    m_testInfoLabel = new QLabel(box);
    m_testInfoLabel->setBuddy(m_testInfo);
    form->addRow(m_testInfoLabel);
    form->addRow(m_testInfo);
    return box;
}

QWidget *SettingsPage::buildPasswordBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("StartPasswordBox"));
    m_passwordBox = box;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);

    m_askPassword = new QCheckBox(box);
    m_askPassword->setObjectName(QStringLiteral("PasswordBox"));
    grid->addWidget(m_askPassword, 0, 0, 1, 3);

    auto passwordEdit = [box](const QString &name) {
        auto *edit = new QLineEdit(box);
        edit->setObjectName(name);
        edit->setEchoMode(QLineEdit::Password);
        edit->setMinimumWidth(90);
        return edit;
    };
    m_oldPassword = passwordEdit(QStringLiteral("OldPasswordEdit"));
    m_newPassword = passwordEdit(QStringLiteral("NewPasswordEdit"));
    m_confirm = passwordEdit(QStringLiteral("ConfirmEdit"));
    m_oldLabel = new QLabel(box);
    m_newLabel = new QLabel(box);
    m_confirmLabel = new QLabel(box);
    m_oldLabel->setBuddy(m_oldPassword);
    m_newLabel->setBuddy(m_newPassword);
    m_confirmLabel->setBuddy(m_confirm);

    // Each pair of marks shares one place; exactly one of them shows.
    m_oldMatch = makeMark(box, QStringLiteral("OldPasswordImage1"), true);
    m_oldMismatch = makeMark(box, QStringLiteral("OldPasswordImage2"), false);
    m_confirmMatch = makeMark(box, QStringLiteral("ConfirmImage1"), true);
    m_confirmMismatch = makeMark(box, QStringLiteral("ConfirmImage2"), false);
    auto markPlace = [box](QLabel *a, QLabel *b) {
        auto *place = new QWidget(box);
        auto *stack = new QHBoxLayout(place);
        stack->setContentsMargins(0, 0, 0, 0);
        stack->setSpacing(0);
        a->setParent(place);
        b->setParent(place);
        stack->addWidget(a);
        stack->addWidget(b);
        place->setFixedWidth(18);
        return place;
    };

    grid->addWidget(m_oldLabel, 1, 0);
    grid->addWidget(m_oldPassword, 1, 1);
    grid->addWidget(markPlace(m_oldMatch, m_oldMismatch), 1, 2);
    grid->addWidget(m_newLabel, 2, 0);
    grid->addWidget(m_newPassword, 2, 1);
    grid->addWidget(m_confirmLabel, 3, 0);
    grid->addWidget(m_confirm, 3, 1);
    grid->addWidget(markPlace(m_confirmMatch, m_confirmMismatch), 3, 2);
    grid->setColumnStretch(1, 1);

    connect(m_oldPassword, &QLineEdit::textChanged, this, &SettingsPage::updateOldIndicator);
    connect(m_confirm, &QLineEdit::textChanged, this, &SettingsPage::updateConfirmIndicator);
    // The confirmation is compared again when the new password changes after it, so the mark
    // never vouches for a text it has not seen.
    connect(m_newPassword, &QLineEdit::textChanged, this, &SettingsPage::updateConfirmIndicator);
    return box;
}

QWidget *SettingsPage::buildLanguageBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("LanguageGroup"));
    m_languageBox = box;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);
    m_languages = new QComboBox(box);
    m_languages->setObjectName(QStringLiteral("LanguageBox"));
    m_languages->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_languages->setMinimumContentsLength(12);
    layout->addWidget(m_languages, 1);
    m_langEditButton = new QPushButton(box);
    m_langEditButton->setObjectName(QStringLiteral("LangEditButton"));
    m_langEditButton->setAutoDefault(false);
    layout->addWidget(m_langEditButton);
    connect(m_languages, &QComboBox::activated, this, &SettingsPage::chooseLanguage);
    connect(m_langEditButton, &QPushButton::clicked, this, &SettingsPage::editLanguages);
    fillLanguages();
    return box;
}

void SettingsPage::bindTexts()
{
    LanguageApplier &texts = LanguageApplier::instance();
    auto title = [](QWidget *box) {
        return [box](const QString &t) { static_cast<QGroupBox *>(box)->setTitle(t); };
    };
    LanguageApplier::instance().bindWithFallback(m_meridianBox, QStringLiteral("SettingsMeridians"),
                                                 QStringLiteral("Meridians and measuring order"),
                                                 title(m_meridianBox));
    texts.bindTitle(static_cast<QGroupBox *>(m_testBox), QStringLiteral("TestSection"));
    LanguageApplier::instance().bindWithFallback(m_passwordBox, QStringLiteral("SettingsPassword"),
                                                 QStringLiteral("Start password"),
                                                 title(m_passwordBox));
    LanguageApplier::instance().bindWithFallback(
        m_langEditButton, QStringLiteral("LangEditButton"), QStringLiteral("Edit..."),
        [this](const QString &t) { m_langEditButton->setText(t); });
    LanguageApplier::instance().bindWithFallback(m_languageBox, QStringLiteral("SettingsLanguage"),
                                                 QStringLiteral("Interface language"),
                                                 title(m_languageBox));
    LanguageApplier::instance().bindWithFallback(
        m_frequencyBox, QStringLiteral("SettingsFrequencies"),
        QStringLiteral("Frequencies by disease"), title(m_frequencyBox));

    // A meridian without a name of its own shows the interface language's name for it and
    // follows the language; a name typed over it is the practitioner's and stays.
    for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
        const QString key = QStringLiteral("MerName") + MeasuringOrder::rowCode(row).toUpper();
        LanguageApplier::instance().bind(m_grid, key, [this, row](const QString &name) {
            QTableWidgetItem *item = m_grid->item(row - 1, NameColumn);
            QString &shown = m_defaultNames[size_t(row - 1)];
            if (item->text().isEmpty() || item->text() == shown)
                item->setText(name);
            shown = name;
            TableFit::keepColumnReadable(m_grid, NameColumn);
        });
    }

    texts.bindHeaders(m_grid, Qt::Horizontal,
                      {QStringLiteral("NumMer"), QString(), QStringLiteral("NameMer"),
                       QStringLiteral("Left2"), QStringLiteral("Right2")});
    // The code column has no heading of its own; an empty one keeps Qt's "2" away.
    m_grid->setHorizontalHeaderItem(CodeColumn, new QTableWidgetItem(QString()));

    texts.bindText(m_sound, QStringLiteral("SoundSignal"));
    LanguageApplier::instance().bindWithFallback(
        m_percentLabel, QStringLiteral("MiddleLine"), QStringLiteral("Corridor around the mean"),
        [this](const QString &t) { m_percentLabel->setText(t); });
    texts.bindText(m_testInfoLabel, QStringLiteral("DopInfo"));

    texts.bindText(m_askPassword, QStringLiteral("FixPassword"));
    texts.bindText(m_oldLabel, QStringLiteral("OldPassword"));
    texts.bindText(m_newLabel, QStringLiteral("NewPassword"));
    texts.bindText(m_confirmLabel, QStringLiteral("ConfirmPassword"));
    texts.bindToolTip(m_languages, QStringLiteral("SelectLanguage"));

    texts.bindText(m_saveButton, QStringLiteral("Save"));
    LanguageApplier::instance().bindWithFallback(
        m_calibrateButton, QStringLiteral("Correct"), QStringLiteral("Calibration"),
        [this](const QString &t) { m_calibrateButton->setText(t); });

    texts.bindText(m_diseaseLabel, QStringLiteral("DeseaseList"));
    texts.bindText(m_freqLabel, QStringLiteral("FreqList"));
    texts.bindText(m_memoLabel, QStringLiteral("Comment"));
    texts.bindToolTip(m_addDiseaseButton, QStringLiteral("Add"));
    texts.bindToolTip(m_addFreqButton, QStringLiteral("Add"));
    texts.bindToolTip(m_deleteDiseaseButton, QStringLiteral("DeleteButton"));
    texts.bindToolTip(m_deleteFreqButton, QStringLiteral("DeleteButton"));
    texts.bindToolTip(m_addDisease, QStringLiteral("DeseaseName"));
    texts.bindToolTip(m_addFreq, QStringLiteral("Frequency"));
}

void SettingsPage::setCalibrationAvailable(bool available)
{
    m_calibrateButton->setEnabled(available);
    // Until the correction window is wired the button says why it does nothing.
    m_calibrateButton->setToolTip(
        available ? QString() : QStringLiteral("The calibration window is not available yet."));
}

QString SettingsPage::shown(const QString &key, const QString &fallback)
{
    return Localization::translateOr(key, fallback);
}

// ---- Loading and saving ---------------------------------------------------------------------

void SettingsPage::load()
{
    // The memo is about to show the treatment note again: the selected disease's comment is
    // stored first and the disease let go, so the note is never taken for its comment.
    storeComment();
    if (m_diseaseList->currentRow() >= 0) {
        m_filling = true;
        m_diseaseList->setCurrentRow(-1);
        m_filling = false;
    }
    m_selectedDisease.clear();
    m_loadedComment.clear();
    m_freqList->clear();

    const IniFile ini(optionsPath());
    const SettingsValues values = SettingsValues::load(ini);
    for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
        const QString &name = values.meridianNames[size_t(row - 1)];
        m_grid->item(row - 1, NameColumn)
            ->setText(name.isEmpty() ? m_defaultNames[size_t(row - 1)] : name);
        m_grid->item(row - 1, LeftColumn)
            ->setText(values.order.text({row, MeasuringOrder::Left}).trimmed());
        m_grid->item(row - 1, RightColumn)
            ->setText(values.order.text({row, MeasuringOrder::Right}).trimmed());
    }
    TableFit::keepColumnReadable(m_grid, NameColumn);
    m_percent->setValue(values.middlePercent);
    m_askPassword->setChecked(values.askPassword);
    m_sound->setChecked(values.soundSignal);
    m_testInfo->setText(values.testInfo);
    m_memo->setPlainText(values.treatmentInfo);

    // When Options.ini has lost the password, the copy kept beside it is what guards the
    // start; the page shows it and writes it back with the next save.
    m_password = PasswordCopy::load(optionsPath(), &m_passwordFromCopy);
    if (m_passwordFromCopy)
        m_askPassword->setChecked(m_password.required());
    showPasswordState();
    if (m_sharedBase)
        m_sharedBase->load();
    updateEditorState();
}

void SettingsPage::showPasswordState()
{
    for (QLineEdit *edit : {m_oldPassword, m_newPassword, m_confirm}) {
        const QSignalBlocker blocker(edit);
        edit->clear();
    }
    // Without a stored password there is no old one to give.
    m_oldPassword->setEnabled(m_password.isSet());
    updateOldIndicator();
    updateConfirmIndicator();
}

void SettingsPage::updateOldIndicator()
{
    if (!m_password.isSet()) {
        showOldMatch(true);
        return;
    }
    // Nothing typed yet (after a save, say) is neither right nor wrong: no mark.
    if (m_oldPassword->text().isEmpty()) {
        m_oldMatch->hide();
        m_oldMismatch->hide();
        return;
    }
    // Checking a stored hash is deliberately slow (tens of milliseconds), so it runs beside
    // the typing; the mark says "no" until the check of the text still in the field says yes.
    showOldMatch(false);
    const QString entered = m_oldPassword->text();
    auto *watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher, entered] {
        if (entered == m_oldPassword->text())
            showOldMatch(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(
        QtConcurrent::run([password = m_password, entered] { return password.matches(entered); }));
}

void SettingsPage::showOldMatch(bool match)
{
    m_oldMatch->setVisible(match);
    m_oldMismatch->setVisible(!match);
}

void SettingsPage::updateConfirmIndicator()
{
    const bool match = m_newPassword->text() == m_confirm->text();
    m_confirmMatch->setVisible(match);
    m_confirmMismatch->setVisible(!match);
}

void SettingsPage::save()
{
    // A comment being written in the memo is kept as well, not only at the next selection.
    storeComment();

    SettingsValues values;
    for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
        const QString name = m_grid->item(row - 1, NameColumn)->text();
        values.meridianNames[size_t(row - 1)] =
            name == m_defaultNames[size_t(row - 1)] ? QString() : name;
        values.order.setText({row, MeasuringOrder::Left},
                             m_grid->item(row - 1, LeftColumn)->text());
        values.order.setText({row, MeasuringOrder::Right},
                             m_grid->item(row - 1, RightColumn)->text());
    }
    values.middlePercent = m_percent->value();
    values.askPassword = m_askPassword->isChecked();
    values.soundSignal = m_sound->isChecked();
    values.testInfo = m_testInfo->text();
    values.treatmentInfo = m_memo->toPlainText();

    // Decided from the texts themselves, not from the marks, so no stale mark can let an
    // unconfirmed password through.
    const bool oldMatches = !m_password.isSet() || m_password.matches(m_oldPassword->text());
    const bool confirmed = m_newPassword->text() == m_confirm->text();
    const bool changeWanted = !m_newPassword->text().isEmpty() || !m_confirm->text().isEmpty();
    bool passwordRefused = false;
    if (oldMatches && confirmed)
        values.passwordValue = StartPassword::valueFor(m_newPassword->text());
    else if (m_password.isLegacyPlainText() || m_passwordFromCopy)
        values.passwordValue = m_password.valueToKeep();
    if (!(oldMatches && confirmed) && changeWanted)
        passwordRefused = true;

    IniFile ini(optionsPath());
    const SettingsValues::SaveResult result = values.save(ini);
    m_sharedBase->writeTo(ini);
    QString error;
    if (!ini.save(&error)) {
        Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    if (!result.orderWritten) {
        const MeasuringOrder::Check check = values.order.check();
        m_grid->setCurrentCell(check.cell.row - 1,
                               check.cell.side == MeasuringOrder::Left ? LeftColumn : RightColumn);
        Dialogs::message(this, shown(QStringLiteral("IncorrectOrder")));
    }
    if (passwordRefused)
        Dialogs::message(this, shown(QStringLiteral("IncorrectPassword")));
    if (values.passwordValue && values.passwordValue->isEmpty())
        PasswordCopy::forget(optionsPath());
    else
        PasswordCopy::update(optionsPath());
    if (values.passwordValue) {
        m_passwordFromCopy = false;
        m_password = StartPassword::load(ini);
        if (oldMatches && confirmed)
            showPasswordState();
    }
    Q_EMIT settingsSaved();
    Dialogs::message(this, shown(QStringLiteral("SettingsChanged")));
}

// ---- Language -------------------------------------------------------------------------------

void SettingsPage::fillLanguages()
{
    const QString current = Localization::currentLanguage();
    const QSignalBlocker blocker(m_languages);
    m_languages->clear();
    // Each language is listed by its own name for itself ("Русский"); the file name is what
    // Options.ini keeps.
    for (const QString &name : Localization::availableLanguages()) {
        const QString shown = LanguageFile(Localization::languageFilePath(name)).displayName();
        m_languages->addItem(shown.isEmpty() ? name : shown, name);
    }
    int index = -1;
    for (int i = 0; i < m_languages->count(); ++i) {
        if (QString::compare(m_languages->itemData(i).toString(), current, Qt::CaseInsensitive)
            == 0)
            index = i;
    }
    m_languages->setCurrentIndex(index);
}

void SettingsPage::editLanguages()
{
    TLangFormMain editor(this);
    connect(&editor, &TLangFormMain::languageAccepted, this, [this](const QString &name) {
        fillLanguages();
        Q_EMIT languageChosen(name);
    });
    editor.exec();
    fillLanguages(); // a language saved or fetched there is listed here too
}

void SettingsPage::chooseLanguage(int index)
{
    if (index < 0)
        return;
    const QString name = m_languages->itemData(index).toString();
    QString error;
    if (!Localization::setCurrentLanguage(name, &error)) {
        Dialogs::message(this, shown(QStringLiteral("LanguageNotFound"), error));
        fillLanguages();
        return;
    }
    Q_EMIT languageChosen(name);
}

QString SettingsPage::percentText() const
{
    return m_percent->cleanText();
}

bool SettingsPage::soundSignal() const
{
    return m_sound->isChecked();
}
