#include "TestExportAction.h"

#include "ClientTexts.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "records/DataModule.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/CorridorPercent.h"
#include "TestExportDialog.h"
#include "TestExportRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

TestExportAction::TestExportAction(DataModule *data, QWidget *parent)
    : QObject(parent)
    , m_data(data)
    , m_parent(parent)
    , m_runner(new TestExportRunner(parent)) {
    connect(m_runner, &TestExportRunner::finished, this, &TestExportAction::finished);
}

bool TestExportAction::isRunning() const {
    return m_runner->isRunning();
}

TestExportLabels TestExportAction::labels() {
    TestExportLabels l;
    const auto text = [](const char *key, const QString &fallback) {
        return ClientTexts::translate(QLatin1String(key), fallback);
    };
    l.clientId = text("ID", l.clientId);
    l.name = text("Name", l.name);
    l.surname = text("Surname", l.surname);
    l.birthday = text("BirthDay", l.birthday);
    l.country = text("Country", l.country);
    l.city = text("City", l.city);
    l.address = text("Address", l.address);
    l.phone = text("Phone", l.phone);
    l.eMail = text("Mail", l.eMail);
    l.testDate = text("TestDate", l.testDate);
    l.mean = text("ExportMean", l.mean);
    l.corridor = text("MiddleLine", l.corridor);
    l.classOf = text("ExportClass", l.classOf);
    return l;
}

QString TestExportAction::chooseFile(const QString &client, TestExport::Format format) {
    const bool csv = format == TestExport::Format::Csv;
    const QString suffix = csv ? QStringLiteral("csv") : QStringLiteral("xlsx");
    const QString base =
        client.isEmpty() ? QStringLiteral("tests") : QString(QStringLiteral("tests-") + client);
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(base + Clock::today().toString(QStringLiteral("-yyyy-MM-dd.")) + suffix);
    const QString filter = csv ? ClientTexts::translate(QStringLiteral("ExportCsvFilter"),
                                                        QStringLiteral("CSV text (*.csv)"))
                               : ClientTexts::translate(QStringLiteral("ExportXlsxFilter"),
                                                        QStringLiteral("Excel workbook (*.xlsx)"));
    QString path = Dialogs::saveFile(
        m_parent,
        ClientTexts::translate(QStringLiteral("ExportTestsTitle"), QStringLiteral("Export tests")),
        suggested, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + suffix;
    return path;
}

void TestExportAction::exportTests(const QString &client) {
    if (!m_data || !m_data->isOpen() || isRunning())
        return;
    QString error;
    const std::optional<int> percent =
        CorridorEvaluation::parsePercent(CorridorPercent::stored(), &error);
    if (!percent) {
        Dialogs::message(m_parent, error);
        return;
    }
    TestExportDialog dialog(m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TestExport::Request request;
    request.target = chooseFile(client, dialog.format());
    if (request.target.isEmpty())
        return;
    request.basePath = m_data->path();
    request.format = dialog.format();
    request.client = client;
    request.withPersonal = !dialog.leaveOutPersonal();
    request.percent = *percent;
    request.labels = labels();
    m_runner->start(request);
}
