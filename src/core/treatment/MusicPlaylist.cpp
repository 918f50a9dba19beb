#include "MusicPlaylist.h"

#include "common/IniFile.h"

#include <QFileInfo>
#include <QUrl>

namespace {

const QString keyCount = QStringLiteral("count");
const QString keyCurrent = QStringLiteral("current");
const QString keyVolume = QStringLiteral("volume");
const QString keyRepeat = QStringLiteral("repeat");
const QString keyFolder = QStringLiteral("folder");

// Percent-encoded UTF-8: plain ASCII in the file whatever the path holds (Cyrillic, "=", ";",
// quotes, blanks at either end, characters Windows-1251 cannot write).
QString encodePath(const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}

// A hand-written plain path decodes to itself as long as it holds no "%xx".
QString decodePath(const QString &text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

} // namespace

QString MusicPlaylist::path(int row) const
{
    return row >= 0 && row < count() ? m_items.at(row).path : QString();
}

QStringList MusicPlaylist::paths() const
{
    QStringList result;
    for (const Item &item : m_items)
        result.append(item.path);
    return result;
}

MusicPlaylist::State MusicPlaylist::state(int row) const
{
    return row >= 0 && row < count() ? m_items.at(row).state : State::Missing;
}

bool MusicPlaylist::isPlayable(int row) const
{
    return row >= 0 && row < count() && m_items.at(row).state == State::Ready;
}

bool MusicPlaylist::setCurrent(int row)
{
    if (row < -1 || row >= count())
        return false;
    m_current = row;
    return true;
}

void MusicPlaylist::setVolume(int percent)
{
    m_volume = qBound(0, percent, 100);
}

int MusicPlaylist::add(const QString &path)
{
    if (path.isEmpty())
        return -1;
    m_items.append({path, State::Ready});
    const int row = count() - 1;
    refresh(row);
    if (m_current < 0)
        m_current = row;
    return row;
}

bool MusicPlaylist::remove(int row)
{
    if (row < 0 || row >= count())
        return false;
    m_items.removeAt(row);
    if (m_current > row)
        --m_current;
    else if (m_current == row)
        // The item that took its place, or the new last one.
        m_current = qMin(row, count() - 1);
    return true;
}

bool MusicPlaylist::move(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count())
        return false;
    if (from == to)
        return true;
    m_items.move(from, to);
    if (m_current == from)
        m_current = to;
    else if (from < m_current && to >= m_current)
        --m_current;
    else if (from > m_current && to <= m_current)
        ++m_current;
    return true;
}

void MusicPlaylist::clear()
{
    m_items.clear();
    m_current = -1;
}

void MusicPlaylist::refresh()
{
    for (int row = 0; row < count(); ++row)
        refresh(row);
}

void MusicPlaylist::refresh(int row)
{
    if (row < 0 || row >= count())
        return;
    Item &item = m_items[row];
    const bool present = QFileInfo(item.path).isFile();
    if (!present)
        item.state = State::Missing;
    else if (item.state == State::Missing)
        item.state = State::Ready;
}

void MusicPlaylist::markFailed(int row)
{
    if (row >= 0 && row < count())
        m_items[row].state = State::Failed;
}

bool MusicPlaylist::choose(int row)
{
    if (row < 0 || row >= count())
        return false;
    m_items[row].state = State::Ready;
    refresh(row);
    m_current = row;
    return isPlayable(row);
}

int MusicPlaylist::findPlayable(int from, int step, int steps)
{
    const int n = count();
    for (int k = 0; k < steps; ++k) {
        const int row = ((from + k * step) % n + n) % n;
        refresh(row);
        if (isPlayable(row))
            return row;
    }
    return -1;
}

int MusicPlaylist::giveUp()
{
    if (findPlayable(0, 1, count()) < 0)
        m_current = -1;
    return -1;
}

int MusicPlaylist::next()
{
    if (isEmpty()) {
        m_current = -1;
        return -1;
    }
    const int from = m_current < 0 ? 0 : m_current + 1;
    const int steps = m_current < 0 || m_repeat ? count() : count() - 1 - m_current;
    const int found = findPlayable(from, 1, steps);
    if (found < 0)
        return giveUp();
    m_current = found;
    return found;
}

int MusicPlaylist::previous()
{
    if (isEmpty()) {
        m_current = -1;
        return -1;
    }
    const int from = m_current < 0 ? count() - 1 : m_current - 1;
    const int steps = m_current < 0 || m_repeat ? count() : m_current;
    const int found = findPlayable(from, -1, steps);
    if (found < 0)
        return giveUp();
    m_current = found;
    return found;
}

int MusicPlaylist::start()
{
    if (isEmpty()) {
        m_current = -1;
        return -1;
    }
    m_current = findPlayable(qMax(0, m_current), 1, count());
    return m_current;
}

MusicPlaylist MusicPlaylist::load(const IniFile &ini)
{
    MusicPlaylist list;
    const QString s = section();
    list.setVolume(ini.readInteger(s, keyVolume, DefaultVolume));
    list.m_repeat = ini.readBool(s, keyRepeat, false);
    list.m_folder = decodePath(ini.readString(s, keyFolder));
    // A count larger than the section could hold is damage, not a reason to look up a
    // billion keys.
    const int declared = ini.readInteger(s, keyCount, 0);
    const int n = qMin(declared, int(ini.keys(s).size()));
    for (int i = 1; i <= n; ++i) {
        const QString path = decodePath(ini.readString(s, QString::number(i)));
        if (!path.isEmpty())
            list.m_items.append({path, State::Ready});
    }
    list.refresh();
    if (!list.isEmpty()) {
        const int current = ini.readInteger(s, keyCurrent, 1) - 1;
        list.m_current = current >= 0 && current < list.count() ? current : 0;
    }
    return list;
}

void MusicPlaylist::store(IniFile &ini) const
{
    const QString s = section();
    // Numbered keys of a longer list stored before go.
    for (const QString &key : ini.keys(s)) {
        bool number = false;
        const int index = key.toInt(&number);
        if (number && (index < 1 || index > count()))
            ini.removeKey(s, key);
    }
    ini.writeInteger(s, keyCount, count());
    for (int i = 0; i < count(); ++i)
        ini.writeString(s, QString::number(i + 1), encodePath(m_items.at(i).path));
    ini.writeInteger(s, keyCurrent, m_current + 1);
    ini.writeInteger(s, keyVolume, m_volume);
    ini.writeInteger(s, keyRepeat, m_repeat ? 1 : 0);
    ini.writeString(s, keyFolder, encodePath(m_folder));
}
