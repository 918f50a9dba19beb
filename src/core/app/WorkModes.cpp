#include "WorkModes.h"

const QList<WorkModeInfo> &WorkModes::buttons()
{
    static const QList<WorkModeInfo> list = {
        {Clients, QStringLiteral("ClientsBtn"), QStringLiteral("ClientPanel"), QStringLiteral("ClientsBtnHint")},
        {Test, QStringLiteral("TestBtn"), QStringLiteral("DiagnosticPanel"), QStringLiteral("TestBtnHint")},
        {Graph, QStringLiteral("GraphBtn"), QStringLiteral("GraphicPanel"), QStringLiteral("GraphBtnHint")},
        {Ryodoraku, QStringLiteral("RidorakuBtn"), QStringLiteral("RidorakuPanel"), QStringLiteral("RidorakuBtnHint")},
        {Inquirer, QStringLiteral("InquirerBtn"), QStringLiteral("InquirerPanel"), QStringLiteral("InquirerBtnHint")},
        {Tables, QStringLiteral("TablesBtn"), QStringLiteral("TablePanel"), QStringLiteral("TablesBtnHint")},
        {Diseases, QStringLiteral("DeseaseBtn"), QStringLiteral("DeseasePanel"), QStringLiteral("DeseaseBtnHint")},
        {None, QStringLiteral("OpenPointBtn"), QStringLiteral("OpenPointPanel"), QStringLiteral("OpenPointBtnHint")},
        {Schedule, QStringLiteral("PlanBtn"), QStringLiteral("PlanPanel"), QStringLiteral("PlanBtnHint")},
        {None, QStringLiteral("InternetBtn"), QStringLiteral("InternetPanel"), QStringLiteral("InternetBtnHint")},
        {Print, QStringLiteral("PrintBtn"), QStringLiteral("PrintPanel"), QStringLiteral("PrintBtnHint")},
        {Settings, QStringLiteral("SettingsBtn"), QStringLiteral("SettingsPanel"), QStringLiteral("SettingsBtnHint")},
        {Treatment, QStringLiteral("TreatmentBtn"), QStringLiteral("TreatmentPanel"), QStringLiteral("TreatmentBtnHint")},
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
