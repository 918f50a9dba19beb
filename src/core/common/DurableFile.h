#pragma once

#include <QString>

// File operations whose result is on the disk when they return, so that a program killed or a
// machine losing power right afterwards finds either the old file or the new one, whole.
namespace DurableFile {

// Copies `from` to `to` (replacing it), with `from`'s permissions, and flushes the copy to the
// disk. On failure `to` is removed.
bool copy(const QString &from, const QString &to, QString *error = nullptr);

// Flushes a file already written to the disk.
bool sync(const QString &path, QString *error = nullptr);

// Renames `from` over `to` in one step (both in the same folder) and flushes the folder, so the
// new name survives a power loss.
bool replace(const QString &from, const QString &to, QString *error = nullptr);

} // namespace DurableFile
