#include "WorkModes.h"

const QList<WorkModeInfo> &WorkModes::buttons()
{
    static const QList<WorkModeInfo> list = {
        {Clients, QStringLiteral("ClientsBtn"), QStringLiteral("ClientPanel"), QStringLiteral("ClientsBtnHint"), QStringLiteral(":/icons/clients.svg")},
        {Test, QStringLiteral("TestBtn"), QStringLiteral("DiagnosticPanel"), QStringLiteral("TestBtnHint"), QStringLiteral(":/icons/test.svg")},
        {Graph, QStringLiteral("GraphBtn"), QStringLiteral("GraphicPanel"), QStringLiteral("GraphBtnHint"), QStringLiteral(":/icons/graph.svg")},
        {Ryodoraku, QStringLiteral("RidorakuBtn"), QStringLiteral("RidorakuPanel"), QStringLiteral("RidorakuBtnHint"), QStringLiteral(":/icons/ryodoraku.svg")},
        {Inquirer, QStringLiteral("InquirerBtn"), QStringLiteral("InquirerPanel"), QStringLiteral("InquirerBtnHint"), QStringLiteral(":/icons/inquirer.svg")},
        {Tables, QStringLiteral("TablesBtn"), QStringLiteral("TablePanel"), QStringLiteral("TablesBtnHint"), QStringLiteral(":/icons/tables.svg")},
        {Diseases, QStringLiteral("DeseaseBtn"), QStringLiteral("DeseasePanel"), QStringLiteral("DeseaseBtnHint"), QStringLiteral(":/icons/disease.svg")},
        {None, QStringLiteral("OpenPointBtn"), QStringLiteral("OpenPointPanel"), QStringLiteral("OpenPointBtnHint"), QStringLiteral(":/icons/openpoint.svg")},
        {Schedule, QStringLiteral("PlanBtn"), QStringLiteral("PlanPanel"), QStringLiteral("PlanBtnHint"), QStringLiteral(":/icons/plan.svg")},
        {None, QStringLiteral("InternetBtn"), QStringLiteral("InternetPanel"), QStringLiteral("InternetBtnHint"), QStringLiteral(":/icons/internet.svg")},
        {Print, QStringLiteral("PrintBtn"), QStringLiteral("PrintPanel"), QStringLiteral("PrintBtnHint"), QStringLiteral(":/icons/print.svg")},
        {Settings, QStringLiteral("SettingsBtn"), QStringLiteral("SettingsPanel"), QStringLiteral("SettingsBtnHint"), QStringLiteral(":/icons/settings.svg")},
        {Treatment, QStringLiteral("TreatmentBtn"), QStringLiteral("TreatmentPanel"), QStringLiteral("TreatmentBtnHint"), QStringLiteral(":/icons/treatment.svg")},
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
