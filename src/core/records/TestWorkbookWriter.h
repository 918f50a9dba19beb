#pragma once

#include "TestExportWriter.h"

#include <QString>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// An export as a spreadsheet workbook (.xlsx), one sheet, the header row bold and frozen.
// Rows are streamed to disk as they come (the library's constant-memory mode), so a base of
// any size fits; the workbook is made under a scratch name beside the target and renamed over
// it once complete.
class TestWorkbookWriter : public TestExportWriter {
public:
    ~TestWorkbookWriter() override;

    bool open(const QString &path, const QStringList &header, QString *error) override;
    bool writeRow(const QVariantList &cells) override;
    bool commit(QString *error) override;
    void discard() override;

private:
    bool writeCell(int column, const QVariant &value);

    QString m_path;
    QString m_scratch;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_date = nullptr;
    lxw_format *m_moment = nullptr;
    unsigned m_row = 0;
    int m_failure = 0; // the library's error code of the first failed write
};
