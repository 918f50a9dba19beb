#include "FreqPanel.h"

#include "TAlgoritmForm.h"
#include "common/TableFit.h"
#include "TLoadFreqForm.h"
#include "TherapyTexts.h"
#include "TherapyWidgets.h"
#include "app/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "measure/DeviceLibrary.h"
#include "records/Channels.h"
#include "records/FreqDesRepository.h"
#include "treatment/FreqAssignment.h"
#include "treatment/TherapyChannels.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace TherapyWidgets;

namespace {

enum Column { ChannelCol, DevCol, NameCol, HzCol, ColCount };

QString hzText(double hz)
{
    return QString::number(hz, 'f', 2);
}

} // namespace

FreqPanel::FreqPanel(DataModule *data, DeviceLibrary *device, QWidget *parent)
    : QWidget(parent)
    , m_data(data)
    , m_device(device)
    , m_optionsPath(AppPaths::dataFile(QStringLiteral("Options.ini")))
{
    setObjectName(QStringLiteral("FreqPanel"));
    buildPage();
    wirePlayer();
    m_savedText = assignmentText();
}

void FreqPanel::buildPage()
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    auto *dateColumn = new QVBoxLayout;
    auto *dateCaption = new QLabel(this);
    TherapyTexts::bind(dateCaption, QStringLiteral("TestDate"), QStringLiteral("Test date"));
    m_dates = new TreatmentDateList(QStringLiteral("FreqDateList"), this);
    m_dates->setFixedWidth(166);
    dateColumn->addWidget(dateCaption);
    dateColumn->addWidget(m_dates, 1);
    row->addLayout(dateColumn);

    auto *centre = new QVBoxLayout;
    auto *grids = new QHBoxLayout;
    grids->addWidget(buildGrid(true), 1);
    grids->addWidget(buildGrid(false), 1);
    centre->addLayout(grids);
    centre->addWidget(buildDiseaseBox(), 1);
    row->addLayout(centre, 1);

    auto *side = new QWidget(this);
    side->setObjectName(QStringLiteral("FreqControls"));
    auto *controls = new QVBoxLayout(side);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->addWidget(buildPlayerBox());
    controls->addWidget(buildPowerBox());
    controls->addStretch(1);
    side->setFixedWidth(244);
    row->addWidget(side);
}

QWidget *FreqPanel::buildGrid(bool left)
{
    auto *holder = new QWidget(this);
    auto *column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    auto *grid = new QTableWidget(12, ColCount, holder);
    grid->setObjectName(left ? QStringLiteral("LeftFreqGrid") : QStringLiteral("RightFreqGrid"));
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    // All twelve rows at once: a practitioner should never scroll to find a channel.
    // Rows as low as the text allows, so that all twelve fit above the disease list on the
    // smallest screen.
    const int rowHeight = grid->fontMetrics().height() + 7;
    grid->verticalHeader()->setMinimumSectionSize(rowHeight);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() + 12 * rowHeight
                         + 2 * grid->frameWidth());
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(NameCol, QHeaderView::Stretch);
    // The frequency needs no more than "9999.99"; the names take the room left.
    grid->horizontalHeader()->setSectionResizeMode(HzCol, QHeaderView::Fixed);
    grid->setColumnWidth(HzCol, 54);
    grid->setHorizontalHeaderLabels(QStringList(ColCount, QString()));
    const QList<std::tuple<int, QString, QString>> headers{
        {ChannelCol, left ? QStringLiteral("Left") : QStringLiteral("Right"), left ? QStringLiteral("Left") : QStringLiteral("Right")},
        {DevCol, QStringLiteral("DeviationShort"), QStringLiteral("%")},
        {NameCol, QStringLiteral("NameMer"), QStringLiteral("Name")},
        {HzCol, QStringLiteral("FreqHz"), QStringLiteral("Hz")}};
    for (const auto &[c, key, fallback] : headers) {
        const int col = c;
        LanguageApplier::instance().bindWithFallback(grid, key, fallback, [grid, col](const QString &t) {
            grid->horizontalHeaderItem(col)->setText(t);
        });
    }
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < HzCol; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(c == NameCol ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter) : Qt::Alignment(Qt::AlignCenter));
            grid->setItem(r, c, item);
        }
        const int index = r + (left ? 0 : 12);
        auto *edit = new QDoubleSpinBox(grid);
        edit->setObjectName(QStringLiteral("%1E%2").arg(left ? QLatin1Char('L') : QLatin1Char('R')).arg(r + 1));
        edit->setRange(0, FreqAssignment::MaxHz);
        edit->setDecimals(2);
        edit->setSingleStep(0.01);
        // One decimal sign whatever the language: the stored table must read back alike.
        edit->setLocale(QLocale::c());
        edit->setAlignment(Qt::AlignRight);
        edit->setMinimumWidth(52);
        edit->setFrame(false);
        edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
        edit->setSpecialValueText(QStringLiteral("\u2013")); // no frequency for this channel
        edit->installEventFilter(this);
        grid->setCellWidget(r, HzCol, edit);
        m_edits[size_t(index)] = edit;
    }
    m_grids[left ? 0 : 1] = grid;
    column->addWidget(grid, 1);

    auto *nav = new QHBoxLayout;
    auto *up = new QToolButton(holder);
    up->setObjectName(left ? QStringLiteral("FreqLeftUp") : QStringLiteral("FreqRightUp"));
    up->setArrowType(Qt::UpArrow);
    auto *down = new QToolButton(holder);
    down->setObjectName(left ? QStringLiteral("FreqLeftDown") : QStringLiteral("FReqRightDown"));
    down->setArrowType(Qt::DownArrow);
    nav->addStretch(1);
    nav->addWidget(up);
    nav->addWidget(down);
    column->addLayout(nav);
    connect(up, &QToolButton::clicked, this, [this, left] { moveEdit(left, -1); });
    connect(down, &QToolButton::clicked, this, [this, left] { moveEdit(left, +1); });
    return holder;
}

QWidget *FreqPanel::buildDiseaseBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("DeseaseBox"));
    LanguageApplier::instance().bindWithFallback(box, QStringLiteral("DeseaseList"), QStringLiteral("List of diseases"),
                                                 [box](const QString &t) { box->setTitle(t); });
    auto *grid = new QGridLayout(box);
    auto *searchRow = new QHBoxLayout;
    m_search = new QLineEdit(box);
    m_search->setObjectName(QStringLiteral("DeseaseEdit"));
    m_search->setClearButtonEnabled(true);
    auto *find = new QPushButton(box);
    find->setObjectName(QStringLiteral("DeseaseFoundBtn"));
    TherapyTexts::bind(find, QStringLiteral("FindDisease"), QStringLiteral("Find"));
    auto *import = new QPushButton(box);
    import->setObjectName(QStringLiteral("LoadFreqBtn"));
    TherapyTexts::bind(import, QStringLiteral("FreqImportButton"), QStringLiteral("Import..."));
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(find);
    searchRow->addWidget(import);
    grid->addLayout(searchRow, 0, 0, 1, 3);
    m_diseases = new QListWidget(box);
    m_diseases->setObjectName(QStringLiteral("DeseaseList"));
    m_comment = new QPlainTextEdit(box);
    m_comment->setObjectName(QStringLiteral("DeseaseComment"));
    m_comment->setReadOnly(true);
    auto *freqColumn = new QVBoxLayout;
    auto *freqCaption = new QLabel(box);
    TherapyTexts::bind(freqCaption, QStringLiteral("FreqList"), QStringLiteral("Frequencies"));
    m_freqList = new QListWidget(box);
    m_freqList->setObjectName(QStringLiteral("FreqList"));
    m_freqList->setMaximumWidth(140);
    freqCaption->setBuddy(m_freqList);
    freqColumn->addWidget(freqCaption);
    freqColumn->addWidget(m_freqList, 1);
    // Low lists rather than hidden channel rows on a small screen; they grow with the window.
    for (QWidget *list : std::initializer_list<QWidget *>{m_diseases, m_comment, m_freqList})
        list->setMinimumHeight(44);
    grid->addWidget(m_diseases, 1, 0);
    grid->addWidget(m_comment, 1, 1);
    grid->addLayout(freqColumn, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    connect(find, &QPushButton::clicked, this, &FreqPanel::findDiseases);
    connect(m_search, &QLineEdit::returnPressed, this, &FreqPanel::findDiseases);
    connect(m_diseases, &QListWidget::currentRowChanged, this, &FreqPanel::showDisease);
    connect(import, &QPushButton::clicked, this, [this] {
        TLoadFreqForm form(m_data, this);
        connect(&form, &TLoadFreqForm::imported, this, &FreqPanel::reloadDiseases);
        form.exec();
    });
    return box;
}

QWidget *FreqPanel::buildPlayerBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("FreqPlayerBox"));
    LanguageApplier::instance().bindWithFallback(box, QStringLiteral("FreqLabel"), QStringLiteral("Frequency therapy"),
                                                 [box](const QString &t) { box->setTitle(t.trimmed()); });
    auto *column = new QVBoxLayout(box);
    m_time = timeLabel(QStringLiteral("FreqTimeLabel"), box);
    column->addWidget(m_time);
    auto *freqRow = new QHBoxLayout;
    auto *freqCaption = new QLabel(box);
    TherapyTexts::bind(freqCaption, QStringLiteral("Frequency"), QStringLiteral("Frequency"));
    m_freqFreq = new QLineEdit(box);
    m_freqFreq->setObjectName(QStringLiteral("FreqFreq"));
    m_freqFreq->setReadOnly(true);
    m_freqFreq->setAlignment(Qt::AlignRight);
    freqRow->addWidget(freqCaption);
    freqRow->addWidget(m_freqFreq, 1);
    auto *hz = new QLabel(box);
    TherapyTexts::bind(hz, QStringLiteral("FreqHz"), QStringLiteral("Hz"));
    freqRow->addWidget(hz);
    column->addLayout(freqRow);
    m_min = timeSpin(QStringLiteral("FreqMin"), 0, box);
    m_sec = timeSpin(QStringLiteral("FreqSec"), 10, box);
    column->addLayout(timeRow(m_min, m_sec, box));
    m_autoNext = checkBox(QStringLiteral("FreqAutoNext"), QStringLiteral("TherapyAutoNext"), QStringLiteral("Continue with the next"), box);
    m_autoNext->setChecked(true);
    m_useTable = checkBox(QStringLiteral("UseTable"), QStringLiteral("UseTable"), QStringLiteral("Use the frequency table"), box);
    column->addWidget(m_autoNext);
    column->addWidget(m_useTable);
    column->addLayout(playerRow({QStringLiteral("FreqPlay"), QStringLiteral("sButton6"), QStringLiteral("sButton7")}, box,
                                [this] { play(); }, m_player, m_autoNext));
    return box;
}

QWidget *FreqPanel::buildPowerBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("PowerBox"));
    LanguageApplier::instance().bindWithFallback(box, QStringLiteral("PowerCaption"), QStringLiteral("Power"),
                                                 [box](const QString &t) { box->setTitle(t); });
    auto *column = new QVBoxLayout(box);
    auto *row = new QHBoxLayout;
    m_powerBar = new QSlider(Qt::Horizontal, box);
    m_powerBar->setObjectName(QStringLiteral("PowerBar"));
    m_powerBar->setRange(0, 100);
    m_powerBar->setValue(50);
    m_powerEdit = new QSpinBox(box);
    m_powerEdit->setObjectName(QStringLiteral("PowerEdit"));
    m_powerEdit->setRange(0, 100);
    m_powerEdit->setValue(50);
    m_powerEdit->setSuffix(QStringLiteral(" %"));
    row->addWidget(m_powerBar, 1);
    row->addWidget(m_powerEdit);
    column->addLayout(row);
    connect(m_powerBar, &QSlider::valueChanged, m_powerEdit, &QSpinBox::setValue);
    connect(m_powerEdit, &QSpinBox::valueChanged, m_powerBar, &QSlider::setValue);
    auto *rules = new QHBoxLayout;
    m_algoritmOn = new QToolButton(box);
    m_algoritmOn->setObjectName(QStringLiteral("AlgoritmOn"));
    m_algoritmOn->setCheckable(true);
    m_algoritmOn->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_algoritmOn->setStyleSheet(QStringLiteral(
        "QToolButton { padding: 3px 10px; border: 1px solid #9aa6b2; border-radius: 4px; background: #eef2f6; }"
        "QToolButton:checked { background: #2f9e44; color: white; border-color: #237a34; font-weight: bold; }"));
    TherapyTexts::bind(m_algoritmOn, QStringLiteral("AlgoritmOnCaption"), QStringLiteral("Power by rules"));
    auto *edit = new QPushButton(box);
    edit->setObjectName(QStringLiteral("AlgoritmBtn"));
    TherapyTexts::bind(edit, QStringLiteral("Formula"), QStringLiteral("Formula"));
    rules->addWidget(m_algoritmOn, 1);
    rules->addWidget(edit);
    column->addLayout(rules);
    connect(m_algoritmOn, &QToolButton::toggled, this, [this](bool on) {
        m_powerBar->setEnabled(!on);
        m_powerEdit->setEnabled(!on);
        if (on)
            loadRules();
    });
    connect(edit, &QPushButton::clicked, this, &FreqPanel::openRules);
    return box;
}

void FreqPanel::wirePlayer()
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("FreqTaskTimer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { m_player.tick(); });

    TherapyPlayer::Hooks hooks;
    hooks.send = [this] {
        QString error;
        const auto hz = FreqAssignment::parseHz(currentText(), &error);
        if (!hz) {
            Dialogs::error(this, TherapyTexts::text(QStringLiteral("Error"), QStringLiteral("Error")),
                           TherapyTexts::text(QStringLiteral("FreqNotNumber"), QStringLiteral("\"%1\" is not a frequency; nothing was sent."))
                               .arg(currentText().trimmed()));
            return false;
        }
        if (m_device)
            m_device->setFq(powerFor(*hz), float(*hz));
        return true;
    };
    hooks.next = [this] {
        if (m_playingTable) {
            const int next = nextTableIndex(m_playTable + 1);
            if (next < 0)
                return false;
            m_playTable = next;
            m_edits[size_t(next)]->setFocus();
        } else {
            if (m_playRow + 1 >= m_freqList->count())
                return false;
            ++m_playRow;
            m_freqList->setCurrentRow(m_playRow);
        }
        m_freqFreq->setText(currentText().trimmed());
        m_player.setItemTime(m_min->value(), m_sec->value());
        return true;
    };
    hooks.silence = [this] {
        if (m_device)
            m_device->setFq(0, 0.0f);
    };
    hooks.ended = [this](TherapyPlayer::Ending ending) {
        if (ending == TherapyPlayer::Ending::Completed)
            Dialogs::message(this, TherapyTexts::text(QStringLiteral("TreatCompl"), QStringLiteral("Treatment is completed")));
    };
    hooks.changed = [this] {
        m_time->setText(m_player.remainingText());
        if (m_player.isPlaying())
            m_timer->start();
        else
            m_timer->stop();
    };
    m_player.setHooks(hooks);
}

void FreqPanel::showTest(const TestRecord *test, const CorridorEvaluation &corridor,
                         const std::array<QString, 12> &meridianNames)
{
    // The settings name the meridians in colour order; the grids follow the tests table.
    const QStringList &colorOrder = TherapyChannels::colorOrder();
    for (int index = 0; index < Channels::Count; ++index) {
        QTableWidget *grid = m_grids[index < 12 ? 0 : 1];
        const int r = index % 12;
        const QString channel = TherapyChannels::freqOrder().at(index);
        const QString meridian = Channels::meridian(Channels::indexOf(channel));
        const int nameRow = int(colorOrder.indexOf(QStringLiteral("L") + meridian));
        const QColor rowColor = meridianColor(meridian);
        grid->item(r, ChannelCol)->setText(channel);
        // A name typed longer than the column holds is still readable in full on hovering.
        const QString name = nameRow >= 0 ? meridianNames[size_t(nameRow)] : QString();
        grid->item(r, NameCol)->setText(name);
        grid->item(r, NameCol)->setToolTip(name);
        grid->item(r, ChannelCol)->setBackground(rowColor);
        grid->item(r, NameCol)->setBackground(rowColor);
        QTableWidgetItem *dev = grid->item(r, DevCol);
        if (!test) {
            dev->setText(QString());
            dev->setBackground(QBrush());
            continue;
        }
        const int v = test->value(channel);
        const QString text = TherapyChannels::deviationText(v, corridor.mean);
        dev->setText(text);
        dev->setBackground(deviationColor(text));
        dev->setToolTip(QString::number(v));
    }
    for (QTableWidget *grid : m_grids)
        TableFit::keepColumnReadable(grid, NameCol);
}

bool FreqPanel::loadAssignment(const QString &text)
{
    stopPlayers();
    bool ok = true;
    QStringList items(Channels::Count, QString());
    if (!text.trimmed().isEmpty()) {
        if (const auto read = FreqAssignment::fromText(text))
            items = *read;
        else
            ok = false;
    }
    for (int i = 0; i < Channels::Count; ++i) {
        const auto hz = items.at(i).isEmpty() ? std::optional<double>(0.0) : FreqAssignment::parseHz(items.at(i));
        ok = ok && hz.has_value();
        QSignalBlocker block(m_edits[size_t(i)]);
        m_edits[size_t(i)]->setValue(hz.value_or(0.0));
    }
    m_tableIndex = 0;
    m_savedText = assignmentText();
    return ok;
}

QString FreqPanel::assignmentText() const
{
    QStringList items;
    for (QDoubleSpinBox *edit : m_edits)
        items.append(hzText(edit->value()));
    return FreqAssignment::toText(items);
}

bool FreqPanel::hasProgramme() const
{
    if (m_freqList->count() > 0)
        return true;
    for (QDoubleSpinBox *edit : m_edits)
        if (edit->value() > 0)
            return true;
    return false;
}

void FreqPanel::reloadDiseases()
{
    FreqDesRepository repo(m_data);
    m_allDiseases = repo.isAvailable() ? repo.diseases() : QStringList();
    findDiseases();
}

void FreqPanel::findDiseases()
{
    const QString wanted = m_search->text().trimmed();
    const QString before = m_diseases->currentItem() ? m_diseases->currentItem()->text() : QString();
    QSignalBlocker block(m_diseases);
    m_diseases->clear();
    for (const QString &name : std::as_const(m_allDiseases))
        if (wanted.isEmpty() || name.contains(wanted, Qt::CaseInsensitive))
            m_diseases->addItem(name);
    int row = 0;
    for (int i = 0; i < m_diseases->count(); ++i)
        if (m_diseases->item(i)->text() == before)
            row = i;
    m_diseases->setCurrentRow(m_diseases->count() > 0 ? row : -1);
    showDisease();
}

void FreqPanel::showDisease()
{
    // The list about to be refilled is the one playing: the play stops first, so the device
    // never gets a frequency other than the one on screen.
    if (!m_playingTable && m_player.state() != TherapyPlayer::State::Stopped)
        stopPlayers();
    m_freqList->clear();
    m_comment->clear();
    const QListWidgetItem *item = m_diseases->currentItem();
    if (!item)
        return;
    FreqDesRepository repo(m_data);
    m_comment->setPlainText(repo.comment(item->text()));
    m_freqList->addItems(repo.frequencies(item->text()));
    if (m_freqList->count() > 0)
        m_freqList->setCurrentRow(0);
}

bool FreqPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        for (int i = 0; i < Channels::Count; ++i)
            if (m_edits[size_t(i)] == watched)
                m_tableIndex = i;
    return QWidget::eventFilter(watched, event);
}

void FreqPanel::moveEdit(bool left, int step)
{
    const int base = left ? 0 : 12;
    int row = m_tableIndex - base;
    if (row < 0 || row > 11)
        row = step > 0 ? -1 : 12;
    row = std::clamp(row + step, 0, 11);
    m_tableIndex = base + row;
    m_edits[size_t(m_tableIndex)]->setFocus();
    m_edits[size_t(m_tableIndex)]->selectAll();
}

QString FreqPanel::currentText() const
{
    if (m_playingTable)
        return hzText(m_edits[size_t(m_playTable)]->value());
    const QListWidgetItem *item = m_freqList->item(m_playRow);
    return item ? item->text().trimmed() : QString();
}

int FreqPanel::nextTableIndex(int from) const
{
    // Edits left at 0 Hz hold no frequency for their channel and are passed over.
    for (int i = std::max(0, from); i < Channels::Count; ++i)
        if (m_edits[size_t(i)]->value() > 0)
            return i;
    return -1;
}

void FreqPanel::loadRules()
{
    m_rules = PowerRules::load(IniFile(m_optionsPath));
}

void FreqPanel::openRules()
{
    TAlgoritmForm form(m_optionsPath, this);
    form.exec();
    m_rules = form.rules();
}

int FreqPanel::powerFor(double hz)
{
    if (!m_algoritmOn->isChecked())
        return m_powerBar->value();
    const int power = m_rules.powerFor(hz);
    m_powerBar->setValue(power);
    return power;
}

void FreqPanel::play()
{
    if (m_player.state() == TherapyPlayer::State::Stopped) {
        m_playingTable = m_useTable->isChecked();
        if (m_playingTable) {
            m_playTable = nextTableIndex(m_tableIndex);
            if (m_playTable < 0)
                m_playTable = nextTableIndex(0);
        } else {
            m_playRow = m_freqList->currentRow();
        }
        if ((m_playingTable && m_playTable < 0) || (!m_playingTable && (m_playRow < 0 || m_freqList->count() == 0))) {
            Dialogs::message(this, TherapyTexts::text(QStringLiteral("ChoosFreq"), QStringLiteral("Choose a frequency")));
            return;
        }
        // A frequency that does not read is refused before anything reaches the device.
        if (!FreqAssignment::parseHz(currentText())) {
            Dialogs::error(this, TherapyTexts::text(QStringLiteral("Error"), QStringLiteral("Error")),
                           TherapyTexts::text(QStringLiteral("FreqNotNumber"), QStringLiteral("\"%1\" is not a frequency; nothing was sent."))
                               .arg(currentText()));
            return;
        }
        m_freqFreq->setText(currentText());
        m_player.setItemTime(m_min->value(), m_sec->value());
        if (m_algoritmOn->isChecked())
            loadRules();
    }
    m_player.setAutoNext(m_autoNext->isChecked());
    Q_EMIT playStarted();
    m_player.play();
}
