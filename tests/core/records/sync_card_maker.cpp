// One workstation in a process of its own for the concurrency test: makes N cards, each
// followed by a synchronisation round, against the shared base it is given.
// usage: sync_card_maker <profile> <shared base> <workstation> <user> <password> <count>
#include "ClientSyncTestSupport.h"
#include "TestEnvironment.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 7)
        return 2;
    AppPaths::setInstallFolder(TestEnvironment::installDir());
    Installation w(args.at(1), args.at(2), args.at(3), args.at(4), args.at(5));
    const int count = args.at(6).toInt();
    for (int i = 0; i < count; ++i) {
        if (w.add(QStringLiteral("%1-%2").arg(args.at(3)).arg(i)).isEmpty())
            return 1;
        if (i % 10 == 9 && !w.sync()) {
            qWarning("%s", qPrintable(w.lastError()));
            return 1;
        }
    }
    if (!w.sync()) {
        qWarning("%s", qPrintable(w.lastError()));
        return 1;
    }
    return 0;
}
