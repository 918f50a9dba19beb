#include "ZipStreamWriter.h"

#include <QIODevice>

#include <zlib.h>

#include <limits>

namespace {

constexpr quint64 ZipLimit = std::numeric_limits<quint32>::max();
constexpr quint16 NeedVersion = 20;
constexpr quint16 DescriptorFlag = 0x0008;
constexpr quint16 Deflated = 8;
constexpr int OutChunk = 1 << 16;

void le16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void le32(QByteArray &b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

struct ZipStreamWriter::Deflater
{
    z_stream stream{};
    Entry entry;
    QByteArray out = QByteArray(OutChunk, Qt::Uninitialized);
};

ZipStreamWriter::ZipStreamWriter(QIODevice *out, const QDateTime &stamp)
    : m_out(out)
{
    // DOS time: two-second steps, years from 1980.
    const QDate day = stamp.date();
    const QTime time = stamp.time();
    if (day.isValid() && day.year() >= 1980 && day.year() <= 2107) {
        m_dosDate = quint16(((day.year() - 1980) << 9) | (day.month() << 5) | day.day());
        m_dosTime = quint16((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    } else {
        m_dosDate = quint16((1 << 5) | 1);
    }
}

ZipStreamWriter::~ZipStreamWriter()
{
    if (m_deflater)
        deflateEnd(&m_deflater->stream);
}

bool ZipStreamWriter::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

bool ZipStreamWriter::put(const QByteArray &bytes)
{
    if (!m_error.isEmpty())
        return false;
    if (m_out->write(bytes) != bytes.size())
        return fail(m_out->errorString());
    m_written += quint64(bytes.size());
    return true;
}

bool ZipStreamWriter::beginEntry(const QByteArray &name)
{
    if (m_deflater || !m_error.isEmpty())
        return fail(QStringLiteral("The archive is not ready for another entry."));
    if (m_written > ZipLimit)
        return fail(QStringLiteral("The archive is larger than 4 GB."));
    auto deflater = std::make_unique<Deflater>();
    deflater->entry.name = name;
    deflater->entry.offset = m_written;
    deflater->entry.crc = quint32(crc32(0, nullptr, 0));
    // Raw deflate (negative window bits): the zip headers carry what zlib's own would.
    if (deflateInit2(&deflater->stream, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return fail(QStringLiteral("The compressor could not be started."));
    m_deflater = std::move(deflater);
    QByteArray header;
    le32(header, 0x04034b50);
    le16(header, NeedVersion);
    le16(header, DescriptorFlag);
    le16(header, Deflated);
    le16(header, m_dosTime);
    le16(header, m_dosDate);
    le32(header, 0); // crc and sizes follow the data
    le32(header, 0);
    le32(header, 0);
    le16(header, quint16(name.size()));
    le16(header, 0);
    header.append(name);
    return put(header);
}

bool ZipStreamWriter::deflate(const char *data, qsizetype size, bool last)
{
    z_stream &z = m_deflater->stream;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    z.avail_in = uInt(size);
    int result = Z_OK;
    do {
        z.next_out = reinterpret_cast<Bytef *>(m_deflater->out.data());
        z.avail_out = OutChunk;
        result = ::deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (result == Z_STREAM_ERROR)
            return fail(QStringLiteral("The compressor failed."));
        const qsizetype produced = OutChunk - qsizetype(z.avail_out);
        if (produced > 0 && !put(QByteArray::fromRawData(m_deflater->out.constData(), produced)))
            return false;
        m_deflater->entry.packed += quint64(produced);
    } while (z.avail_out == 0 || (last && result != Z_STREAM_END));
    return true;
}

bool ZipStreamWriter::write(const char *data, qsizetype size)
{
    if (!m_deflater)
        return fail(QStringLiteral("No entry is open."));
    if (!m_error.isEmpty())
        return false;
    Entry &e = m_deflater->entry;
    // zlib counts in 32 bits: large blocks go in pieces.
    constexpr qsizetype Piece = 1 << 30;
    for (qsizetype done = 0; done < size;) {
        const qsizetype piece = qMin(Piece, size - done);
        e.crc = quint32(crc32(e.crc, reinterpret_cast<const Bytef *>(data + done), uInt(piece)));
        e.size += quint64(piece);
        if (e.size > ZipLimit)
            return fail(QStringLiteral("An entry of the archive is larger than 4 GB."));
        if (!deflate(data + done, piece, false))
            return false;
        done += piece;
    }
    return true;
}

bool ZipStreamWriter::endEntry()
{
    if (!m_deflater)
        return fail(QStringLiteral("No entry is open."));
    const bool flushed = m_error.isEmpty() && deflate(nullptr, 0, true);
    deflateEnd(&m_deflater->stream);
    const Entry entry = m_deflater->entry;
    m_deflater.reset();
    if (!flushed)
        return false;
    if (entry.packed > ZipLimit)
        return fail(QStringLiteral("An entry of the archive is larger than 4 GB."));
    QByteArray descriptor;
    le32(descriptor, 0x08074b50);
    le32(descriptor, entry.crc);
    le32(descriptor, quint32(entry.packed));
    le32(descriptor, quint32(entry.size));
    m_entries.append(entry);
    return put(descriptor);
}

bool ZipStreamWriter::addEntry(const QByteArray &name, const QByteArray &data)
{
    return beginEntry(name) && write(data) && endEntry();
}

bool ZipStreamWriter::finish()
{
    if (m_deflater)
        return fail(QStringLiteral("An entry is still open."));
    const quint64 start = m_written;
    QByteArray directory;
    for (const Entry &e : std::as_const(m_entries)) {
        le32(directory, 0x02014b50);
        le16(directory, NeedVersion);
        le16(directory, NeedVersion);
        le16(directory, DescriptorFlag);
        le16(directory, Deflated);
        le16(directory, m_dosTime);
        le16(directory, m_dosDate);
        le32(directory, e.crc);
        le32(directory, quint32(e.packed));
        le32(directory, quint32(e.size));
        le16(directory, quint16(e.name.size()));
        le16(directory, 0); // extra
        le16(directory, 0); // comment
        le16(directory, 0); // disk
        le16(directory, 0); // internal attributes
        le32(directory, 0); // external attributes
        le32(directory, quint32(e.offset));
        directory.append(e.name);
    }
    if (start + quint64(directory.size()) > ZipLimit)
        return fail(QStringLiteral("The archive is larger than 4 GB."));
    le32(directory, 0x06054b50);
    le16(directory, 0);
    le16(directory, 0);
    le16(directory, quint16(m_entries.size()));
    le16(directory, quint16(m_entries.size()));
    le32(directory, quint32(directory.size() - 0)); // patched below
    le32(directory, quint32(start));
    le16(directory, 0);
    // The directory's size excludes the 22-byte end record itself.
    const quint32 size = quint32(directory.size() - 22);
    for (int i = 0; i < 4; ++i)
        directory[directory.size() - 10 + i] = char((size >> (8 * i)) & 0xFF);
    return put(directory);
}
