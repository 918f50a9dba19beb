#include "ReportFiles.h"

#include "app/AppPaths.h"
#include "ReportScript.h"
#include "ReportTemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ReportFiles {

namespace {
const QString kDataName = QStringLiteral("Result.js");
}

QString pagePath()
{
    return AppPaths::dataFile(QStringLiteral("Print.html"));
}

QString dataPath()
{
    return AppPaths::dataFile(kDataName);
}

QString pictureFolder()
{
    QString folder = AppPaths::dataFile(QStringLiteral("print_pict"));
    QDir().mkpath(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString picturePath(ReportSections::Picture picture)
{
    return pictureFolder() + ReportSections::pictureFile(picture);
}

bool writePage(const ReportTemplate &page, QString *error)
{
    // A data file copied from another installation may be spelt otherwise; the page must
    // load the file that is really there.
    const QString reference = QStringLiteral("src=\"") + kDataName + QLatin1Char('"');
    const QString actual =
        QStringLiteral("src=\"") + QFileInfo(dataPath()).fileName() + QLatin1Char('"');
    QString text;
    for (const QString &line : page.lines()) {
        QString l = line;
        l.replace(reference, actual);
        text += l + QStringLiteral("\r\n");
    }
    QSaveFile file(pagePath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write("\xEF\xBB\xBF");
        file.write(text.toUtf8());
        if (file.commit())
            return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}

bool writeData(const ReportScript &script, QString *error)
{
    return script.save(dataPath(), error);
}

QString bandPictureFile(const QString &band, int index)
{
    return band + QStringLiteral("_") + QString::number(index) + QStringLiteral(".png");
}

void removePictures()
{
    using namespace ReportSections;
    for (const Picture p : {CirclePicture, HistogramPicture, GeneralPicture, ColourPicture,
                            FrequencyPicture, ProgressPicture})
        QFile::remove(picturePath(p));
    const QDir folder(pictureFolder());
    for (const QString &file : folder.entryList(
             {QStringLiteral("header_*.png"), QStringLiteral("footer_*.png")}, QDir::Files))
        QFile::remove(folder.filePath(file));
    QFile::remove(AppPaths::dataFile(QStringLiteral("print_pict/graph.bmp")));
    QFile::remove(AppPaths::dataFile(QStringLiteral("graph.bmp")));
}

} // namespace ReportFiles
