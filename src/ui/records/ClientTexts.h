#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Text helpers of the client pages: a binding that falls back to an English text while the
// language files lack a key, and a message looked up when it is shown.
namespace ClientTexts {

void bind(QObject *owner, const QString &key, const QString &fallback,
          const std::function<void(const QString &)> &setter);
QString translate(const QString &key, const QString &fallback);
// The text of the language applied to the windows (no file is read).
QString current(const QString &key, const QString &fallback);

} // namespace ClientTexts
