#pragma once

#include <QPointer>
#include <QPushButton>

class DataModule;

// "Import from another installation…": brings in the data folder of a workstation of this
// kind from another machine (its base or a gbak backup of it, settings, timers and language
// files). It shows what it found and asks before anything changes; this workstation's data is
// backed up first, and an import that fails leaves it as it was.
class InstallationImportButton : public QPushButton
{
    Q_OBJECT
public:
    explicit InstallationImportButton(DataModule *data, QWidget *parent = nullptr);

    // The whole dialogue; `source` skips the file choice (tests).
    void run(const QString &source = QString());

Q_SIGNALS:
    // The import is in place and the base open again; `language` is the current language.
    void imported(const QString &language);

private:
    QPointer<DataModule> m_data;
};
