// What the language service sends: the list of languages, and a language file that is turned
// into Windows-1251, checked, installed and opened in the translation editor.

#include "FuzzScratch.h"

#include "localization/LanguageDraft.h"
#include "localization/LanguageService.h"
#include "localization/Localization.h"

#include <QFile>

namespace {

const QString kName = QStringLiteral("Fuzz");

void checkList(const QByteArray &bytes)
{
    const QStringList names = LanguageService::parseList(bytes);
    for (const QString &name : names) {
        FUZZ_CHECK(Localization::isLanguageName(name));
        FUZZ_CHECK(name == name.trimmed());
    }
}

void checkDraft(const LanguageDraft &draft)
{
    FUZZ_CHECK(!draft.rows().isEmpty());
    for (const LanguageDraft::Row &row : draft.rows())
        FUZZ_CHECK(!row.key.isEmpty());
    const int last = int(draft.rows().size()) - 1;
    for (const QString &needle : {QStringLiteral("a"), draft.rows().constLast().text})
        FUZZ_CHECK(draft.findNext(needle, last) < int(draft.rows().size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkList(bytes);

    QString problem;
    if (!LanguageService::toWindows1251(&bytes, &problem))
        return 0;
    if (!LanguageService::isLanguageFile(bytes))
        return 0;

    const QString path = Localization::languagesFolder() + QLatin1Char('/') + kName + QStringLiteral(".lang");
    FuzzScratch::writeFile(path, bytes);
    FUZZ_CHECK(Localization::availableLanguages().contains(kName));
    FUZZ_CHECK(Localization::languageFilePath(kName) == path);

    LanguageDraft draft = LanguageDraft::load(kName);
    checkDraft(draft);
    LanguageDraft::parseCharset(QString::number(draft.charset()));

    QFile::remove(path);
    return 0;
}
