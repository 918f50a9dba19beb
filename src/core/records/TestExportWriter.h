#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// One export file being written. Nothing appears under the chosen name before commit()
// succeeds; discard() (or destruction without commit) leaves no trace of the new file.
class TestExportWriter {
public:
    virtual ~TestExportWriter() = default;

    virtual bool open(const QString &path, const QStringList &header, QString *error) = 0;
    // Cells as TestExportColumns::row gives them; false once writing has failed.
    virtual bool writeRow(const QVariantList &cells) = 0;
    virtual bool commit(QString *error) = 0;
    virtual void discard() = 0;
};
