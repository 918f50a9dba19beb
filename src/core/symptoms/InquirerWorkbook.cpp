#include "InquirerWorkbook.h"

#include "common/ErrorOut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

namespace {
// A cell holds at most this many characters.
constexpr int kMaxCellText = 32767;

QByteArray cellText(const QString &text)
{
    return text.left(kMaxCellText).toUtf8();
}

// The dates the spreadsheet can show as dates; others are written as text.
bool inSheetRange(const QDate &day)
{
    return day.isValid() && day.year() >= 1900 && day.year() <= 9999;
}

void add(QList<InquirerWorkbook::Cell> &cells, int row, int column, const QVariant &value)
{
    const bool empty = !value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty())
                       || (value.typeId() == QMetaType::QDate && !value.toDate().isValid())
                       || (value.typeId() == QMetaType::QTime && !value.toTime().isValid());
    if (!empty)
        cells.append({row, column, value});
}
} // namespace

QList<InquirerWorkbook::Answer>
InquirerWorkbook::answerRows(const QList<InquirerItem> &items, InquirerCategories::Range range,
                             const QList<int> &answers)
{
    QList<Answer> rows;
    for (int index = range.lo; index < range.hi; ++index) {
        const InquirerItem item = index < items.size() ? items.at(index) : InquirerItem();
        const int k = answers.value(index - range.lo);
        rows.append({item.text, k >= 1 ? item.answers.value(k - 1) : QString()});
    }
    return rows;
}

QList<InquirerWorkbook::Cell> InquirerWorkbook::cells(const Labels &l, const ClientCard &client,
                                                      const QDateTime &moment,
                                                      const QList<Answer> &answers)
{
    QList<Cell> c;
    add(c, 1, 1, l.title);
    const QList<std::pair<QString, QVariant>> card = {
        {l.clientId, client.code},
        {l.date, moment.date()},
        {l.time, moment.isValid() ? QVariant(moment.time()) : QVariant()},
    };
    int row = 3;
    for (const auto &[label, value] : card) {
        add(c, row, 1, label);
        add(c, row, 2, value);
        ++row;
    }
    const QList<std::pair<QString, QVariant>> person = {
        {l.name, client.name},       {l.surname, client.surname}, {l.birthday, client.birthday},
        {l.country, client.country}, {l.city, client.city},       {l.zip, client.index1},
        {l.phone, client.tel2},      {l.cellPhone, client.tel3},  {l.fax, QString()},
        {l.eMail, client.eMail},
    };
    row = 7;
    for (const auto &[label, value] : person) {
        add(c, row, 1, label);
        add(c, row, 2, value);
        ++row;
    }
    add(c, 18, 1, l.answers);
    for (int j = 1; j <= answers.size(); ++j) {
        add(c, 20 + j, 1, answers.at(j - 1).question);
        add(c, 20 + j, 2, answers.at(j - 1).answer);
    }
    return c;
}

QString InquirerWorkbook::sheetName(const QString &wanted)
{
    QString name = wanted;
    for (QChar &ch : name) {
        if (QStringLiteral("[]:*?/\\").contains(ch) || ch.category() == QChar::Other_Control)
            ch = QLatin1Char(' ');
    }
    name = name.simplified().left(31);
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

bool InquirerWorkbook::write(const QString &path, const QString &sheet, const QList<Cell> &cells,
                             QString *error)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir()) {
        setError(error, QStringLiteral("No file name was given."));
        return false;
    }
    // The workbook goes to a scratch file beside the target first, so a failure never leaves a
    // half-written file where the user expects the old one.
    QTemporaryFile scratch(target.absolutePath() + QStringLiteral("/.inquirer-XXXXXX.xlsx"));
    if (!scratch.open()) {
        setError(error, QStringLiteral("Cannot write in %1: %2")
                            .arg(QDir::toNativeSeparators(target.absolutePath()), scratch.errorString()));
        return false;
    }
    const QString scratchPath = scratch.fileName();
    scratch.close();

    lxw_workbook *book = workbook_new(QFile::encodeName(scratchPath).constData());
    if (!book) {
        setError(error, QStringLiteral("Cannot start the workbook."));
        return false;
    }
    lxw_worksheet *ws = workbook_add_worksheet(book, sheetName(sheet).toUtf8().constData());
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "dd.mm.yyyy");
    format_set_align(dateFormat, LXW_ALIGN_LEFT);
    lxw_format *timeFormat = workbook_add_format(book);
    format_set_num_format(timeFormat, "hh:mm:ss");
    format_set_align(timeFormat, LXW_ALIGN_LEFT);
    lxw_format *wrap = workbook_add_format(book);
    format_set_text_wrap(wrap);
    format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);
    if (ws) {
        worksheet_set_column(ws, 0, 0, 45, wrap);
        worksheet_set_column(ws, 1, 1, 45, wrap);
    }

    lxw_error failed = ws ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (const Cell &cell : cells) {
        if (failed != LXW_NO_ERROR)
            break;
        const lxw_row_t row = lxw_row_t(cell.row - 1);
        const lxw_col_t col = lxw_col_t(cell.column - 1);
        const bool heading = cell.column == 1 && (cell.row == 1 || cell.row == 18);
        switch (cell.value.typeId()) {
        case QMetaType::QDate: {
            const QDate d = cell.value.toDate();
            if (inSheetRange(d)) {
                lxw_datetime when = {d.year(), d.month(), d.day(), 0, 0, 0.0};
                failed = worksheet_write_datetime(ws, row, col, &when, dateFormat);
            } else {
                failed = worksheet_write_string(ws, row, col,
                                                cellText(d.toString(QStringLiteral("dd.MM.yyyy"))).constData(),
                                                nullptr);
            }
            break;
        }
        case QMetaType::QTime: {
            const QTime t = cell.value.toTime();
            lxw_datetime when = {0, 0, 0, t.hour(), t.minute(), double(t.second())};
            failed = worksheet_write_datetime(ws, row, col, &when, timeFormat);
            break;
        }
        default:
            failed = worksheet_write_string(ws, row, col, cellText(cell.value.toString()).constData(),
                                            heading ? bold : wrap);
            break;
        }
    }
    const lxw_error closed = workbook_close(book); // frees the workbook in any case
    if (failed == LXW_NO_ERROR)
        failed = closed;
    if (failed != LXW_NO_ERROR) {
        QFile::remove(scratchPath);
        setError(error, QStringLiteral("Cannot write the workbook: ")
                            + QString::fromUtf8(lxw_strerror(failed)));
        return false;
    }
    if (QFile::exists(path) && !QFile::remove(path)) {
        QFile::remove(scratchPath);
        setError(error, QStringLiteral("Cannot replace %1.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!QFile::rename(scratchPath, path)) {
        QFile::remove(scratchPath);
        setError(error, QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    // The scratch file was made private to the user; a workbook is an ordinary document.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                    | QFile::ReadOther);
    return true;
}
