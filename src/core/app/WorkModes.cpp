#include "WorkModes.h"

const QList<WorkModeInfo> &WorkModes::buttons()
{
    static const QList<WorkModeInfo> list = {
        {Clients, QStringLiteral("ClientsBtn"), QStringLiteral("ClientPanel"), QStringLiteral("ClientsBtnHint"), QStringLiteral(":/icons/clients.svg"), QKeySequence(QStringLiteral("Ctrl+1"))},
        {Test, QStringLiteral("TestBtn"), QStringLiteral("DiagnosticPanel"), QStringLiteral("TestBtnHint"), QStringLiteral(":/icons/test.svg"), QKeySequence(QStringLiteral("Ctrl+2"))},
        {Graph, QStringLiteral("GraphBtn"), QStringLiteral("GraphicPanel"), QStringLiteral("GraphBtnHint"), QStringLiteral(":/icons/graph.svg"), QKeySequence(QStringLiteral("Ctrl+3"))},
        {Ryodoraku, QStringLiteral("RidorakuBtn"), QStringLiteral("RidorakuPanel"), QStringLiteral("RidorakuBtnHint"), QStringLiteral(":/icons/ryodoraku.svg"), QKeySequence(QStringLiteral("Ctrl+4"))},
        {Inquirer, QStringLiteral("InquirerBtn"), QStringLiteral("InquirerPanel"), QStringLiteral("InquirerBtnHint"), QStringLiteral(":/icons/inquirer.svg"), QKeySequence(QStringLiteral("Ctrl+5"))},
        {Tables, QStringLiteral("TablesBtn"), QStringLiteral("TablePanel"), QStringLiteral("TablesBtnHint"), QStringLiteral(":/icons/tables.svg"), QKeySequence(QStringLiteral("Ctrl+6"))},
        {Diseases, QStringLiteral("DeseaseBtn"), QStringLiteral("DeseasePanel"), QStringLiteral("DeseaseBtnHint"), QStringLiteral(":/icons/disease.svg"), QKeySequence(QStringLiteral("Ctrl+7"))},
        {None, QStringLiteral("OpenPointBtn"), QStringLiteral("OpenPointPanel"), QStringLiteral("OpenPointBtnHint"), QStringLiteral(":/icons/openpoint.svg"), QKeySequence(QStringLiteral("Ctrl+8"))},
        {Schedule, QStringLiteral("PlanBtn"), QStringLiteral("PlanPanel"), QStringLiteral("PlanBtnHint"), QStringLiteral(":/icons/plan.svg"), QKeySequence(QStringLiteral("Ctrl+9"))},
        {None, QStringLiteral("InternetBtn"), QStringLiteral("InternetPanel"), QStringLiteral("InternetBtnHint"), QStringLiteral(":/icons/internet.svg"), QKeySequence(QStringLiteral("Ctrl+0"))},
        {Print, QStringLiteral("PrintBtn"), QStringLiteral("PrintPanel"), QStringLiteral("PrintBtnHint"), QStringLiteral(":/icons/print.svg"), QKeySequence(QStringLiteral("Ctrl+P"))},
        {Settings, QStringLiteral("SettingsBtn"), QStringLiteral("SettingsPanel"), QStringLiteral("SettingsBtnHint"), QStringLiteral(":/icons/settings.svg"), QKeySequence(QStringLiteral("Ctrl+,"))},
        {Treatment, QStringLiteral("TreatmentBtn"), QStringLiteral("TreatmentPanel"), QStringLiteral("TreatmentBtnHint"), QStringLiteral(":/icons/treatment.svg"), QKeySequence(QStringLiteral("Ctrl+T"))},
    };
    return list;
}

const WorkModeInfo *WorkModes::byButton(const QString &button)
{
    for (const WorkModeInfo &info : buttons()) {
        if (info.button == button)
            return &info;
    }
    return nullptr;
}

const WorkModeInfo *WorkModes::byMode(int mode)
{
    if (mode == None)
        return nullptr;
    for (const WorkModeInfo &info : buttons()) {
        if (info.mode == mode)
            return &info;
    }
    return nullptr;
}

QString WorkModes::panelOf(int mode)
{
    if (mode == NewClient || mode == EditClient)
        return QStringLiteral("ClientPanel");
    const WorkModeInfo *info = byMode(mode);
    return info ? info->panel : QString();
}
