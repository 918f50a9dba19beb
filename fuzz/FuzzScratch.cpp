#include "FuzzScratch.h"

#include "app/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct Scratch
{
    std::unique_ptr<QTemporaryDir> dir;
    QString install;
};

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

QString scratchBase()
{
    const QString chosen = qEnvironmentVariable("VANDREL_FUZZ_SCRATCH");
    if (!chosen.isEmpty())
        return chosen;
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isDir() && shm.isWritable())
        return shm.absoluteFilePath();
    return QDir::tempPath();
}

Scratch &scratch()
{
    static Scratch s = [] {
        qInstallMessageHandler(quietHandler);
        Scratch made;
        made.dir = std::make_unique<QTemporaryDir>(scratchBase() + QStringLiteral("/vandrel-fuzz-XXXXXX"));
        if (!made.dir->isValid())
            FuzzScratch::fail("scratch folder", __FILE__, __LINE__);
        made.install = made.dir->filePath(QStringLiteral("install"));
        QDir().mkpath(made.install);
        qputenv("XDG_DATA_HOME", QFile::encodeName(made.dir->filePath(QStringLiteral("profile"))));
        AppPaths::setInstallFolder(made.install);
        return made;
    }();
    return s;
}

} // namespace

namespace FuzzScratch {

void setUp()
{
    scratch();
}

QString installFolder()
{
    return scratch().install;
}

QString dataFolder()
{
    setUp();
    return AppPaths::GetDataPath();
}

void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    writeFile(path, QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("writing the input file", __FILE__, __LINE__);
}

void clearFolder(const QString &folder)
{
    QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QString path = dir.filePath(entry);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "\nFUZZ CHECK FAILED: %s\n  at %s:%d\n", what, file, line);
    std::fflush(stderr);
    std::abort();
}

} // namespace FuzzScratch
