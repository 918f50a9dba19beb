#include "InstallationImportButton.h"

#include "BackupActions.h"
#include "BackupProgress.h"
#include "app/InstallationImport.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/DataModule.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString said(const char *key, const char *english)
{
    return Localization::translateOr(QLatin1String(key), QString::fromUtf8(english));
}

// What was found and what will happen, for the practitioner to decide on.
QString summary(const InstallationImport::Prepared &prepared, const BaseFacts::Counts &own)
{
    const ImportSource::Findings &found = prepared.found;
    QStringList lines;
    lines << said("ImportFoundIn", "Found in %1:").arg(QDir::toNativeSeparators(found.folder));
    lines << QStringLiteral("• ")
                 + said("ImportFoundBase", "client base (%1): %2 clients, %3 tests")
                       .arg(QFileInfo(found.basePath).fileName())
                       .arg(prepared.counts.clients)
                       .arg(prepared.counts.tests);
    lines << QStringLiteral("• ")
                 + (prepared.hasOptions ? said("ImportFoundOptions", "settings (Options.ini)")
                                        : said("ImportNoOptions",
                                               "no settings file: this workstation's stay"));
    if (!found.rememberPath.isEmpty())
        lines << QStringLiteral("• ") + said("ImportFoundTimers", "timers (Remember.ini)");
    QStringList languages;
    for (const ImportSettings::LanguageCopy &copy : prepared.languages)
        languages << QFileInfo(copy.name).completeBaseName();
    if (!languages.isEmpty())
        lines << QStringLiteral("• ")
                     + said("ImportFoundLanguages", "language files added: %1")
                           .arg(languages.join(QStringLiteral(", ")));
    if (!found.notes.isEmpty()) {
        lines << QString() << said("ImportNotUsed", "Not used:");
        for (const ImportSource::Note &note : found.notes)
            lines << QStringLiteral("• ") + note.fill(said(qPrintable(note.key),
                                                          qPrintable(note.english)));
    }
    lines << QString()
          << said("ImportAsk", "This workstation's data (%1 clients, %2 tests) will be backed up "
                               "and then replaced by these. Import?")
                 .arg(own.clients)
                 .arg(own.tests);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

InstallationImportButton::InstallationImportButton(DataModule *data, QWidget *parent)
    : QPushButton(parent)
    , m_data(data)
{
    setObjectName(QStringLiteral("ImportInstallation"));
    setAutoDefault(false);
    LanguageApplier::instance().bindWithFallback(
        this, QStringLiteral("ImportButton"), QStringLiteral("Import from another installation…"),
        [this](const QString &t) { setText(t); });
    connect(this, &QPushButton::clicked, this, [this] { run(); });
}

void InstallationImportButton::run(const QString &chosen)
{
    if (!m_data || m_data->path().isEmpty())
        return;
    QString source = chosen;
    if (source.isEmpty())
        source = Dialogs::openFile(
            this,
            said("ImportChoose", "The base (BASE.fdb) or backup file (.fbk) of the other "
                                 "installation"),
            QDir::homePath(),
            said("ImportFilter", "Base or backup (*.fdb *.FDB *.fbk *.FBK);;All files (*)"));
    if (source.isEmpty())
        return;
    const QString basePath = m_data->path();
    setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { setEnabled(true); });

    // Reading the other installation changes nothing here; it may take a while for a large
    // backup file, so it runs behind a progress dialog.
    InstallationImport::Prepared prepared;
    const QString reading = said("ImportReading", "Reading the other installation…");
    BackupProgress::run(this, reading,
                        [&](const BackupProgress::Report &report,
                            const BackupProgress::Cancelled &cancelled) {
                            const auto step = [&](const Gbak::Step &step) {
                                report(reading + QLatin1Char('\n') + step.line, 0);
                            };
                            prepared = InstallationImport::prepare(source, basePath, step,
                                                                   cancelled);
                        });
    if (!prepared.ok) {
        if (!prepared.cancelled)
            Dialogs::error(this, said("Error", "Error"),
                           said("ImportCannot", "The other installation cannot be imported; "
                                                "nothing was changed here.")
                               + QStringLiteral("\n\n") + prepared.error);
        return;
    }
    const auto discard = qScopeGuard([&] { InstallationImport::discard(prepared); });
    BaseFacts::Counts own;
    BaseFacts::count(m_data->database(), &own);
    if (!Dialogs::ask(this, summary(prepared, own)))
        return;
    if (!BackupActions::backUp(this, m_data)) {
        Dialogs::error(this, said("Error", "Error"),
                       said("ImportNoBackup", "Without a backup of this workstation's data "
                                              "nothing is imported."));
        return;
    }

    m_data->close();
    QString error;
    const bool applied = InstallationImport::apply(prepared, basePath, &error);
    QString reopenError;
    const bool reopened = m_data->open(basePath, &reopenError);
    if (!applied)
        Dialogs::error(this, said("Error", "Error"), error);
    if (!reopened)
        Dialogs::error(this, said("Error", "Error"), reopenError);
    if (!applied || !reopened)
        return;
    Q_EMIT imported(prepared.language);
    Dialogs::message(this, said("ImportDone", "Imported: %1 clients, %2 tests. This "
                                              "workstation's data before the import is in the "
                                              "backup folder.")
                               .arg(prepared.counts.clients)
                               .arg(prepared.counts.tests));
}
