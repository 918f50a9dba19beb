#include "app/AppPaths.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/Termination.h"
#include "app/UnixSignalWatcher.h"
#include "common/Dialogs.h"
#include "common/WebEngineSetup.h"
#include "localization/LanguageTexts.h"
#include "records/ClientSyncService.h"
#include "records/FirebirdLockFolder.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    WebEngineSetup::prepareBeforeApplication();
    QApplication app(argc, argv);
    MainWindow::initResources();
    QApplication::setApplicationName(QStringLiteral("Vandrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vandrel"));
    QApplication::setOrganizationName(QStringLiteral("Quillane"));
    QApplication::setApplicationVersion(QStringLiteral(VANDREL_VERSION));
    // The launcher the desktop shows the window under (its icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillane.vandrel"));
    FirebirdLockFolder::prepare();

    // SIGTERM and SIGINT close the window exactly as the user would, questions answered as
    // cancelled; during the start, they end it.
    UnixSignalWatcher signals_;
    Termination termination;
    QObject::connect(&signals_, &UnixSignalWatcher::terminationRequested, &termination,
                     &Termination::request);

    // One workstation per data folder: a second start brings the first one forward.
    SingleInstance instance(AppPaths::GetDataPath());
    if (!instance.acquire()) {
        const QString text = LanguageTexts::loadCurrent().text(QStringLiteral("AlreadyRunning"));
        Dialogs::message(nullptr, text.isEmpty()
                                      ? QStringLiteral("The workstation is already open on this "
                                                       "computer; its window has been brought to "
                                                       "the front.")
                                      : text);
        return 0;
    }

    MainWindow window;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, [&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.show();
        window.raise();
        window.activateWindow();
    });
    if (!window.start())
        return 1;
    termination.setWindow(&window);
    if (termination.isRequested()) {
        window.close(); // asked to end while starting: end in the usual order
        return 0;
    }

    window.show();
    // Used by the start-up benchmark and the damaged-files check: say when the window has been
    // shown (and leave, for the benchmark).
    const bool quitWhenShown = qEnvironmentVariableIsSet("VANDREL_QUIT_WHEN_SHOWN");
    if (quitWhenShown || qEnvironmentVariableIsSet("VANDREL_SAY_WHEN_SHOWN")) {
        QTimer::singleShot(0, &window, [&window, quitWhenShown] {
            std::printf("shown at %lld ms\n", QDateTime::currentMSecsSinceEpoch());
            std::fflush(stdout);
            if (quitWhenShown)
                window.close();
        });
    }
    const int code = app.exec();
    if (qEnvironmentVariableIsSet("VANDREL_QUIT_WHEN_SHOWN")) {
        // The start-up benchmark reports the program's peak memory too.
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    std::printf("peak memory %s\n", line.mid(6).trimmed().constData());
        }
    }
    if (ClientSyncService::roundsLeftRunning()) {
        // A shared base that never answered still holds a connection attempt, and the Firebird
        // client would wait for it at exit. The local base was closed (and committed) when the
        // window closed, so nothing is lost by ending here.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
