#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;

// The music played during a therapy session: an ordered list of audio files, the current one,
// the volume and whether the list repeats. Files that have gone (a removed stick, a renamed
// folder) and files the player could not play are passed over by next/previous, and a list in
// which nothing can be played ends with no current item instead of going round for ever.
//
// Kept in Options.ini, section [Player]: count, 1..count (paths percent-encoded, so any
// character survives the Windows-1251 file and the INI rules), current (1-based, 0 for none),
// volume, repeat and the folder last added from.
class MusicPlaylist
{
public:
    enum class State { Ready, Missing, Failed };

    static constexpr int DefaultVolume = 70;
    static QString section() { return QStringLiteral("Player"); }

    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    QString path(int row) const;
    QStringList paths() const;
    State state(int row) const;
    bool isPlayable(int row) const;

    // -1 when there is no current item.
    int current() const { return m_current; }
    // Any row of the list, or -1; false (nothing changed) for a row out of range.
    bool setCurrent(int row);

    bool repeat() const { return m_repeat; }
    void setRepeat(bool on) { m_repeat = on; }
    int volume() const { return m_volume; }
    void setVolume(int percent);
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }

    // Appends a file (a file already in the list is added again: a practitioner may want a
    // piece twice); returns its row, or -1 for an empty path. The first file becomes current.
    int add(const QString &path);
    bool remove(int row);
    // Moves the item at `from` to position `to`; the current item stays the same file.
    bool move(int from, int to);
    void clear();

    // Looks at the disk again: a file that is back becomes playable, one that is gone is
    // marked missing. Failed files stay failed until they are chosen by hand (setCurrent
    // through choose()) or added anew.
    void refresh();
    void refresh(int row);
    // The player could not play this file.
    void markFailed(int row);
    // The practitioner chose a row: it is tried again even if it failed before.
    bool choose(int row);

    // The next / previous playable item after / before the current one, going round the end
    // of the list only with repeat on (then the current item itself comes again last). The
    // found item becomes current and is returned. When none is found, -1 is returned and the
    // current item stays, unless nothing at all can be played: then there is no current item.
    int next();
    int previous();
    // The item Play should start: the current one if playable, else the next playable one
    // from there on, going round the list whatever the repeat flag; -1 (and no current item)
    // when nothing can be played.
    int start();

    static MusicPlaylist load(const IniFile &ini);
    // Replaces the [Player] section's keys; other sections are left as they are.
    void store(IniFile &ini) const;

private:
    struct Item
    {
        QString path;
        State state = State::Ready;
    };
    int findPlayable(int from, int step, int steps);
    int giveUp();

    QList<Item> m_items;
    int m_current = -1;
    bool m_repeat = false;
    int m_volume = DefaultVolume;
    QString m_folder;
};
