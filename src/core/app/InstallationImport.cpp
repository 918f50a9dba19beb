#include "InstallationImport.h"

#include "AppPaths.h"
#include "common/DurableFile.h"
#include "common/ErrorOut.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "localization/Localization.h"
#include "records/DataModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

const QString StagedSuffix = QStringLiteral(".import");

// Whether the base has the two tables every base of this kind has.
bool hasClientTables(const QString &path, QString *error)
{
    const QString name = QStringLiteral("vandrel-import-check");
    bool ours = false;
    {
        QSqlDatabase db = DataModule::addConnection(name, path);
        if (db.open()) {
            QSqlQuery query(db);
            ours = query.exec(QStringLiteral(
                       "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN "
                       "('CLIENTS', 'TESTS')"))
                   && query.next() && query.value(0).toInt() == 2;
            if (!ours)
                setError(error, QStringLiteral("it is a database of another program: it has no "
                                               "table of clients and tests"));
        } else {
            setError(error, QStringLiteral("it cannot be opened"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ours;
}

} // namespace

QString InstallationImport::prepareBase(Prepared *result, const QString &target,
                                        const Gbak::Progress &progress,
                                        const Gbak::Cancelled &cancelled)
{
    const ImportSource::Findings &found = result->found;
    const QString shown = QDir::toNativeSeparators(found.basePath);
    QFile::remove(target); // left by an import that was cut off
    QString error;
    if (found.baseKind == ImportSource::BaseKind::Backup) {
        Gbak gbak;
        gbak.setProgress(progress);
        gbak.setCancelled(cancelled);
        if (!gbak.restore(found.basePath, target, &error)) {
            result->cancelled = gbak.wasCancelled();
            return QStringLiteral("The backup file %1 cannot be restored: %2").arg(shown, error);
        }
    } else if (!DurableFile::copy(found.basePath, target, &error)) {
        return QStringLiteral("The base %1 cannot be copied: %2").arg(shown, error);
    }
    if (!hasClientTables(target, &error))
        return QStringLiteral("The base %1 cannot be used: %2.").arg(shown, error);
    DataModule data;
    if (!data.open(target, &error))
        return QStringLiteral("The base %1 cannot be used: %2").arg(shown, error);
    const bool counted = BaseFacts::count(data.database(), &result->counts, &error);
    data.close();
    if (!counted)
        return QStringLiteral("The base %1 cannot be read: %2").arg(shown, error);
    return QString();
}

void InstallationImport::prepareSettings(Prepared *result)
{
    const QString languages = Localization::languagesFolder();
    result->languages = ImportSettings::languagesToAdd(result->found.languagePaths, languages,
                                                       &result->found.notes);
    IniFile options(AppPaths::dataFile(QStringLiteral("Options.ini")));
    const QString ownLanguage = options.readString(QStringLiteral("language"),
                                                   QStringLiteral("value"));
    result->hasOptions = !result->found.optionsPath.isEmpty();
    if (result->hasOptions)
        ImportSettings::mergeOptions(&options, IniFile(result->found.optionsPath),
                                     &result->found.notes);
    // The language named must be there once the import is done, else this one's stays.
    QString language = options.readString(QStringLiteral("language"), QStringLiteral("value"));
    bool present = QFileInfo::exists(languages + QLatin1Char('/') + language
                                     + QStringLiteral(".lang"));
    for (const ImportSettings::LanguageCopy &copy : std::as_const(result->languages))
        present = present
                  || QFileInfo(copy.name).completeBaseName().compare(language, Qt::CaseInsensitive)
                         == 0;
    if (!present && language != ownLanguage) {
        result->found.notes.append({QStringLiteral("ImportLanguageMissing"),
                                    QStringLiteral("The language \"%1\" chosen there has no file; "
                                                   "\"%2\" stays the language."),
                                    language, ownLanguage});
        options.writeString(QStringLiteral("language"), QStringLiteral("value"), ownLanguage);
        language = ownLanguage;
    }
    result->language = language;
    result->options = options.lines();
}

InstallationImport::Prepared InstallationImport::prepare(const QString &source,
                                                         const QString &basePath,
                                                         const Gbak::Progress &progress,
                                                         const Gbak::Cancelled &cancelled)
{
    Prepared result;
    result.found = ImportSource::inspect(source);
    if (!result.found.usable()) {
        QStringList reasons;
        for (const ImportSource::Note &note : std::as_const(result.found.notes))
            reasons.append(note.text());
        result.error = reasons.isEmpty() ? QStringLiteral("Nothing to import was found.")
                                         : reasons.join(QLatin1Char('\n'));
        return result;
    }
    const QString target = basePath + QStringLiteral(".imported");
    result.error = prepareBase(&result, target, progress, cancelled);
    if (!result.error.isEmpty()) {
        QFile::remove(target);
        return result;
    }
    result.preparedBase = target;
    prepareSettings(&result);
    result.ok = true;
    return result;
}

void InstallationImport::discard(const Prepared &prepared)
{
    if (!prepared.preparedBase.isEmpty())
        QFile::remove(prepared.preparedBase);
}

bool InstallationImport::apply(const Prepared &prepared, const QString &basePath, QString *error)
{
    if (!prepared.ok || !QFileInfo::exists(prepared.preparedBase)) {
        setError(error, QStringLiteral("The import was not prepared."));
        return false;
    }
    const QString options = AppPaths::dataFile(QStringLiteral("Options.ini"));
    const QString remember = AppPaths::dataFile(QStringLiteral("Remember.ini"));
    QStringList staged; // files written under a name of their own, or new
    QString failure;
    const auto undo = [&] {
        for (const QString &file : std::as_const(staged))
            QFile::remove(file);
        setError(error, failure + QStringLiteral(" Nothing was changed."));
        return false;
    };

    if (prepared.hasOptions) {
        staged.append(options + StagedSuffix);
        if (!TextFile::writeLines(staged.last(), prepared.options, &failure)
            || !DurableFile::sync(staged.last(), &failure))
            return undo();
    }
    if (!prepared.found.rememberPath.isEmpty()) {
        staged.append(remember + StagedSuffix);
        if (!DurableFile::copy(prepared.found.rememberPath, staged.last(), &failure))
            return undo();
    }
    const QString languages = Localization::languagesFolder();
    QDir().mkpath(languages);
    for (const ImportSettings::LanguageCopy &copy : prepared.languages) {
        staged.append(languages + QLatin1Char('/') + copy.name);
        if (!DurableFile::copy(copy.from, staged.last(), &failure))
            return undo();
    }
    if (!DurableFile::sync(prepared.preparedBase, &failure)
        || !DurableFile::replace(prepared.preparedBase, basePath, &failure))
        return undo();

    // The base is in place; the settings follow it. A rename in the same folder does not fail
    // short of the folder becoming unwritable, which the staging just showed it is not.
    QStringList notPlaced;
    if (prepared.hasOptions && !DurableFile::replace(options + StagedSuffix, options, &failure))
        notPlaced.append(failure);
    if (!prepared.found.rememberPath.isEmpty()
        && !DurableFile::replace(remember + StagedSuffix, remember, &failure))
        notPlaced.append(failure);
    if (!notPlaced.isEmpty()) {
        setError(error, QStringLiteral("The client base was imported, but not all settings: ")
                            + notPlaced.join(QLatin1Char(' ')));
        return false;
    }
    return true;
}
