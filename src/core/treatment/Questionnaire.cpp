#include "Questionnaire.h"

#include "app/AppPaths.h"
#include "common/TextFile.h"

#include <QFileInfo>

namespace {

const QString kEnglish = QStringLiteral("English");

bool readFile(const QString &path, QStringList *lines)
{
    return !path.isEmpty() && QFileInfo(path).isFile() && TextFile::readLines(path, lines);
}

} // namespace

QString Questionnaire::filePath(const QString &language, const QString &name)
{
    for (const QString &folder : {language, kEnglish}) {
        if (folder.isEmpty() || folder.contains(QLatin1Char('/')) || folder.contains(QLatin1String("..")))
            continue;
        const QString path = AppPaths::installFile(QStringLiteral("main/%1/%2").arg(folder, name));
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

Questionnaire Questionnaire::load(const QString &language, QStringList *missing)
{
    QStringList groups;
    QStringList symptoms;
    if (!readFile(filePath(language, groupFileName()), &groups) && missing)
        missing->append(QStringLiteral("main/%1/%2").arg(language, groupFileName()));
    if (!readFile(filePath(language, symptomFileName()), &symptoms) && missing)
        missing->append(QStringLiteral("main/%1/%2").arg(language, symptomFileName()));
    return fromLines(groups, symptoms);
}

Questionnaire Questionnaire::fromLines(const QStringList &groupLines,
                                       const QStringList &symptomLines)
{
    Questionnaire q;
    for (const QString &line : groupLines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        bool ok = false;
        const int course = line.left(eq).trimmed().toInt(&ok);
        const QString caption = line.mid(eq + 1).trimmed();
        if (ok && course > 0 && !caption.isEmpty())
            q.m_groups.append({course, caption});
    }

    bool full = false; // a page beyond the last one is being skipped
    for (const QString &line : symptomLines) {
        const QStringList fields = line.split(QLatin1Char('='));
        if (fields.size() < 3)
            continue;
        const QString caption = fields.at(0).trimmed();
        const QString title = fields.at(2).trimmed();
        if (title != QLatin1String("*")) {
            full = q.m_pages.size() >= MaxPages;
            if (!full)
                q.m_pages.append({title, {}});
        } else if (q.m_pages.isEmpty()) {
            q.m_pages.append({QString(), {}}); // symptoms before any title: an untitled page
        }
        if (full || caption.isEmpty())
            continue;
        q.m_pages.last().symptoms.append({caption, fields.at(1).trimmed()});
    }
    return q;
}

int Questionnaire::controlCount() const
{
    int count = int(m_groups.size());
    for (const Page &page : m_pages)
        count += int(page.symptoms.size());
    return count;
}
