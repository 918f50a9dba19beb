#pragma once

#include "TestExportWriter.h"

#include <QSaveFile>

#include <memory>

// An export as CSV: UTF-8 with a byte order mark, so that spreadsheet programs on Windows read
// Cyrillic names as such instead of guessing the local code page; comma-separated, CR LF line
// ends, dates as yyyy-MM-dd and moments as yyyy-MM-dd hh:mm:ss. Written through a save file,
// so the chosen name only ever holds a complete export.
class TestCsvWriter : public TestExportWriter {
public:
    bool open(const QString &path, const QStringList &header, QString *error) override;
    bool writeRow(const QVariantList &cells) override;
    bool commit(QString *error) override;
    void discard() override;

    // The text of one cell.
    static QString cellText(const QVariant &value);

private:
    bool writeLine(const QStringList &fields);

    std::unique_ptr<QSaveFile> m_file;
};
