#include "TestWorkbookWriter.h"

#include "common/ErrorOut.h"
#include "ZipStreamWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <charconv>
#include <filesystem>
#include <system_error>

namespace {

constexpr int MaxCellText = 32767;
constexpr qsizetype FlushAt = 1 << 18;
// Styles of styles.xml below, by index.
enum Style { Plain = 0, Bold = 1, DayStyle = 2, MomentStyle = 3 };

// The dates a sheet can show as dates; others are left empty.
bool inSheetRange(const QDate &day)
{
    return day.isValid() && day.year() >= 1900 && day.year() <= 9999;
}

// Days since the sheet's epoch, with its leap day of 1900 that never was.
double serial(const QDate &day, const QTime &time)
{
    qint64 days = QDate(1899, 12, 30).daysTo(day);
    if (day < QDate(1900, 3, 1))
        --days;
    return double(days) + double(time.msecsSinceStartOfDay()) / 86400000.0;
}

QByteArray columnName(int column)
{
    QByteArray name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(char('A' + (n - 1) % 26));
    return name;
}

template <typename T> void appendNumber(QByteArray &out, T value)
{
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

// Text as XML character data. Characters XML cannot hold, and a literal "_x" that a reader
// would take for one of them, are written in the sheet's own _xHHHH_ escape.
void appendText(QByteArray &out, const QString &text)
{
    const QString cut = text.left(MaxCellText);
    for (qsizetype i = 0; i < cut.size(); ++i) {
        const char16_t c = cut.at(i).unicode();
        switch (c) {
        case '&':
            out.append("&amp;");
            continue;
        case '<':
            out.append("&lt;");
            continue;
        case '>':
            out.append("&gt;");
            continue;
        case '_':
            if (i + 1 < cut.size()
                && (cut.at(i + 1) == QLatin1Char('x') || cut.at(i + 1) == QLatin1Char('X'))) {
                out.append("_x005F_");
                continue;
            }
            break;
        default:
            if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF) {
                out.append("_x");
                out.append(QByteArray::number(int(c), 16).rightJustified(4, '0').toUpper());
                out.append('_');
                continue;
            }
        }
        if (c < 0x80) {
            out.append(char(c));
        } else {
            // Runs of other characters go through UTF-8 together, pairs intact.
            qsizetype end = i + 1;
            while (end < cut.size() && cut.at(end).unicode() >= 0x80)
                ++end;
            out.append(QStringView(cut).mid(i, end - i).toUtf8());
            i = end - 1;
        }
    }
}

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/docProps/core.xml\" "
    "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
    "<Override PartName=\"/docProps/app.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
    "</Types>";

const char kRootRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/>"
    "<Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
    "core-properties\" Target=\"docProps/core.xml\"/>"
    "<Relationship Id=\"rId3\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "extended-properties\" Target=\"docProps/app.xml\"/>"
    "</Relationships>";

const char kApp[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Properties "
    "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
    "<Application>Vandrel</Application></Properties>";

const char kWorkbook[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"Tests\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";

const char kWorkbookRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "</Relationships>";

// Plain, bold (the header), a date and a moment.
const char kStyles[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"dd.mm.yyyy\"/>"
    "<numFmt numFmtId=\"165\" formatCode=\"dd.mm.yyyy hh:mm:ss\"/></numFmts>"
    "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
    "borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
    "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

const char kSheetStart[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" "
    "activePane=\"bottomLeft\" state=\"frozen\"/></sheetView></sheetViews><sheetData>";
const char kSheetEnd[] = "</sheetData></worksheet>";

QByteArray coreProperties()
{
    const QByteArray now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toLatin1();
    return QByteArrayLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/"
               "metadata/core-properties\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
               "<dcterms:created xsi:type=\"dcterms:W3CDTF\">")
           + now + QByteArrayLiteral("</dcterms:created></cp:coreProperties>");
}

// A name for the workbook beside the target, reserved so no one else takes it.
QString reserveScratch(const QFileInfo &target, QString *error)
{
    QTemporaryFile scratch(target.absolutePath() + QStringLiteral("/.tests-XXXXXX.xlsx"));
    scratch.setAutoRemove(false);
    if (!scratch.open()) {
        setError(error,
                 QStringLiteral("Cannot write in %1: %2")
                     .arg(QDir::toNativeSeparators(target.absolutePath()), scratch.errorString()));
        return QString();
    }
    return scratch.fileName();
}

} // namespace

TestWorkbookWriter::TestWorkbookWriter() = default;

TestWorkbookWriter::~TestWorkbookWriter()
{
    discard();
}

bool TestWorkbookWriter::open(const QString &path, const QStringList &header, QString *error)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir()) {
        setError(error, QStringLiteral("No file name was given."));
        return false;
    }
    m_path = path;
    m_scratch = reserveScratch(target, error);
    if (m_scratch.isEmpty())
        return false;
    m_file.setFileName(m_scratch);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setError(error, QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(m_path), m_file.errorString()));
        discard();
        return false;
    }
    m_zip = std::make_unique<ZipStreamWriter>(&m_file);
    m_failed =
        !(m_zip->addEntry("[Content_Types].xml", kContentTypes)
          && m_zip->addEntry("_rels/.rels", kRootRels) && m_zip->addEntry("docProps/app.xml", kApp)
          && m_zip->addEntry("docProps/core.xml", coreProperties())
          && m_zip->addEntry("xl/workbook.xml", kWorkbook)
          && m_zip->addEntry("xl/_rels/workbook.xml.rels", kWorkbookRels)
          && m_zip->addEntry("xl/styles.xml", kStyles)
          && m_zip->beginEntry("xl/worksheets/sheet1.xml"));
    if (m_failed) {
        setError(error, QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(m_path), m_zip->errorString()));
        discard();
        return false;
    }
    m_buffer.reserve(FlushAt + (1 << 16));
    m_buffer = kSheetStart;
    m_row = 1;
    appendRow(QVariantList(header.cbegin(), header.cend()), Bold);
    return flush(false);
}

void TestWorkbookWriter::appendRow(const QVariantList &cells, int style)
{
    // Rows follow each other and a cell its neighbour, so positions are implied; a cell after
    // an empty one names its place.
    m_buffer.append("<row>");
    m_gap = false;
    for (int column = 0; column < cells.size(); ++column)
        appendCell(column, cells.at(column), style);
    m_buffer.append("</row>");
    ++m_row;
}

void TestWorkbookWriter::appendCell(int column, const QVariant &value, int style)
{
    while (m_columns.size() <= column)
        m_columns.append(columnName(int(m_columns.size())));
    auto start = [&](const char *type, int cellStyle) {
        m_buffer.append("<c");
        if (m_gap) {
            m_buffer.append(" r=\"");
            m_buffer.append(m_columns.at(column));
            appendNumber(m_buffer, m_row);
            m_buffer.append('"');
            m_gap = false;
        }
        if (cellStyle != Plain) {
            m_buffer.append(" s=\"");
            appendNumber(m_buffer, cellStyle);
            m_buffer.append('"');
        }
        m_buffer.append(type);
    };
    switch (value.typeId()) {
    case QMetaType::Int:
        start("><v>", style);
        appendNumber(m_buffer, value.toInt());
        m_buffer.append("</v></c>");
        return;
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        // Date and time apart: a whole local date-time would ask the time zone for each cell.
        const bool moment = value.typeId() == QMetaType::QDateTime;
        const QDateTime stamp = moment ? value.toDateTime() : QDateTime();
        const QDate day = moment ? stamp.date() : value.toDate();
        if (!inSheetRange(day)) {
            m_gap = true; // an empty cell rather than a wrong date
            return;
        }
        start("><v>", moment ? MomentStyle : DayStyle);
        appendNumber(m_buffer, serial(day, moment ? stamp.time() : QTime(0, 0)));
        m_buffer.append("</v></c>");
        return;
    }
    default: {
        const QString text = value.toString();
        if (text.isEmpty()) {
            m_gap = true;
            return;
        }
        start(" t=\"inlineStr\"><is><t xml:space=\"preserve\">", style);
        appendText(m_buffer, text);
        m_buffer.append("</t></is></c>");
        return;
    }
    }
}

bool TestWorkbookWriter::flush(bool force)
{
    if (m_failed || !m_zip)
        return false;
    if (!force && m_buffer.size() < FlushAt)
        return true;
    m_failed = !m_zip->write(m_buffer);
    m_buffer.clear();
    return !m_failed;
}

bool TestWorkbookWriter::writeRow(const QVariantList &cells)
{
    if (m_failed || !m_zip)
        return false;
    appendRow(cells, Plain);
    return flush(false);
}

bool TestWorkbookWriter::commit(QString *error)
{
    if (!m_zip) {
        setError(error, QStringLiteral("The workbook was not started."));
        return false;
    }
    m_buffer.append(kSheetEnd);
    const bool written = flush(true) && m_zip->endEntry() && m_zip->finish();
    // Closing flushes the file; a full disk or a vanished folder shows here.
    QString reason = written ? QString() : m_zip->errorString();
    if (written && (!m_file.flush() || m_file.error() != QFileDevice::NoError))
        reason = m_file.errorString();
    m_file.close();
    if (reason.isEmpty() && m_file.error() != QFileDevice::NoError)
        reason = m_file.errorString();
    if (!written && reason.isEmpty())
        reason = QStringLiteral("unknown error");
    if (!reason.isEmpty()) {
        discard();
        setError(
            error,
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(m_path), reason));
        return false;
    }
    m_zip.reset();
    // A rename within one folder replaces an earlier export in one step.
    std::error_code renameError;
    std::filesystem::rename(QFile::encodeName(m_scratch).toStdString(),
                            QFile::encodeName(m_path).toStdString(), renameError);
    if (renameError) {
        discard();
        setError(error, QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(m_path),
                                 QString::fromStdString(renameError.message())));
        return false;
    }
    m_scratch.clear();
    // The scratch file was private to the user; a workbook is an ordinary document.
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                      | QFile::ReadOther);
    return true;
}

void TestWorkbookWriter::discard()
{
    m_zip.reset();
    if (m_file.isOpen())
        m_file.close();
    m_buffer.clear();
    if (!m_scratch.isEmpty()) {
        QFile::remove(m_scratch);
        m_scratch.clear();
    }
}
