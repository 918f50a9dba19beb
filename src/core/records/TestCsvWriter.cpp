#include "TestCsvWriter.h"

#include "common/ErrorOut.h"
#include "CsvText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

bool TestCsvWriter::open(const QString &path, const QStringList &header, QString *error)
{
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        setError(error, QStringLiteral("No file name was given."));
        return false;
    }
    m_file = std::make_unique<QSaveFile>(path);
    // Never write straight into the target, even in a folder that allows no new files.
    m_file->setDirectWriteFallback(false);
    if (!m_file->open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("Cannot write in %1: %2")
                            .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()),
                                 m_file->errorString()));
        m_file.reset();
        return false;
    }
    m_file->write("\xEF\xBB\xBF");
    return writeLine(header);
}

QString TestCsvWriter::cellText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QString:
        return CsvText::inert(value.toString());
    default:
        return value.toString();
    }
}

bool TestCsvWriter::writeRow(const QVariantList &cells)
{
    QStringList fields;
    fields.reserve(cells.size());
    for (const QVariant &cell : cells)
        fields.append(cellText(cell));
    return writeLine(fields);
}

bool TestCsvWriter::writeLine(const QStringList &fields)
{
    if (!m_file)
        return false;
    const QByteArray bytes = CsvText::line(fields).toUtf8();
    // A failed write (a full disk) is kept by the save file: commit() refuses and says why.
    return m_file->write(bytes) == bytes.size();
}

bool TestCsvWriter::commit(QString *error)
{
    if (!m_file) {
        setError(error, QStringLiteral("The file was not opened."));
        return false;
    }
    const QString path = m_file->fileName();
    const bool done = m_file->commit();
    if (!done)
        setError(error, QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(path), m_file->errorString()));
    m_file.reset();
    return done;
}

void TestCsvWriter::discard()
{
    if (m_file)
        m_file->cancelWriting();
    m_file.reset(); // an uncommitted save file removes its scratch file
}
