#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QIODevice;

// A zip archive written front to back into a device, each entry deflated as it is written
// (level 1: an export is made to be read once, quickly), so an entry of any length never
// sits in memory. Sizes and checksums follow each entry in a data descriptor. Entries and the
// archive are limited to 4 GB (no zip64); a larger entry fails rather than being cut.
class ZipStreamWriter
{
public:
    explicit ZipStreamWriter(QIODevice *out, const QDateTime &stamp = QDateTime::currentDateTime());
    ~ZipStreamWriter();

    bool beginEntry(const QByteArray &name);
    bool write(const char *data, qsizetype size);
    bool write(const QByteArray &data) { return write(data.constData(), data.size()); }
    bool endEntry();
    // One entry written whole.
    bool addEntry(const QByteArray &name, const QByteArray &data);
    // The central directory; the device is left open for the caller to close.
    bool finish();

    QString errorString() const { return m_error; }

private:
    struct Entry
    {
        QByteArray name;
        quint32 crc = 0;
        quint64 packed = 0;
        quint64 size = 0;
        quint64 offset = 0;
    };
    struct Deflater;

    bool put(const QByteArray &bytes);
    bool deflate(const char *data, qsizetype size, bool last);
    bool fail(const QString &message);

    QIODevice *m_out;
    quint16 m_dosTime = 0;
    quint16 m_dosDate = 0;
    quint64 m_written = 0;
    QList<Entry> m_entries;
    std::unique_ptr<Deflater> m_deflater; // set while an entry is open
    QString m_error;
};
