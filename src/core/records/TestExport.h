#pragma once

#include "TestExportColumns.h"

#include <QString>

#include <functional>

// Writes stored tests out for the practitioner's own statistics: the current client's or every
// client's, to .xlsx or CSV, one row per test (see TestExportColumns). Reads the base through
// its own connection, a chunk at a time, so it can run on a worker thread; the chosen file
// name holds either a complete export or stays as it was.
class TestExport {
public:
    enum class Format { Xlsx, Csv };

    struct Request {
        QString basePath; // the base the program has open
        QString target;   // the file to write
        Format format = Format::Xlsx;
        QString client;           // empty: every client
        bool withPersonal = true; // names and contact data
        int percent = 10;         // the corridor percentage
        TestExportLabels labels;
    };

    struct Result {
        bool ok = false;
        bool cancelled = false;
        qint64 rows = 0;
        QString error; // why it failed; empty when cancelled
    };

    // Called before the first chunk and after each one; returning false stops the export.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    static constexpr int ChunkSize = 1000;

    static Result run(const Request &request, const Progress &progress = {});
};
