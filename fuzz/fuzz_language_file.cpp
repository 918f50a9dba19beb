// Language files: the file itself (in memory), the texts the windows are given when it is
// applied and the lookup of messages at the moment they are shown (both from the languages
// folder).

#include "FuzzScratch.h"

#include "common/Cp1251.h"
#include "localization/LanguageDefaults.h"
#include "localization/LanguageFile.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"

#include <QSet>

namespace {

const QString kName = QStringLiteral("Fuzz");

// Each lookup reads the section from its start, so a sample of keys is looked up: the first
// ones and then every 50th.
bool sampled(int index)
{
    return index < 20 || index % 50 == 0;
}

void checkFile(const LanguageFile &file)
{
    QSet<QString> seen;
    int index = 0;
    for (const auto &[key, value] : file.textLines()) {
        const QString folded = key.toCaseFolded();
        const bool first = !seen.contains(folded);
        seen.insert(folded);
        if (!first || !sampled(index++))
            continue;
        FUZZ_CHECK(file.hasText(key));
        FUZZ_CHECK(file.text(key) == value);
        FUZZ_CHECK(file.lookup(key) == value);
        bool found = false;
        file.findAnywhere(key, &found);
        FUZZ_CHECK(found);
    }
    file.font().htmlCharsetDeclaration();
    file.displayName();
}

// Applied, the file leaves no known text empty: a missing or empty text shows the built-in one.
void checkApplied(const LanguageFile &file)
{
    const LanguageTexts texts = LanguageTexts::fromFile(file, kName);
    for (const QString &key : LanguageDefaults::keys()) {
        if (!LanguageDefaults::defaultText(key).isEmpty())
            FUZZ_CHECK(!texts.text(key).isEmpty());
    }
    texts.displayName();
    texts.locale();
}

// Looked up when shown, a text the file has is the file's text.
void checkShown(const LanguageFile &file)
{
    const Localization localization(kName);
    QSet<QString> seen;
    int index = 0;
    for (const auto &[key, value] : file.textLines()) {
        if (sampled(index++) && !seen.contains(key.toCaseFolded()) && !value.isEmpty())
            FUZZ_CHECK(localization.lookup(key) == value);
        seen.insert(key.toCaseFolded());
    }
    localization.lookup(QStringLiteral("lang1"));
    Localization::fieldMessage(localization.lookup(QStringLiteral("FieldTooLong")),
                               QStringLiteral("Name"), 30);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const LanguageFile file = LanguageFile::fromText(Cp1251::decode(bytes));
    checkFile(file);
    checkApplied(file);

    FuzzScratch::writeFile(Localization::languagesFolder() + QLatin1Char('/') + kName
                               + QStringLiteral(".lang"),
                           bytes);
    const LanguageTexts loaded = LanguageTexts::load(kName);
    FUZZ_CHECK(loaded.fileFound());
    checkShown(file);
    return 0;
}
