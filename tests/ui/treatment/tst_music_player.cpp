// The music player window as a practitioner uses it during a session: files added through the
// file dialog, removed and reordered, the list still there after the window was closed or the
// program restarted, one file after another, files that have gone or will not play named in
// red and passed over without a dialog, and the keyboard. A scripted back end stands in for
// the sound card; one case runs the real media back end and only asks that it never stalls.
#include "app/DataFolderSetup.h"
#include "ChildWidget.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "TestEnvironment.h"
#include "treatment/MediaMusicOutput.h"
#include "treatment/MusicOutput.h"
#include "treatment/MusicPlayerForm.h"
#include "treatment/TreatmentPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

namespace {

// Plays nothing; says what it was asked and fails the files it is told to.
class ScriptedOutput : public MusicOutput
{
public:
    using MusicOutput::MusicOutput;

    void play(const QString &path) override
    {
        played.append(QFileInfo(path).fileName());
        if (refuse.contains(QFileInfo(path).fileName()))
            Q_EMIT failed(
                QStringLiteral("unsupported format")); // from inside the call, as a back end may
        else
            Q_EMIT durationChanged(185000);
    }
    void pause() override { calls.append(QStringLiteral("pause")); }
    void resume() override { calls.append(QStringLiteral("resume")); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    void seek(qint64 ms) override { calls.append(QStringLiteral("seek %1").arg(ms)); }
    void setVolume(int percent) override { volume = percent; }
    void end() { Q_EMIT finished(); }

    QStringList played;
    QStringList calls;
    QStringList refuse;
    int volume = -1;
};

} // namespace

class TestMusicPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void addRemoveAndKeepTheList();
    void playsOneFileAfterAnother();
    void goneAndBadFilesAreNamedAndPassedOver();
    void allFilesBadEndsTheMusic();
    void keyboard();
    void openedFromTheTreatmentPage();
    void realBackEndNeverStalls();

private:
    QString makeFile(const QString &name, const QByteArray &content = "ID3\x03") const
    {
        const QString path = m_env->scratch(QStringLiteral("music")) + QLatin1Char('/') + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(content);
        return path;
    }
    // A window with its own scripted output and the given files in its list.
    MusicPlayerForm *makePlayer(const QStringList &names = {})
    {
        m_output = new ScriptedOutput;
        auto *form = new MusicPlayerForm(nullptr, m_output);
        QStringList paths;
        for (const QString &name : names)
            paths.append(makeFile(name));
        form->appendFiles(paths);
        return form;
    }
    static QStringList listed(QWidget *form)
    {
        return itemTexts(child<QListWidget>(form, "PlayList"));
    }
    int modalDialogs() const
    {
        int n = 0;
        for (const Dialogs::Request &r : m_dialogs->requests())
            n += r.kind == Dialogs::Kind::Message || r.kind == Dialogs::Kind::Error
                 || r.kind == Dialogs::Kind::Question;
        return n;
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DialogRecorder> m_dialogs;
    ScriptedOutput *m_output = nullptr;
};

void TestMusicPlayer::init()
{
    m_env = std::make_unique<TestEnvironment>();
    DataFolderSetup::run();
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("English")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_dialogs = std::make_unique<DialogRecorder>(QString());
}

void TestMusicPlayer::cleanup()
{
    m_dialogs.reset();
    m_env.reset();
}

void TestMusicPlayer::addRemoveAndKeepTheList()
{
    std::unique_ptr<MusicPlayerForm> form(makePlayer());
    QVERIFY(form->windowFlags().testFlag(Qt::Tool));
    form->show();
    // The buttons that show only a picture say what they do.
    for (const char *name :
         {"UpBtn", "DownBtn", "PlayBtn", "PauseBtn", "StopBtn", "PrevBtn", "NextBtn"})
        QVERIFY2(!child<QToolButton>(form.get(), name)->toolTip().isEmpty(), name);

    const QString first = makeFile(QStringLiteral("Ocean waves.mp3"));
    const QString second = makeFile(QStringLiteral("Лесной ручей.ogg"));
    m_dialogs->setAnswer(first + QLatin1Char('\n') + second);
    child<QToolButton>(form.get(), "AddBtn")->click();
    QCOMPARE(m_dialogs->requests().size(), 1);
    const Dialogs::Request asked = m_dialogs->requests().first();
    QCOMPARE(asked.kind, Dialogs::Kind::OpenFiles);
    QVERIFY2(asked.text.startsWith(QLatin1String("MP3 Audio File (*.mp3);;")),
             qPrintable(asked.text));
    QVERIFY2(asked.text.contains(QLatin1String("(*.mp3 *.ogg *.wav *.flac *.m4a)")),
             qPrintable(asked.text));
    QCOMPARE(listed(form.get()), (QStringList{"Ocean waves.mp3", "Лесной ручей.ogg"}));

    // A cancelled dialog adds nothing.
    m_dialogs->setAnswer(QString());
    child<QToolButton>(form.get(), "AddBtn")->click();
    QCOMPARE(form->playlist().count(), 2);
    // The next dialog opens where the files came from.
    QCOMPARE(m_dialogs->requests().last().folder, QFileInfo(first).absolutePath());

    auto *view = child<QListWidget>(form.get(), "PlayList");
    view->setCurrentRow(0);
    child<QToolButton>(form.get(), "RemoveBtn")->click();
    QCOMPARE(listed(form.get()), QStringList{"Лесной ручей.ogg"});
    child<QSlider>(form.get(), "VolumeBar")->setValue(40);
    QCOMPARE(m_output->volume, 40);
    child<QCheckBox>(form.get(), "RepeatBox")->setChecked(true);

    // Closed and opened again: the same window, the same list.
    form->close();
    form->show();
    QCOMPARE(listed(form.get()), QStringList{"Лесной ручей.ogg"});

    // The program started anew: everything read back from Options.ini.
    form.reset();
    std::unique_ptr<MusicPlayerForm> again(makePlayer());
    QCOMPARE(listed(again.get()), QStringList{"Лесной ручей.ogg"});
    QCOMPARE(again->playlist().path(0), second);
    QCOMPARE(child<QSlider>(again.get(), "VolumeBar")->value(), 40);
    QCOMPARE(m_output->volume, 40);
    QVERIFY(child<QCheckBox>(again.get(), "RepeatBox")->isChecked());
    QCOMPARE(modalDialogs(), 0);
}

void TestMusicPlayer::playsOneFileAfterAnother()
{
    std::unique_ptr<MusicPlayerForm> form(makePlayer({"1.mp3", "2.mp3", "3.mp3"}));
    form->show();
    child<QToolButton>(form.get(), "PlayBtn")->click();
    QCOMPARE(form->playState(), MusicPlayerForm::PlayState::Playing);
    QCOMPARE(m_output->played, QStringList{"1.mp3"});
    QCOMPARE(child<QLabel>(form.get(), "TimeLabel")->text(), QStringLiteral("0:00 / 3:05"));

    m_output->end();
    QTRY_COMPARE(m_output->played, (QStringList{"1.mp3", "2.mp3"}));
    m_output->end();
    QTRY_COMPARE(m_output->played.size(), 3);
    // The last one ends without repeat: the music stops and Play starts the list again.
    m_output->end();
    QTRY_COMPARE(form->playState(), MusicPlayerForm::PlayState::Stopped);
    QCOMPARE(m_output->played.size(), 3);
    child<QToolButton>(form.get(), "PlayBtn")->click();
    QCOMPARE(m_output->played.last(), QStringLiteral("1.mp3"));

    // Pause keeps the place; Stop, then Next only moves the mark.
    child<QToolButton>(form.get(), "PauseBtn")->click();
    QCOMPARE(form->playState(), MusicPlayerForm::PlayState::Paused);
    child<QToolButton>(form.get(), "PlayBtn")->click();
    QCOMPARE(m_output->calls.mid(m_output->calls.size() - 2), (QStringList{"pause", "resume"}));
    child<QToolButton>(form.get(), "StopBtn")->click();
    const int plays = m_output->played.size();
    child<QToolButton>(form.get(), "NextBtn")->click();
    QCOMPARE(form->playlist().current(), 1);
    QCOMPARE(m_output->played.size(), plays);

    // An end reported for a file already left behind changes nothing.
    form->play();
    m_output->end();
    form->next();
    QTest::qWait(20);
    QCOMPARE(m_output->played.mid(plays), (QStringList{"2.mp3", "3.mp3"}));
}

void TestMusicPlayer::goneAndBadFilesAreNamedAndPassedOver()
{
    std::unique_ptr<MusicPlayerForm> form(
        makePlayer({"calm.mp3", "gone.mp3", "broken.mp3", "rain.mp3"}));
    m_output->refuse = QStringList{"broken.mp3"};
    form->show();
    QVERIFY(QFile::remove(form->playlist().path(1)));

    form->play();
    m_output->end();
    // gone.mp3 is passed over at once; broken.mp3 fails in the back end; rain.mp3 plays.
    QTRY_COMPARE(m_output->played, (QStringList{"calm.mp3", "broken.mp3", "rain.mp3"}));
    QCOMPARE(form->playState(), MusicPlayerForm::PlayState::Playing);
    const QString message = form->messageText();
    QVERIFY2(message.contains(QLatin1String("gone.mp3"))
                 && message.contains(QLatin1String("broken.mp3")),
             qPrintable(message));
    QVERIFY(message.contains(QLatin1String("unsupported format")));
    auto *line = child<QLabel>(form.get(), "PlayerMessage");
    QVERIFY(line->isVisible());
    QVERIFY(line->styleSheet().contains(QLatin1String("#c62828")));
    auto *view = child<QListWidget>(form.get(), "PlayList");
    for (int row : {1, 2})
        QCOMPARE(view->item(row)->foreground().color(), QColor(0xc6, 0x28, 0x28));
    QCOMPARE(view->item(0)->foreground().style(), Qt::NoBrush);
    QCOMPARE(modalDialogs(), 0);

    // Chosen by hand, a file that has gone is named and nothing plays.
    const int plays = m_output->played.size();
    form->playRow(1);
    QCOMPARE(m_output->played.size(), plays);
    QVERIFY(form->messageText().contains(QLatin1String("gone.mp3")));

    // A stored list with a file that has gone since says so when the window opens.
    form.reset();
    std::unique_ptr<MusicPlayerForm> again(makePlayer());
    QVERIFY(again->messageText().contains(QLatin1String("gone.mp3")));
    QCOMPARE(modalDialogs(), 0);
}

void TestMusicPlayer::allFilesBadEndsTheMusic()
{
    std::unique_ptr<MusicPlayerForm> form(makePlayer({"a.mp3", "b.mp3", "c.mp3"}));
    m_output->refuse = QStringList{"a.mp3", "b.mp3", "c.mp3"};
    child<QCheckBox>(form.get(), "RepeatBox")->setChecked(true);
    form->play();
    QTRY_COMPARE(form->playState(), MusicPlayerForm::PlayState::Stopped);
    QTest::qWait(50);
    QCOMPARE(m_output->played, (QStringList{"a.mp3", "b.mp3", "c.mp3"})); // each tried once
    QVERIFY(form->messageText().contains(QLatin1String("No file in the list can be played.")));
    QCOMPARE(form->playlist().current(), -1);
    QCOMPARE(modalDialogs(), 0);
}

void TestMusicPlayer::keyboard()
{
    std::unique_ptr<MusicPlayerForm> form(makePlayer({"a.mp3", "b.mp3", "c.mp3"}));
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *view = child<QListWidget>(form.get(), "PlayList");
    view->setFocus();
    view->setCurrentRow(1);

    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(form->playState(), MusicPlayerForm::PlayState::Playing);
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(form->playState(), MusicPlayerForm::PlayState::Paused);
    // Space on a focused check box still plays rather than ticking it.
    auto *repeat = child<QCheckBox>(form.get(), "RepeatBox");
    repeat->setFocus();
    QTest::keyClick(repeat, Qt::Key_Space);
    QCOMPARE(form->playState(), MusicPlayerForm::PlayState::Playing);
    QVERIFY(!repeat->isChecked());

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(listed(form.get()), (QStringList{"b.mp3", "a.mp3", "c.mp3"}));
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(listed(form.get()), (QStringList{"a.mp3", "c.mp3"}));
    // Enter plays the chosen file.
    view->setCurrentRow(1);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(m_output->played.last(), QStringLiteral("c.mp3"));
}

void TestMusicPlayer::openedFromTheTreatmentPage()
{
    auto *page = new TreatmentPanel(nullptr, nullptr, nullptr, nullptr);
    page->resize(1100, 600);
    page->show();
    child<QPushButton>(page, "MusicBtn")->click();
    MusicPlayerForm *player = page->findChild<MusicPlayerForm *>(QStringLiteral("TPlayer"));
    QVERIFY(player);
    QVERIFY(player->isVisible());
    QCOMPARE(player->parent(), page);
    // The page moves on to another mode: the music window stays.
    page->hide();
    QVERIFY(player->isVisible());
    page->show();
    player->close();
    child<QPushButton>(page, "MusicBtn")->click();
    QCOMPARE(page->findChildren<MusicPlayerForm *>().size(), 1);
    // The page goes with the main window, and the window with it.
    QPointer<MusicPlayerForm> watch(player);
    delete page;
    QVERIFY(watch.isNull());
}

void TestMusicPlayer::realBackEndNeverStalls()
{
    // Not audio: whatever the machine's sound set-up, the back end must say so.
    const QString junk = makeFile(QStringLiteral("not audio.mp3"), QByteArray(4096, '\x5a'));
    const QString gone = makeFile(QStringLiteral("after.mp3"));
    MusicPlayerForm form(nullptr, new MediaMusicOutput);
    form.appendFiles({junk, gone});
    QVERIFY(QFile::remove(gone));
    form.show();
    form.play();
    QTRY_VERIFY_WITH_TIMEOUT(form.messageText().contains(QLatin1String("not audio.mp3")), 10000);
    QTRY_COMPARE(form.playState(), MusicPlayerForm::PlayState::Stopped);
    QCOMPARE(form.playlist().state(0), MusicPlaylist::State::Failed);
    QCOMPARE(modalDialogs(), 0);
}

QTEST_MAIN(TestMusicPlayer)
#include "tst_music_player.moc"
