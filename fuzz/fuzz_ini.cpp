// INI files: the reader itself, Options.ini as every setting reads it from the data folder, and
// the reference tables' Names.INI. What the settings page saves must read back as it was.

#include "FuzzScratch.h"

#include "app/AppPaths.h"
#include "app/MeasuringOrder.h"
#include "app/SettingsValues.h"
#include "app/StartPassword.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "localization/LanguageService.h"
#include "localization/Localization.h"
#include "measure/Correction.h"
#include "records/ClientSync.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/CorridorPercent.h"
#include "ryodoraku/TableCatalogue.h"
#include "treatment/MusicPlaylist.h"
#include "treatment/OpenPointCalendar.h"
#include "treatment/PowerRules.h"

#include <QDir>
#include <QSet>

namespace {

// Lookups agree with the listings: every listed section and key is found, and the first line
// of a key is the value read for it.
void checkListings(const IniFile &ini)
{
    for (const QString &section : ini.sections()) {
        FUZZ_CHECK(ini.hasSection(section));
        QSet<QString> seen;
        for (const auto &[key, value] : ini.entries(section)) {
            FUZZ_CHECK(ini.hasKey(section, key));
            const QString folded = key.toCaseFolded();
            if (!seen.contains(folded)) {
                seen.insert(folded);
                FUZZ_CHECK(ini.readString(section, key) == value);
            }
        }
        for (const QString &key : ini.keys(section))
            FUZZ_CHECK(ini.hasKey(section, key));
    }
}

// Writing a key keeps the rest and reads back; removing the only line of a key removes it.
void checkEdits(const IniFile &read)
{
    IniFile ini = read;
    const QString section = QStringLiteral("FuzzSection");
    ini.writeString(section, QStringLiteral("Key"), QStringLiteral("written"));
    FUZZ_CHECK(ini.readString(section, QStringLiteral("key")) == QLatin1String("written"));
    ini.writeInteger(section, QStringLiteral("Number"), -17);
    FUZZ_CHECK(ini.readInteger(section, QStringLiteral("Number"), 0) == -17);
    FUZZ_CHECK(ini.readString(section, QStringLiteral("Key")) == QLatin1String("written"));
    for (const QString &other : read.sections()) {
        if (other.compare(section, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(ini.entries(other) == read.entries(other));
    }
}

// A file saved unchanged reads back line for line.
void checkSaved(const IniFile &ini, const QString &path)
{
    bool storable = true;
    for (const QString &line : ini.lines())
        storable = storable && Cp1251::canEncode(line);
    if (!storable)
        return; // the one byte Windows-1251 leaves unassigned; saving refuses such text
    QString error;
    FUZZ_CHECK(ini.saveAs(path, &error));
    FUZZ_CHECK(IniFile(path).lines() == ini.lines());
}

void checkOptionReaders(const IniFile &options)
{
    const Correction correction = Correction::load(options);
    IniFile copy = options;
    correction.save(copy);
    FUZZ_CHECK(Correction::load(copy) == correction);

    const PowerRules rules = PowerRules::load(options);
    copy = options;
    rules.save(copy);
    FUZZ_CHECK(PowerRules::load(copy).rules() == rules.rules());
    for (const double hz : {0.0, 1.0, 9.5, 1000.0, 10000.0})
        rules.powerFor(hz);

    const MeasuringOrder order = MeasuringOrder::load(options);
    copy = options;
    if (order.save(copy)) {
        const MeasuringOrder again = MeasuringOrder::load(copy);
        for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
            for (const auto side : {MeasuringOrder::Left, MeasuringOrder::Right})
                FUZZ_CHECK(again.orderOf(row, side) == order.orderOf(row, side));
        }
    }
    for (int point = 1; point <= MeasuringOrder::Points; ++point)
        order.cellOf(point);

    // Paths are stored so that any character survives the file.
    const MusicPlaylist playlist = MusicPlaylist::load(options);
    copy = options;
    playlist.store(copy);
    const MusicPlaylist reread = MusicPlaylist::load(copy);
    FUZZ_CHECK(reread.paths() == playlist.paths());
    FUZZ_CHECK(reread.current() == playlist.current());
    FUZZ_CHECK(reread.volume() == playlist.volume());
    FUZZ_CHECK(reread.repeat() == playlist.repeat());
    FUZZ_CHECK(reread.folder() == playlist.folder());

    const SettingsValues values = SettingsValues::load(options);
    values.shownMeridianNames();
    copy = options;
    values.save(copy);

    const StartPassword password = StartPassword::load(options);
    password.required();
    // A stored hash costs up to seconds to check; only the plain-text form is tried.
    if (password.isLegacyPlainText())
        password.matches(QStringLiteral("fuzz"));
}

// The readers that open Options.ini in the data folder themselves.
void checkStoredOptions()
{
    CorridorEvaluation::parsePercent(CorridorPercent::stored());
    Correction::loadStored();
    LanguageService::configuredUrl();
    Localization::currentLanguage();
    OpenPointCalendar::dayBeginsAt23();
    ClientSync::configuredTarget();
}

// Titles of the reference tables: a few table files, titled from the input.
void checkTableTitles(const QString &root)
{
    const TableCatalogue catalogue = TableCatalogue::load(QStringLiteral("Fuzz"), root);
    FUZZ_CHECK(catalogue.tables().size() == 3);
    for (const TableEntry &entry : catalogue.tables())
        FUZZ_CHECK(!entry.title.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    const QString options = FuzzScratch::dataFolder() + QStringLiteral("Options.ini");
    const QString tables = FuzzScratch::installFolder() + QStringLiteral("/Tables");
    static const bool tablesMade = [&] {
        for (const char *name : {"1.htm", "Table 2.html", "notes.HTM"})
            FuzzScratch::writeFile(tables + QStringLiteral("/Fuzz/") + QLatin1String(name), QByteArray("<p>"));
        return true;
    }();
    Q_UNUSED(tablesMade);

    FuzzScratch::writeFile(options, data, size);
    FuzzScratch::writeFile(tables + QStringLiteral("/Fuzz/FullNames/Names.INI"), data, size);

    const IniFile ini(AppPaths::dataFile(QStringLiteral("Options.ini")));
    FUZZ_CHECK(ini.existed());
    checkListings(ini);
    checkEdits(ini);
    checkOptionReaders(ini);
    checkStoredOptions();
    checkTableTitles(tables);
    checkSaved(ini, FuzzScratch::dataFolder() + QStringLiteral("Saved.ini"));
    return 0;
}
