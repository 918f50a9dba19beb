#include "TestWorkbookWriter.h"

#include "common/ErrorOut.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <filesystem>
#include <system_error>

namespace {

constexpr int MaxCellText = 32767;

// The dates a sheet can show as dates; others are written as text.
bool inSheetRange(const QDate &day) {
    return day.isValid() && day.year() >= 1900 && day.year() <= 9999;
}

lxw_datetime sheetMoment(const QDate &day, const QTime &time) {
    return {day.year(),  day.month(),   day.day(),
            time.hour(), time.minute(), time.second() + time.msec() / 1000.0};
}

// A name for the workbook beside the target, reserved so no one else takes it.
QString reserveScratch(const QFileInfo &target, QString *error) {
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

TestWorkbookWriter::~TestWorkbookWriter() {
    discard();
}

bool TestWorkbookWriter::open(const QString &path, const QStringList &header, QString *error) {
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir()) {
        setError(error, QStringLiteral("No file name was given."));
        return false;
    }
    m_path = path;
    m_scratch = reserveScratch(target, error);
    if (m_scratch.isEmpty())
        return false;
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    options.tmpdir = const_cast<char *>(folder.constData());
    m_book = workbook_new_opt(QFile::encodeName(m_scratch).constData(), &options);
    m_sheet = m_book ? workbook_add_worksheet(m_book, "Tests") : nullptr;
    if (!m_sheet) {
        discard();
        setError(error, QStringLiteral("Cannot start the workbook."));
        return false;
    }
    m_bold = workbook_add_format(m_book);
    format_set_bold(m_bold);
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "dd.mm.yyyy");
    m_moment = workbook_add_format(m_book);
    format_set_num_format(m_moment, "dd.mm.yyyy hh:mm:ss");
    worksheet_freeze_panes(m_sheet, 1, 0);
    for (int column = 0; column < header.size(); ++column) {
        const QByteArray text = header.at(column).toUtf8();
        worksheet_write_string(m_sheet, 0, lxw_col_t(column), text.constData(), m_bold);
    }
    m_row = 1;
    return true;
}

bool TestWorkbookWriter::writeRow(const QVariantList &cells) {
    if (!m_sheet || m_failure != LXW_NO_ERROR)
        return false;
    for (int column = 0; column < cells.size(); ++column) {
        if (!writeCell(column, cells.at(column)))
            return false;
    }
    ++m_row;
    return true;
}

bool TestWorkbookWriter::writeCell(int column, const QVariant &value) {
    lxw_error result = LXW_NO_ERROR;
    const lxw_col_t col = lxw_col_t(column);
    switch (value.typeId()) {
    case QMetaType::Int:
        result = worksheet_write_number(m_sheet, m_row, col, value.toInt(), nullptr);
        break;
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        if (!inSheetRange(moment.date()))
            return true; // an empty cell rather than a wrong date
        lxw_datetime when = sheetMoment(moment.date(), moment.time());
        result = worksheet_write_datetime(m_sheet, m_row, col, &when, m_moment);
        break;
    }
    case QMetaType::QDate: {
        const QDate day = value.toDate();
        if (!inSheetRange(day))
            return true;
        lxw_datetime when = sheetMoment(day, QTime(0, 0));
        result = worksheet_write_datetime(m_sheet, m_row, col, &when, m_date);
        break;
    }
    default: {
        const QString text = value.toString();
        if (text.isEmpty())
            return true;
        result = worksheet_write_string(m_sheet, m_row, col,
                                        text.left(MaxCellText).toUtf8().constData(), nullptr);
        break;
    }
    }
    m_failure = result;
    return result == LXW_NO_ERROR;
}

bool TestWorkbookWriter::commit(QString *error) {
    if (!m_book) {
        setError(error, QStringLiteral("The workbook was not started."));
        return false;
    }
    // Closing writes the workbook out; a full disk or a vanished folder shows here.
    const lxw_error closed = workbook_close(m_book);
    m_book = nullptr;
    m_sheet = nullptr;
    const lxw_error failed = m_failure != LXW_NO_ERROR ? lxw_error(m_failure) : closed;
    if (failed != LXW_NO_ERROR) {
        discard();
        setError(error, QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(m_path),
                                 QString::fromUtf8(lxw_strerror(failed))));
        return false;
    }
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
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
    return true;
}

void TestWorkbookWriter::discard() {
    if (m_book) {
        workbook_close(m_book); // frees the workbook; what it wrote is removed below
        m_book = nullptr;
        m_sheet = nullptr;
    }
    if (!m_scratch.isEmpty()) {
        QFile::remove(m_scratch);
        m_scratch.clear();
    }
}
