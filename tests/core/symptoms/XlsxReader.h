#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>

#include <zlib.h>

// Reads the parts of a workbook file (a zip archive) back, so tests can look at what was
// written: part name -> uncompressed bytes. Stored and deflated entries are understood.
namespace XlsxReader {

inline quint32 le32(const QByteArray &b, qsizetype at) {
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8 |
           quint32(uchar(b[at + 2])) << 16 | quint32(uchar(b[at + 3])) << 24;
}
inline quint16 le16(const QByteArray &b, qsizetype at) {
    return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8);
}

inline QByteArray inflateRaw(const QByteArray &data, quint32 size) {
    QByteArray out(qsizetype(size), '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

inline QHash<QString, QByteArray> parts(const QString &path) {
    QHash<QString, QByteArray> result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray zip = file.readAll();
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > zip.size())
        return result;
    const int entries = le16(zip, end + 10);
    qsizetype at = le32(zip, end + 16);
    for (int i = 0; i < entries && at + 46 <= zip.size(); ++i) {
        const quint16 method = le16(zip, at + 10);
        const quint32 packed = le32(zip, at + 20);
        const quint32 size = le32(zip, at + 24);
        const quint16 nameLength = le16(zip, at + 28);
        const quint16 extra = le16(zip, at + 30);
        const quint16 comment = le16(zip, at + 32);
        const quint32 local = le32(zip, at + 42);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        const qsizetype data =
            qsizetype(local) + 30 + le16(zip, local + 26) + le16(zip, local + 28);
        const QByteArray body = zip.mid(data, packed);
        result.insert(name, method == 0 ? body : inflateRaw(body, size));
        at += 46 + nameLength + extra + comment;
    }
    return result;
}

} // namespace XlsxReader
