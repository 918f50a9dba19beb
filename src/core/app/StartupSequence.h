#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

// The fixed order of the main window's first showing and of its closing. Each feature hooks
// its start-up or close-down work onto its step; the steps always run in this order, however
// late a feature registers, so new features slot in without reordering anything.
class StartupSequence
{
public:
    enum class ShowStep {
        StartClock,          // hourglass cursor, clock timer
        StartPassword,       // ask the start password when one is set
        OpenDatabase,        // open the client database; failure ends the program
        SynchroniseClients,  // start keeping the client list in step with the shared base
        ApplyLanguage,       // load the interface language, translate every window
        StartReminders,      // today's reminders
        ClientMode,          // work mode: clients
        OpenPointsAndSchedule, // open points, schedule date, first client
        StartFeatures,       // questionnaire, tables, diseases, graph markers, views, print
        LoadSettings,        // settings panel, history graphs
        Finish,              // normal cursor, styles
    };
    enum class CloseStep {
        SaveReminders,
        SaveFrequencyAlgorithms,
        FinishReminderList,
        DisconnectDatabase,
        StopClock,
        StopMeasurement,
        FreeFont,
        ReleaseAnatomy,
    };

    // A show hook returns false to stop the start-up (the program then ends).
    void onShow(ShowStep step, const QString &name, std::function<bool()> hook);
    void onClose(CloseStep step, const QString &name, std::function<void()> hook);

    // Runs the show hooks in step order (hooks of one step in registration order). Returns
    // false at the first hook that fails and names it in `failed`.
    bool runShow(QString *failed = nullptr);
    void runClose();

    // Names of the hooks run so far, in the order they ran.
    QStringList trace() const { return m_trace; }

private:
    template <typename Fn> struct Hook
    {
        QString name;
        Fn fn;
    };
    std::map<ShowStep, std::vector<Hook<std::function<bool()>>>> m_show;
    std::map<CloseStep, std::vector<Hook<std::function<void()>>>> m_close;
    QStringList m_trace;
};
