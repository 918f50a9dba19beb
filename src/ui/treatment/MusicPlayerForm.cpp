#include "MusicPlayerForm.h"

#include "MediaMusicOutput.h"
#include "TherapyTexts.h"
#include "app/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QShortcut>
#include <QSlider>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <limits>

namespace {

QString fileNameOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

// m:ss, or h:mm:ss for an hour and more.
QString clockText(qint64 ms)
{
    const qint64 seconds = qMax<qint64>(0, ms) / 1000;
    const QChar zero(QLatin1Char('0'));
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg((seconds / 60) % 60, 2, 10, zero)
            .arg(seconds % 60, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, zero);
}

QToolButton *toolButton(const QString &name, QStyle::StandardPixmap icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

const QColor unplayableColour(0xc6, 0x28, 0x28);

} // namespace

MusicPlayerForm::MusicPlayerForm(QWidget *parent, MusicOutput *output)
    : QWidget(parent, Qt::Tool)
    , m_output(output ? output : new MediaMusicOutput)
    , m_optionsPath(AppPaths::dataFile(QStringLiteral("Options.ini")))
{
    setObjectName(QStringLiteral("TPlayer"));
    m_output->setParent(this);
    m_list = MusicPlaylist::load(IniFile(m_optionsPath));
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(500);
    connect(m_saveTimer, &QTimer::timeout, this, &MusicPlayerForm::save);

    buildWindow();
    bindTexts();
    connectOutput();
    m_output->setVolume(m_list.volume());
    refreshList();
    refreshTime();
    // Files gone since the list was stored are named at once, not when their turn comes.
    QList<MusicPlaylist::State> before;
    for (int row = 0; row < m_list.count(); ++row)
        before.append(MusicPlaylist::State::Ready);
    reportPassedOver(before);
}

MusicPlayerForm::~MusicPlayerForm()
{
    if (m_saveTimer->isActive())
        save();
    // The output outlives this part of the window by a moment; what it reports while it
    // stops must not reach it.
    disconnect(m_output, nullptr, this, nullptr);
    m_output->stop();
}

void MusicPlayerForm::buildWindow()
{
    // The layout sets the least size, so longer words of a language always fit.
    resize(480, 440);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 12, 10);
    column->setSpacing(8);

    m_nowPlaying = new QLabel(this);
    m_nowPlaying->setObjectName(QStringLiteral("NowPlaying"));
    m_nowPlaying->setStyleSheet(QStringLiteral("font-weight: bold; color: #24313d;"));
    m_nowPlaying->setTextFormat(Qt::PlainText);
    m_nowPlaying->setMinimumWidth(10);
    column->addWidget(m_nowPlaying);

    auto *positionRow = new QHBoxLayout;
    m_positionBar = new QSlider(Qt::Horizontal, this);
    m_positionBar->setObjectName(QStringLiteral("PositionBar"));
    m_positionBar->setRange(0, 0);
    m_positionBar->setFocusPolicy(Qt::TabFocus);
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("TimeLabel"));
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_time->setMinimumWidth(m_time->fontMetrics().horizontalAdvance(QStringLiteral("0:00:00 / 0:00:00")));
    positionRow->addWidget(m_positionBar, 1);
    positionRow->addWidget(m_time);
    column->addLayout(positionRow);

    auto *transport = new QHBoxLayout;
    transport->setSpacing(4);
    m_previousButton = toolButton(QStringLiteral("PrevBtn"), QStyle::SP_MediaSkipBackward, this);
    m_playButton = toolButton(QStringLiteral("PlayBtn"), QStyle::SP_MediaPlay, this);
    m_pauseButton = toolButton(QStringLiteral("PauseBtn"), QStyle::SP_MediaPause, this);
    m_stopButton = toolButton(QStringLiteral("StopBtn"), QStyle::SP_MediaStop, this);
    m_nextButton = toolButton(QStringLiteral("NextBtn"), QStyle::SP_MediaSkipForward, this);
    for (QToolButton *button : {m_previousButton, m_playButton, m_pauseButton, m_stopButton, m_nextButton}) {
        button->setIconSize(QSize(24, 24));
        transport->addWidget(button);
    }
    transport->addStretch(1);
    auto *speaker = new QLabel(this);
    speaker->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(18, 18));
    transport->addWidget(speaker);
    m_volumeBar = new QSlider(Qt::Horizontal, this);
    m_volumeBar->setObjectName(QStringLiteral("VolumeBar"));
    m_volumeBar->setRange(0, 100);
    m_volumeBar->setPageStep(10);
    m_volumeBar->setFixedWidth(110);
    m_volumeBar->setFocusPolicy(Qt::TabFocus);
    m_volumeBar->setValue(m_list.volume());
    transport->addWidget(m_volumeBar);
    m_volumeText = new QLabel(this);
    m_volumeText->setObjectName(QStringLiteral("VolumeText"));
    m_volumeText->setMinimumWidth(m_volumeText->fontMetrics().horizontalAdvance(QStringLiteral("100%")));
    transport->addWidget(m_volumeText);
    column->addLayout(transport);

    m_view = new QListWidget(this);
    m_view->setObjectName(QStringLiteral("PlayList"));
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setIconSize(QSize(16, 16));
    m_view->setUniformItemSizes(true);
    column->addWidget(m_view, 1);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("PlayerMessage"));
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold;"));
    m_message->hide();
    column->addWidget(m_message);

    auto *edit = new QHBoxLayout;
    edit->setSpacing(4);
    m_add = toolButton(QStringLiteral("AddBtn"), QStyle::SP_DialogOpenButton, this);
    m_remove = toolButton(QStringLiteral("RemoveBtn"), QStyle::SP_TrashIcon, this);
    m_up = toolButton(QStringLiteral("UpBtn"), QStyle::SP_ArrowUp, this);
    m_down = toolButton(QStringLiteral("DownBtn"), QStyle::SP_ArrowDown, this);
    for (QToolButton *button : {m_add, m_remove, m_up, m_down}) {
        button->setIconSize(QSize(16, 16));
        // Up and Down say what they do by their arrows; their words are in the tooltips.
        if (button == m_add || button == m_remove)
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        edit->addWidget(button);
    }
    edit->addStretch(1);
    m_repeat = new QCheckBox(this);
    m_repeat->setObjectName(QStringLiteral("RepeatBox"));
    m_repeat->setChecked(m_list.repeat());
    edit->addWidget(m_repeat);
    column->addLayout(edit);

    connect(m_add, &QToolButton::clicked, this, &MusicPlayerForm::addFiles);
    connect(m_remove, &QToolButton::clicked, this, &MusicPlayerForm::removeSelected);
    connect(m_up, &QToolButton::clicked, this, [this] { moveSelected(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { moveSelected(1); });
    connect(m_previousButton, &QToolButton::clicked, this, &MusicPlayerForm::previous);
    connect(m_playButton, &QToolButton::clicked, this, &MusicPlayerForm::play);
    connect(m_pauseButton, &QToolButton::clicked, this, &MusicPlayerForm::pause);
    connect(m_stopButton, &QToolButton::clicked, this, &MusicPlayerForm::stop);
    connect(m_nextButton, &QToolButton::clicked, this, &MusicPlayerForm::next);
    connect(m_view, &QListWidget::itemSelectionChanged, this, &MusicPlayerForm::refreshButtons);
    connect(m_view, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { playRow(m_view->row(item)); });
    connect(m_repeat, &QCheckBox::toggled, this, [this](bool on) {
        m_list.setRepeat(on);
        save();
    });
    connect(m_volumeBar, &QSlider::valueChanged, this, [this](int value) {
        m_list.setVolume(value);
        m_output->setVolume(value);
        m_volumeText->setText(QString::number(value) + QLatin1Char('%'));
        // A drag gives dozens of values; the file is written once it settles.
        scheduleSave();
    });
    m_volumeText->setText(QString::number(m_list.volume()) + QLatin1Char('%'));
    connect(m_positionBar, &QSlider::valueChanged, this, [this](int value) {
        if (m_positionBar->isSliderDown())
            m_time->setText(clockText(value) + QStringLiteral(" / ") + clockText(m_duration));
        else
            seekToSlider();
    });
    connect(m_positionBar, &QSlider::sliderReleased, this, &MusicPlayerForm::seekToSlider);

    // Space plays or pauses wherever the focus is in the window, the list included.
    auto *space = new QShortcut(QKeySequence(Qt::Key_Space), this);
    connect(space, &QShortcut::activated, this, &MusicPlayerForm::togglePlay);
    auto *remove = new QShortcut(QKeySequence::Delete, this);
    connect(remove, &QShortcut::activated, this, &MusicPlayerForm::removeSelected);
    auto *up = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), this);
    connect(up, &QShortcut::activated, this, [this] { moveSelected(-1); });
    auto *down = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), this);
    connect(down, &QShortcut::activated, this, [this] { moveSelected(1); });
}

void MusicPlayerForm::bindTexts()
{
    TherapyTexts::bindTitle(this, QStringLiteral("Music"), QStringLiteral("Music"));
    TherapyTexts::bind(m_add, QStringLiteral("Add"), QStringLiteral("Add"));
    TherapyTexts::bind(m_remove, QStringLiteral("DeleteButton"), QStringLiteral("Delete"));
    TherapyTexts::bindToolTip(m_up, QStringLiteral("MusicUp"), QStringLiteral("Up"));
    TherapyTexts::bindToolTip(m_down, QStringLiteral("MusicDown"), QStringLiteral("Down"));
    TherapyTexts::bind(m_repeat, QStringLiteral("MusicRepeat"), QStringLiteral("Repeat the list"));
    TherapyTexts::bindToolTip(m_add, QStringLiteral("MusicAddTitle"), QStringLiteral("Add music files"));
    TherapyTexts::bindToolTip(m_previousButton, QStringLiteral("Previous"), QStringLiteral("Previous"));
    TherapyTexts::bindToolTip(m_playButton, QStringLiteral("Play"), QStringLiteral("Play"));
    TherapyTexts::bindToolTip(m_pauseButton, QStringLiteral("Pause"), QStringLiteral("Pause"));
    TherapyTexts::bindToolTip(m_stopButton, QStringLiteral("Stop"), QStringLiteral("Stop"));
    TherapyTexts::bindToolTip(m_nextButton, QStringLiteral("Next"), QStringLiteral("Next"));
    TherapyTexts::bindToolTip(m_volumeBar, QStringLiteral("MusicVolume"), QStringLiteral("Volume"));
    TherapyTexts::bindToolTip(m_positionBar, QStringLiteral("MusicPosition"), QStringLiteral("Position in the file"));
    // Item tooltips and the "nothing playing" line are built from texts too.
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this, [this] {
        refreshList();
        refreshTime();
    });
}

void MusicPlayerForm::connectOutput()
{
    // The back end reports from inside its own calls; the answer (often: play the next
    // file) waits for the event loop, and a report about a file the practitioner has
    // already left behind is dropped.
    auto later = [this](std::function<void()> action) {
        const int generation = m_generation;
        QTimer::singleShot(0, this, [this, generation, action] {
            if (m_generation == generation)
                action();
        });
    };
    connect(m_output, &MusicOutput::finished, this, [this, later] { later([this] { onFinished(); }); });
    connect(m_output, &MusicOutput::failed, this,
            [this, later](const QString &reason) { later([this, reason] { onFailed(reason); }); });
    connect(m_output, &MusicOutput::positionChanged, this, &MusicPlayerForm::onPosition);
    connect(m_output, &MusicOutput::durationChanged, this, &MusicPlayerForm::onDuration);
}

QString MusicPlayerForm::messageText() const
{
    return m_message->isHidden() ? QString() : m_message->text();
}

void MusicPlayerForm::showMessage(const QString &text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void MusicPlayerForm::clearMessage()
{
    showMessage(QString());
}

QList<MusicPlaylist::State> MusicPlayerForm::states() const
{
    QList<MusicPlaylist::State> result;
    for (int row = 0; row < m_list.count(); ++row)
        result.append(m_list.state(row));
    return result;
}

void MusicPlayerForm::reportPassedOver(const QList<MusicPlaylist::State> &before)
{
    QStringList gone;
    for (int row = 0; row < m_list.count() && row < before.size(); ++row)
        if (before.at(row) != MusicPlaylist::State::Missing && m_list.state(row) == MusicPlaylist::State::Missing)
            gone.append(fileNameOf(m_list.path(row)));
    QStringList lines;
    if (!m_message->isHidden())
        lines.append(m_message->text());
    if (!gone.isEmpty())
        lines.append(TherapyTexts::text(QStringLiteral("MusicNotFound"), QStringLiteral("File not found, skipped: %1"))
                         .arg(gone.join(QStringLiteral(", "))));
    if (m_list.current() < 0 && !m_list.isEmpty())
        lines.append(TherapyTexts::text(QStringLiteral("MusicNothingPlayable"),
                                        QStringLiteral("No file in the list can be played.")));
    lines.removeDuplicates();
    // The last few lines are enough; the window is not a log.
    while (lines.size() > 3)
        lines.removeFirst();
    showMessage(lines.join(QLatin1Char('\n')));
}

void MusicPlayerForm::addFiles()
{
    QString folder = m_list.folder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString filter =
        TherapyTexts::text(QStringLiteral("Mp3Filter"), QStringLiteral("MP3 Audio File")) + QStringLiteral(" (*.mp3);;")
        + TherapyTexts::text(QStringLiteral("AudioFilesFilter"), QStringLiteral("All audio files"))
        + QStringLiteral(" (*.mp3 *.ogg *.wav *.flac *.m4a)");
    const QStringList paths = Dialogs::openFiles(
        this, TherapyTexts::text(QStringLiteral("MusicAddTitle"), QStringLiteral("Add music files")), folder, filter);
    appendFiles(paths);
}

void MusicPlayerForm::appendFiles(const QStringList &paths)
{
    int last = -1;
    for (const QString &path : paths) {
        const int row = m_list.add(QFileInfo(path).absoluteFilePath());
        if (row >= 0) {
            last = row;
            m_list.setFolder(QFileInfo(path).absolutePath());
        }
    }
    if (last < 0)
        return;
    clearMessage();
    refreshList();
    selectRow(last);
    save();
}

int MusicPlayerForm::selectedRow() const
{
    const QList<QListWidgetItem *> items = m_view->selectedItems();
    return items.isEmpty() ? -1 : m_view->row(items.first());
}

void MusicPlayerForm::selectRow(int row)
{
    if (row >= 0 && row < m_view->count()) {
        m_view->setCurrentRow(row);
        m_view->scrollToItem(m_view->item(row));
    } else {
        m_view->clearSelection();
    }
    refreshButtons();
}

void MusicPlayerForm::removeSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (row == m_list.current() && m_state != PlayState::Stopped)
        stop();
    m_list.remove(row);
    clearMessage();
    refreshList();
    selectRow(qMin(row, m_list.count() - 1));
    refreshTime();
    save();
}

void MusicPlayerForm::moveSelected(int delta)
{
    const int row = selectedRow();
    if (row < 0 || !m_list.move(row, row + delta))
        return;
    refreshList();
    selectRow(row + delta);
    save();
}

void MusicPlayerForm::play()
{
    if (m_state == PlayState::Playing)
        return;
    if (m_state == PlayState::Paused) {
        setState(PlayState::Playing);
        m_output->resume();
        refreshList();
        refreshButtons();
        return;
    }
    if (m_list.isEmpty())
        return;
    clearMessage();
    const auto before = states();
    const int row = m_list.start();
    reportPassedOver(before);
    if (row < 0) {
        refreshList();
        refreshButtons();
        return;
    }
    startCurrent();
}

void MusicPlayerForm::startCurrent()
{
    ++m_generation;
    setState(PlayState::Playing);
    m_position = 0;
    m_duration = 0;
    m_positionBar->setRange(0, 0);
    refreshList();
    refreshButtons();
    refreshTime();
    save();
    m_output->play(m_list.path(m_list.current()));
}

void MusicPlayerForm::pause()
{
    if (m_state != PlayState::Playing)
        return;
    setState(PlayState::Paused);
    m_output->pause();
    refreshList();
    refreshButtons();
}

void MusicPlayerForm::togglePlay()
{
    if (m_state == PlayState::Playing)
        pause();
    else
        play();
}

void MusicPlayerForm::stop()
{
    ++m_generation;
    m_output->stop();
    setState(PlayState::Stopped);
    m_position = 0;
    refreshList();
    refreshButtons();
    refreshTime();
}

void MusicPlayerForm::next()
{
    if (!m_list.isEmpty())
        moveInList(&MusicPlaylist::next);
}

void MusicPlayerForm::previous()
{
    if (m_list.isEmpty())
        return;
    // As on any player: back to the start of the file once it has played a while.
    if (m_state != PlayState::Stopped && m_position > 3000) {
        m_output->seek(0);
        return;
    }
    moveInList(&MusicPlaylist::previous);
}

// Next or previous: the files passed over are named, and a playing list plays on.
void MusicPlayerForm::moveInList(int (MusicPlaylist::*move)())
{
    clearMessage();
    const auto before = states();
    const int row = (m_list.*move)();
    reportPassedOver(before);
    if (row >= 0 && m_state != PlayState::Stopped)
        startCurrent();
    else if (row < 0 && m_list.current() < 0)
        stop();
    refreshList();
    refreshButtons();
    save();
}

void MusicPlayerForm::playRow(int row)
{
    if (row < 0 || row >= m_list.count())
        return;
    clearMessage();
    if (m_list.choose(row)) {
        startCurrent();
        return;
    }
    if (m_state != PlayState::Stopped)
        stop();
    showMessage(TherapyTexts::text(QStringLiteral("MusicNotFound"), QStringLiteral("File not found, skipped: %1"))
                    .arg(fileNameOf(m_list.path(row))));
    refreshList();
    refreshButtons();
}

void MusicPlayerForm::onFinished()
{
    if (m_state == PlayState::Playing)
        advance();
}

void MusicPlayerForm::onFailed(const QString &reason)
{
    const int row = m_list.current();
    if (row < 0)
        return;
    m_list.markFailed(row);
    QString line = TherapyTexts::text(QStringLiteral("MusicCannotPlay"), QStringLiteral("Cannot play %1: %2"))
                       .arg(fileNameOf(m_list.path(row)),
                            reason.isEmpty() ? TherapyTexts::text(QStringLiteral("MusicUnknownFormat"),
                                                                  QStringLiteral("the format is not supported"))
                                             : reason);
    showMessage(m_message->isHidden() ? line : m_message->text() + QLatin1Char('\n') + line);
    if (m_state == PlayState::Stopped) {
        refreshList();
        return;
    }
    advance();
}

void MusicPlayerForm::advance()
{
    const auto before = states();
    const int row = m_list.next();
    reportPassedOver(before);
    if (row >= 0)
        startCurrent();
    else
        endOfMusic();
}

void MusicPlayerForm::endOfMusic()
{
    stop();
    // Play after the end starts the list again from the top.
    if (m_list.current() >= 0)
        m_list.setCurrent(0);
    refreshList();
    save();
}

void MusicPlayerForm::onPosition(qint64 ms)
{
    m_position = ms;
    if (!m_positionBar->isSliderDown()) {
        const QSignalBlocker quiet(m_positionBar);
        m_positionBar->setValue(int(qMin<qint64>(ms, m_positionBar->maximum())));
    }
    refreshTime();
}

void MusicPlayerForm::onDuration(qint64 ms)
{
    m_duration = qMax<qint64>(0, ms);
    const QSignalBlocker quiet(m_positionBar);
    m_positionBar->setRange(0, int(qMin<qint64>(m_duration, std::numeric_limits<int>::max())));
    m_positionBar->setPageStep(10000);
    m_positionBar->setSingleStep(5000);
    refreshTime();
}

void MusicPlayerForm::seekToSlider()
{
    if (m_state == PlayState::Stopped)
        return;
    m_output->seek(m_positionBar->value());
}

void MusicPlayerForm::refreshTime()
{
    if (!m_positionBar->isSliderDown())
        m_time->setText(clockText(m_position) + QStringLiteral(" / ") + clockText(m_duration));
    const int row = m_list.current();
    m_nowPlaying->setText(row >= 0 ? fileNameOf(m_list.path(row)) : QStringLiteral("—"));
    m_nowPlaying->setToolTip(row >= 0 ? QDir::toNativeSeparators(m_list.path(row)) : QString());
    m_positionBar->setEnabled(m_state != PlayState::Stopped);
}

void MusicPlayerForm::refreshList()
{
    const int selected = selectedRow();
    const int current = m_list.current();
    QPixmap blank(m_view->iconSize());
    blank.fill(Qt::transparent);
    const QIcon none(blank);
    const QString goneText = TherapyTexts::text(QStringLiteral("MusicMissingHint"), QStringLiteral("File not found"));
    const QString failedText =
        TherapyTexts::text(QStringLiteral("MusicFailedHint"), QStringLiteral("This file could not be played"));

    const QSignalBlocker quiet(m_view);
    m_view->clear();
    for (int row = 0; row < m_list.count(); ++row) {
        auto *item = new QListWidgetItem(fileNameOf(m_list.path(row)), m_view);
        QString tip = QDir::toNativeSeparators(m_list.path(row));
        const MusicPlaylist::State state = m_list.state(row);
        if (state != MusicPlaylist::State::Ready) {
            item->setForeground(unplayableColour);
            tip += QLatin1Char('\n') + (state == MusicPlaylist::State::Missing ? goneText : failedText);
        }
        item->setToolTip(tip);
        if (row == current) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            item->setIcon(m_state == PlayState::Playing  ? style()->standardIcon(QStyle::SP_MediaPlay)
                          : m_state == PlayState::Paused ? style()->standardIcon(QStyle::SP_MediaPause)
                                                         : none);
        } else {
            item->setIcon(none);
        }
    }
    if (selected >= 0 && selected < m_view->count())
        m_view->setCurrentRow(selected);
    refreshButtons();
}

void MusicPlayerForm::refreshButtons()
{
    const int row = selectedRow();
    const bool any = !m_list.isEmpty();
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row < m_list.count() - 1);
    m_playButton->setEnabled(any && m_state != PlayState::Playing);
    m_pauseButton->setEnabled(m_state == PlayState::Playing);
    m_stopButton->setEnabled(m_state != PlayState::Stopped);
    m_previousButton->setEnabled(any);
    m_nextButton->setEnabled(any);
}

void MusicPlayerForm::save()
{
    m_saveTimer->stop();
    IniFile options(m_optionsPath);
    m_list.store(options);
    QString error;
    if (!options.save(&error))
        showMessage(TherapyTexts::text(QStringLiteral("MusicNotSaved"), QStringLiteral("The music list could not be saved: %1"))
                        .arg(error));
}

void MusicPlayerForm::scheduleSave()
{
    m_saveTimer->start();
}

void MusicPlayerForm::setState(PlayState state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT playStateChanged(state);
}

void MusicPlayerForm::showEvent(QShowEvent *event)
{
    // Opened again later: a stick may have been taken out meanwhile.
    const auto before = states();
    m_list.refresh();
    reportPassedOver(before);
    refreshList();
    QWidget::showEvent(event);
}

void MusicPlayerForm::closeEvent(QCloseEvent *event)
{
    // Closing the window is how the practitioner ends the music.
    stop();
    if (m_saveTimer->isActive())
        save();
    QWidget::closeEvent(event);
}
