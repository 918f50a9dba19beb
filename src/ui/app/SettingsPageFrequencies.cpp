// The settings page's frequency lists of the diseases: the list of diseases with their
// comments, and the frequencies of the chosen one.
#include "common/TableFit.h"
#include "SettingsPage.h"

#include "localization/TLangFormMain.h"
#include "SharedBaseBox.h"

#include "app/AppPaths.h"
#include "app/MeasuringOrder.h"
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


constexpr double kMinFrequency = 0.01;
constexpr double kMaxFrequency = 10000.0;

// The add and delete pictures of the two lists.
QIcon listButtonIcon(bool add)
{
    QIcon icon;
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        constexpr int size = 16;
        const qreal ratio = qApp->devicePixelRatio();
        QPixmap pixmap(int(size * ratio), int(size * ratio));
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor colour = add ? QColor(0x2e, 0x7d, 0x32) : QColor(0xc6, 0x28, 0x28);
        if (mode == QIcon::Disabled)
            colour = QColor(0xb0, 0xb4, 0xb8);
        painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(3, 8), QPointF(13, 8));
        if (add)
            painter.drawLine(QPointF(8, 3), QPointF(8, 13));
        painter.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

// A frequency as typed ("12,5" or "12.5"), in 0.01 steps, written with a point as the
// frequency lists keep it; empty when the text is no usable frequency.
QString frequencyText(const QString &typed)
{
    QString text = typed.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return QString();
    const double rounded = std::round(value * 100.0) / 100.0;
    if (rounded < kMinFrequency || rounded > kMaxFrequency)
        return QString();
    QString result = QString::number(rounded, 'f', 2);
    while (result.endsWith(QLatin1Char('0')))
        result.chop(1);
    if (result.endsWith(QLatin1Char('.')))
        result.chop(1);
    return result;
}

// The first row whose text contains `text`, letter case aside; -1 when none does.
int firstRowContaining(const QListWidget *list, const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().contains(text, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

} // namespace

QWidget *SettingsPage::buildFrequencyBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("FrequencyBox"));
    m_frequencyBox = box;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(5);

    auto *lists = new QHBoxLayout;
    lists->setSpacing(8);
    auto listColumn = [box](QLabel **label, QListWidget **list, const QString &listName,
                            QLineEdit **edit, const QString &editName, QToolButton **add,
                            const QString &addName, QToolButton **remove,
                            const QString &removeName) {
        auto *column = new QVBoxLayout;
        column->setSpacing(4);
        *label = new QLabel(box);
        *list = new QListWidget(box);
        (*list)->setObjectName(listName);
        (*list)->setSelectionMode(QAbstractItemView::SingleSelection);
        (*list)->setMinimumWidth(100);
        (*label)->setBuddy(*list);
        *edit = new QLineEdit(box);
        (*edit)->setObjectName(editName);
        *add = new QToolButton(box);
        (*add)->setObjectName(addName);
        (*add)->setIcon(listButtonIcon(true));
        *remove = new QToolButton(box);
        (*remove)->setObjectName(removeName);
        (*remove)->setIcon(listButtonIcon(false));
        auto *row = new QHBoxLayout;
        row->setSpacing(3);
        row->addWidget(*edit, 1);
        for (QToolButton *button : {*add, *remove}) {
            button->setIconSize(QSize(16, 16));
            button->setAutoRaise(true);
            row->addWidget(button);
        }
        column->addWidget(*label);
        column->addWidget(*list, 1);
        column->addLayout(row);
        return column;
    };
    lists->addLayout(listColumn(&m_diseaseLabel, &m_diseaseList, QStringLiteral("DeseaseList"),
                                &m_addDisease, QStringLiteral("AddDeseaseEdit"),
                                &m_addDiseaseButton, QStringLiteral("AddDeseaseBtn"),
                                &m_deleteDiseaseButton, QStringLiteral("DeleteDeseaseBtn")),
                     3);
    lists->addLayout(listColumn(&m_freqLabel, &m_freqList, QStringLiteral("FreqListBox"),
                                &m_addFreq, QStringLiteral("AddFreqEdit"), &m_addFreqButton,
                                QStringLiteral("AddFreqBtn"), &m_deleteFreqButton,
                                QStringLiteral("DeleteFreqBtn")),
                     2);
    m_addFreq->setPlaceholderText(QStringLiteral("12.5"));
    m_addFreq->setMaxLength(12);
    layout->addLayout(lists, 1);

    m_memoLabel = new QLabel(box);
    m_memo = new QPlainTextEdit(box);
    m_memo->setObjectName(QStringLiteral("DesCommentMemo"));
    m_memo->setTabChangesFocus(true);
    m_memo->setFixedHeight(96);
    m_memoLabel->setBuddy(m_memo);
    layout->addWidget(m_memoLabel);
    layout->addWidget(m_memo);

    connect(m_diseaseList, &QListWidget::currentRowChanged, this, &SettingsPage::diseaseRowChanged);
    connect(m_freqList, &QListWidget::currentRowChanged, this, [this] { updateEditorState(); });
    connect(m_addDiseaseButton, &QToolButton::clicked, this, &SettingsPage::addDisease);
    connect(m_deleteDiseaseButton, &QToolButton::clicked, this, &SettingsPage::deleteDisease);
    connect(m_addFreqButton, &QToolButton::clicked, this, &SettingsPage::addFrequency);
    connect(m_deleteFreqButton, &QToolButton::clicked, this, &SettingsPage::deleteFrequency);
    connect(m_addDisease, &QLineEdit::returnPressed, this, &SettingsPage::addDisease);
    connect(m_addFreq, &QLineEdit::returnPressed, this, &SettingsPage::addFrequency);
    // Typing finds the first entry that contains the text.
    connect(m_addDisease, &QLineEdit::textEdited, this, [this](const QString &text) {
        const int row = firstRowContaining(m_diseaseList, text.trimmed());
        if (row >= 0)
            m_diseaseList->setCurrentRow(row);
    });
    connect(m_addFreq, &QLineEdit::textEdited, this, [this](const QString &text) {
        const int row = firstRowContaining(m_freqList, text.trimmed());
        if (row >= 0)
            m_freqList->setCurrentRow(row);
    });
    return box;
}
// ---- Frequency lists of the diseases --------------------------------------------------------

void SettingsPage::enter()
{
    fillLanguages();
    updateEditorState();
    fillDiseases(m_selectedDisease);
}

void SettingsPage::leave()
{
    storeComment();
}

void SettingsPage::updateEditorState()
{
    const bool base = baseAvailable();
    const bool disease = base && !m_selectedDisease.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(m_diseaseList), static_cast<QWidget *>(m_addDisease),
                       static_cast<QWidget *>(m_addDiseaseButton)})
        w->setEnabled(base);
    m_deleteDiseaseButton->setEnabled(disease);
    m_freqList->setEnabled(disease);
    m_addFreq->setEnabled(disease);
    m_addFreqButton->setEnabled(disease);
    m_deleteFreqButton->setEnabled(disease && m_freqList->currentRow() >= 0);
}

void SettingsPage::fillDiseases(const QString &select)
{
    storeComment();
    QStringList names;
    if (baseAvailable()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QString error;
        names = repo().diseases(&error);
        QApplication::restoreOverrideCursor();
        if (!error.isEmpty())
            Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
    }
    const int row = select.isEmpty() ? -1 : int(names.indexOf(select));
    m_filling = true;
    m_diseaseList->clear();
    m_diseaseList->addItems(names);
    m_diseaseList->setCurrentRow(row);
    m_filling = false;
    m_selectedDisease = row >= 0 ? select : QString();
    loadSelectedDisease();
}

void SettingsPage::diseaseRowChanged(int row)
{
    if (m_filling)
        return;
    storeComment();
    QListWidgetItem *item = row >= 0 ? m_diseaseList->item(row) : nullptr;
    m_selectedDisease = item ? item->text() : QString();
    loadSelectedDisease();
}

void SettingsPage::loadSelectedDisease()
{
    m_freqList->clear();
    m_loadedComment.clear();
    if (!m_selectedDisease.isEmpty() && baseAvailable()) {
        QString error;
        m_freqList->addItems(repo().frequencies(m_selectedDisease, &error));
        if (m_freqList->count() > 0)
            m_freqList->setCurrentRow(0);
        m_loadedComment = repo().comment(m_selectedDisease);
        m_memo->setPlainText(m_loadedComment);
    }
    updateEditorState();
}

void SettingsPage::storeComment()
{
    if (m_selectedDisease.isEmpty() || !baseAvailable())
        return;
    const QString text = m_memo->toPlainText();
    if (text.trimmed() == m_loadedComment)
        return;
    QString error;
    if (!repo().setComment(m_selectedDisease, text, &error)) {
        Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    m_loadedComment = text.trimmed();
}

void SettingsPage::addDisease()
{
    if (!baseAvailable())
        return;
    storeComment();
    const QString name = m_addDisease->text().trimmed();
    QString error;
    switch (repo().addDisease(name, &error)) {
    case FreqDesRepository::AddResult::Added:
        break;
    case FreqDesRepository::AddResult::EmptyName:
        Dialogs::message(this, shown(QStringLiteral("DeseaseMustHaveName"), error));
        return;
    case FreqDesRepository::AddResult::Duplicate:
        Dialogs::message(this, shown(QStringLiteral("DeseaseAlreadyExists"), error));
        return;
    case FreqDesRepository::AddResult::Unstorable:
        Dialogs::message(this, LanguageApplier::instance().text(QStringLiteral("IncorRecord"))
                                   + QLatin1Char('\n') + error);
        return;
    case FreqDesRepository::AddResult::Failed:
        Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    m_addDisease->clear();
    // The new disease becomes the selected one, so the emptied memo is its comment and can
    // never overwrite the comment of the disease selected before.
    m_selectedDisease.clear();
    m_memo->clear();
    fillDiseases(name);
}

void SettingsPage::deleteDisease()
{
    if (m_selectedDisease.isEmpty() || !baseAvailable())
        return;
    const QString text = LanguageApplier::instance().text(QStringLiteral("DeleteClient"))
                         + QStringLiteral("\n\n") + m_selectedDisease;
    if (!Dialogs::ask(this, text))
        return;
    QString error;
    if (!repo().deleteDisease(m_selectedDisease, &error)) {
        Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    m_selectedDisease.clear();
    m_loadedComment.clear();
    m_addDisease->clear();
    m_memo->clear();
    fillDiseases();
}

void SettingsPage::addFrequency()
{
    if (m_selectedDisease.isEmpty() || !baseAvailable())
        return;
    if (m_addFreq->text().trimmed().isEmpty())
        return;
    const QString frequency = frequencyText(m_addFreq->text());
    if (frequency.isEmpty()) {
        Dialogs::message(this, LanguageApplier::instance().text(QStringLiteral("IncorRecord"))
                                   + QStringLiteral(" (%1 - %2)")
                                         .arg(QLocale().toString(kMinFrequency),
                                              QLocale().toString(kMaxFrequency, 'f', 0)));
        return;
    }
    QStringList items;
    for (int row = 0; row < m_freqList->count(); ++row)
        items.append(m_freqList->item(row)->text());
    items.append(frequency);
    QString error;
    if (!repo().setFrequencies(m_selectedDisease, items, &error)) {
        Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    m_addFreq->clear();
    showFrequencies(int(items.size()) - 1);
}

void SettingsPage::deleteFrequency()
{
    const int row = m_freqList->currentRow();
    if (m_selectedDisease.isEmpty() || !baseAvailable() || row < 0)
        return;
    QStringList items;
    for (int i = 0; i < m_freqList->count(); ++i) {
        if (i != row)
            items.append(m_freqList->item(i)->text());
    }
    QString error;
    if (!repo().setFrequencies(m_selectedDisease, items, &error)) {
        Dialogs::error(this, shown(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return;
    }
    showFrequencies(qMin(row, int(items.size()) - 1));
}

void SettingsPage::showFrequencies(int select)
{
    // Read back from the base, so the list shows what is stored.
    m_freqList->clear();
    m_freqList->addItems(repo().frequencies(m_selectedDisease));
    if (select >= 0 && select < m_freqList->count())
        m_freqList->setCurrentRow(select);
    updateEditorState();
}

void SettingsPage::baseAboutToClose()
{
    // Still open: the last comment reaches the base before the connection goes.
    storeComment();
    m_baseClosing = true;
    m_selectedDisease.clear();
    m_loadedComment.clear();
    m_filling = true;
    m_diseaseList->clear();
    m_filling = false;
    m_freqList->clear();
    updateEditorState();
}

FreqDesRepository SettingsPage::repo() const
{
    return FreqDesRepository(m_data.data());
}

bool SettingsPage::baseAvailable() const
{
    return !m_baseClosing && repo().isAvailable();
}
