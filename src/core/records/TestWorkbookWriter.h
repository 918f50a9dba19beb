#pragma once

#include "TestExportWriter.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

class ZipStreamWriter;

// An export as a spreadsheet workbook (.xlsx), one sheet, the header row bold and frozen.
// The sheet's XML is written as the rows come, straight into the deflated zip entry, so a base
// of any size fits in little memory; text cells are inline strings, numbers numbers, dates
// dates. The workbook is made under a scratch name beside the target and renamed over it once
// complete.
class TestWorkbookWriter : public TestExportWriter
{
public:
    TestWorkbookWriter();
    ~TestWorkbookWriter() override;

    bool open(const QString &path, const QStringList &header, QString *error) override;
    bool writeRow(const QVariantList &cells) override;
    bool commit(QString *error) override;
    void discard() override;

private:
    void appendRow(const QVariantList &cells, int style);
    void appendCell(int column, const QVariant &value, int style);
    bool flush(bool force);

    QString m_path;
    QString m_scratch;
    QFile m_file;
    std::unique_ptr<ZipStreamWriter> m_zip;
    QByteArray m_buffer;         // sheet XML waiting to be deflated
    QList<QByteArray> m_columns; // column letters by index
    unsigned m_row = 0;
    bool m_gap = false; // a cell of the row was left empty since the last one written
    bool m_failed = false;
};
