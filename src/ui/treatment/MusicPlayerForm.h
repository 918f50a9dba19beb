#pragma once

#include "treatment/MusicPlaylist.h"

#include <QWidget>

class MusicOutput;
class QCheckBox;
class QLabel;
class QListWidget;
class QSlider;
class QTimer;
class QToolButton;

// The music player (`TPlayer`): a small tool window beside the treatment page that plays calm
// music while a colour or frequency session runs. The list, the current file, the volume and
// the repeat flag are kept in Options.ini, so the practitioner's music is there next time.
// Nothing here ever stops the session with a dialog: a file that is gone or cannot be played
// is named in a red line and the player goes on with the next one.
class MusicPlayerForm : public QWidget
{
    Q_OBJECT
public:
    enum class PlayState { Stopped, Playing, Paused };

    // `output` is taken over; without one the music goes through Qt Multimedia.
    explicit MusicPlayerForm(QWidget *parent = nullptr, MusicOutput *output = nullptr);
    ~MusicPlayerForm() override;

    const MusicPlaylist &playlist() const { return m_list; }
    PlayState playState() const { return m_state; }
    // The red line under the list; empty when all is well.
    QString messageText() const;

    // Asks for files (MP3 first, then any audio file) and appends them.
    void addFiles();
    void appendFiles(const QStringList &paths);
    void removeSelected();
    void moveSelected(int delta);

    void play();
    void pause();
    void togglePlay();
    void stop();
    void next();
    void previous();
    void playRow(int row);

Q_SIGNALS:
    void playStateChanged(MusicPlayerForm::PlayState state);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void moveInList(int (MusicPlaylist::*move)());
    void buildWindow();
    void setState(PlayState state);
    void bindTexts();
    void connectOutput();
    // Starts the playlist's current item; the item must be playable.
    void startCurrent();
    // After a file ended or failed: the next one, or the end of the music.
    void advance();
    void endOfMusic();
    void onFinished();
    void onFailed(const QString &reason);
    void onPosition(qint64 ms);
    void onDuration(qint64 ms);
    void seekToSlider();

    // Names the files that next/previous/start passed over because they are gone.
    QList<MusicPlaylist::State> states() const;
    void reportPassedOver(const QList<MusicPlaylist::State> &before);
    void showMessage(const QString &text);
    void clearMessage();

    void refreshList();
    void refreshButtons();
    void refreshTime();
    int selectedRow() const;
    void selectRow(int row);

    void save();
    void scheduleSave();

    MusicOutput *m_output;
    MusicPlaylist m_list;
    QString m_optionsPath;
    PlayState m_state = PlayState::Stopped;
    qint64 m_position = 0;
    qint64 m_duration = 0;
    // Counts the files started and stops; a late report from the back end about an earlier
    // one is recognised by it.
    int m_generation = 0;

    QListWidget *m_view = nullptr;
    QLabel *m_nowPlaying = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_time = nullptr;
    QSlider *m_positionBar = nullptr;
    QSlider *m_volumeBar = nullptr;
    QLabel *m_volumeText = nullptr;
    QCheckBox *m_repeat = nullptr;
    QToolButton *m_add = nullptr;
    QToolButton *m_remove = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    QToolButton *m_previousButton = nullptr;
    QToolButton *m_playButton = nullptr;
    QToolButton *m_pauseButton = nullptr;
    QToolButton *m_stopButton = nullptr;
    QToolButton *m_nextButton = nullptr;
    QTimer *m_saveTimer = nullptr;
};
