#include "StartFileCheck.h"

#include "AppPaths.h"
#include "DotCatalogue.h"
#include "localization/Localization.h"
#include "PasswordCopy.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "symptoms/DesDotsCatalogue.h"
#include "symptoms/InquirerFile.h"
#include "treatment/AtlasPoints.h"

#include <QDir>
#include <QStringList>

namespace {

QString problemText(const IniFileCheck::Result &result)
{
    using P = IniFileCheck::Problem;
    switch (result.problem) {
    case P::Missing:
        return Localization::translateOr(QStringLiteral("FileMissing"),
                                         QStringLiteral("is missing"));
    case P::Unreadable:
        return Localization::translateOr(QStringLiteral("FileUnreadable"),
                                         QStringLiteral("cannot be read (a folder is in its place, "
                                                        "or reading it is not allowed)"));
    case P::Empty:
        return Localization::translateOr(QStringLiteral("FileEmpty"), QStringLiteral("is empty"));
    case P::NotText:
        return Localization::translateOr(QStringLiteral("FileNotText"),
                                         QStringLiteral("is not a text file"));
    case P::NotWindows1251:
        return Localization::translateOr(QStringLiteral("FileNotWindows1251"),
                                         QStringLiteral("is not written in the Windows-1251 code "
                                                        "page"));
    case P::Garbled:
        return Localization::translateOr(QStringLiteral("FileGarbled"),
                                         QStringLiteral("has %1 lines that are neither sections "
                                                        "nor settings"))
            .arg(result.badLines);
    case P::None:
        break;
    }
    return Localization::translateOr(QStringLiteral("FileLostPassword"),
                                     QStringLiteral("holds no start password"));
}

QString fallbackText(StartFileCheck::Fallback fallback)
{
    using F = StartFileCheck::Fallback;
    switch (fallback) {
    case F::Settings:
        return Localization::translateOr(QStringLiteral("UsedSettings"),
                                         QStringLiteral("the settings that could be read, the "
                                                        "standard ones for the rest"));
    case F::Remembered:
        return Localization::translateOr(QStringLiteral("UsedRemembered"),
                                         QStringLiteral("the timers and remembered choices that "
                                                        "could be read"));
    case F::EnglishTexts:
        return Localization::translateOr(QStringLiteral("UsedEnglishTexts"),
                                         QStringLiteral("the built-in English texts where it "
                                                        "could not be read"));
    case F::Catalogue:
        return Localization::translateOr(QStringLiteral("UsedCatalogue"),
                                         QStringLiteral("what could be read of it"));
    }
    return QString();
}

} // namespace

QList<StartFileCheck::Finding> StartFileCheck::run()
{
    QList<Finding> findings;
    // The data folder's files come back from the install folder when missing; one missing
    // all the same was set aside by its reader, which says so itself.
    const auto check = [&findings](const QString &path, Fallback fallback) {
        if (path.isEmpty())
            return;
        const IniFileCheck::Result result = IniFileCheck::inspect(path);
        const bool dataFile = fallback == Fallback::Settings || fallback == Fallback::Remembered;
        if (!result.whole() && !(dataFile && result.problem == IniFileCheck::Problem::Missing))
            findings.append({path, result, fallback, false});
    };

    const QString options = AppPaths::dataFile(QStringLiteral("Options.ini"));
    check(options, Fallback::Settings);
    bool fromCopy = false;
    PasswordCopy::load(options, &fromCopy);
    if (fromCopy) {
        if (findings.isEmpty())
            findings.append({options, {}, Fallback::Settings, true});
        else
            findings.first().passwordFromCopy = true;
    }
    check(AppPaths::dataFile(QStringLiteral("Remember.ini")), Fallback::Remembered);

    const QString language = Localization::currentLanguage();
    check(Localization::languageFilePath(language), Fallback::EnglishTexts);
    if (language.compare(Localization::englishName(), Qt::CaseInsensitive) != 0)
        check(Localization::languageFilePath(Localization::englishName()), Fallback::EnglishTexts);

    check(DotCatalogue::defaultPath(), Fallback::Catalogue);
    check(ChannelCatalogue::defaultPath(), Fallback::Catalogue);
    check(AppPaths::installFile(DesDotsCatalogue::fileName()), Fallback::Catalogue);
    check(AppPaths::installFile(AtlasPoints::fileName()), Fallback::Catalogue);
    check(InquirerFile::pathFor(language), Fallback::Catalogue);
    return findings;
}

QString StartFileCheck::message(const QList<Finding> &findings)
{
    if (findings.isEmpty())
        return QString();
    QStringList lines;
    lines.append(Localization::translateOr(QStringLiteral("DamagedFiles"),
                                           QStringLiteral("Some files could not be read as they "
                                                          "should be. The workstation goes on "
                                                          "with what it has:")));
    const QString used = Localization::translateOr(QStringLiteral("UsedInstead"),
                                                   QStringLiteral("used instead: %1"));
    for (const Finding &finding : findings) {
        QString line =
            QStringLiteral("\n• %1 %2")
                .arg(QDir::toNativeSeparators(finding.path), problemText(finding.result));
        if (!finding.result.whole())
            line += QStringLiteral("; ") + used.arg(fallbackText(finding.fallback));
        line += QLatin1Char('.');
        if (finding.passwordFromCopy)
            line += QLatin1Char(' ')
                    + Localization::translateOr(QStringLiteral("UsedPasswordCopy"),
                                                QStringLiteral("The start password is still "
                                                               "asked: its copy in %1 stands in."))
                          .arg(QDir::toNativeSeparators(PasswordCopy::pathFor(finding.path)));
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}
