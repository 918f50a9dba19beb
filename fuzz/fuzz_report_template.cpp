// The report's page template (Q7/Print.html in the install folder): read, given the language's
// character-set line and written to the data folder as the page of a report. The page must
// load the data file by the name it really has there.

#include "FuzzScratch.h"

#include "localization/LanguageFont.h"
#include "reports/ReportFiles.h"
#include "reports/ReportTemplate.h"

#include <QFile>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    // A data file copied from another installation, spelt otherwise.
    static const bool dataFileMade = [] {
        FuzzScratch::writeFile(FuzzScratch::dataFolder() + QStringLiteral("RESULT.js"), QByteArray("var r;"));
        return true;
    }();
    Q_UNUSED(dataFileMade);
    FuzzScratch::writeFile(FuzzScratch::installFolder() + QStringLiteral("/Q7/Print.html"), data, size);

    ReportTemplate page = ReportTemplate::load();
    const qsizetype read = page.lines().size();
    LanguageFont font;
    font.charset = 204;
    page.setCharsetLine(font.htmlCharsetDeclaration());
    FUZZ_CHECK(page.lines().size() == std::max<qsizetype>(read, ReportTemplate::CharsetLine + 1));
    FUZZ_CHECK(page.lines().at(ReportTemplate::CharsetLine) == font.htmlCharsetDeclaration());

    QString error;
    FUZZ_CHECK(ReportFiles::writePage(page, &error));
    QFile written(ReportFiles::pagePath());
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    FUZZ_CHECK(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    FUZZ_CHECK(text.contains(font.htmlCharsetDeclaration()));
    FUZZ_CHECK(!text.contains(QLatin1String("src=\"Result.js\"")));
    return 0;
}
