#include "TestExport.h"

#include "TestCsvWriter.h"
#include "TestExportSource.h"
#include "TestWorkbookWriter.h"

#include <memory>

namespace {

std::unique_ptr<TestExportWriter> writerFor(TestExport::Format format) {
    if (format == TestExport::Format::Csv)
        return std::make_unique<TestCsvWriter>();
    return std::make_unique<TestWorkbookWriter>();
}

TestExport::Result failed(const QString &error) {
    TestExport::Result result;
    result.error = error;
    return result;
}

} // namespace

TestExport::Result TestExport::run(const Request &request, const Progress &progress) {
    const auto goOn = [&progress](qint64 done, qint64 total) {
        return !progress || progress(done, total);
    };
    QString error;
    TestExportSource source(request.basePath, request.client);
    if (!source.open(&error))
        return failed(error);
    const qint64 total = source.count(&error);
    if (total < 0)
        return failed(error);
    QHash<QString, ExportPerson> people;
    if (request.withPersonal) {
        people = source.people(&error);
        if (!error.isEmpty())
            return failed(error);
    }

    const TestExportColumns columns(request.labels, request.withPersonal, request.percent);
    const std::unique_ptr<TestExportWriter> writer = writerFor(request.format);
    if (!writer->open(request.target, columns.header(), &error))
        return failed(error);

    Result result;
    QList<TestRecord> chunk;
    bool more = goOn(0, total);
    while (more) {
        if (!source.next(chunk, ChunkSize, &error)) {
            writer->discard();
            return failed(error);
        }
        for (const TestRecord &test : std::as_const(chunk)) {
            const auto person = people.constFind(test.codeClient.toUpper());
            const bool written =
                writer->writeRow(columns.row(test, person == people.cend() ? nullptr : &*person));
            if (!written) {
                // The reason comes with the refused commit.
                if (writer->commit(&error) || error.isEmpty())
                    error = QStringLiteral("Cannot write %1.").arg(request.target);
                writer->discard();
                return failed(error);
            }
        }
        result.rows += chunk.size();
        if (chunk.isEmpty())
            break;
        more = goOn(result.rows, qMax(total, result.rows));
    }
    if (!more) {
        writer->discard();
        result.cancelled = true;
        return result;
    }
    if (!writer->commit(&error))
        return failed(error);
    result.ok = true;
    return result;
}
