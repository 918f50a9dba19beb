#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// Texts of the schedule windows: bindings that stand in an English text while the language
// files lack a key, messages looked up when they are shown, and the reminder message box.
namespace ScheduleTexts {

void bind(QObject *owner, const QString &key, const QString &fallback,
          const std::function<void(const QString &)> &setter);
// Show-time lookup: the language file, the built-in English text, then `fallback`.
QString translate(const QString &key, const QString &fallback = QString());
// The text of the language applied to the windows.
QString current(const QString &key, const QString &fallback);
// The message of a failed check; `field` names the key of the field it concerns, if any.
QString problemText(const QString &key, const QString &field, int limit = 0);
// A reminder's message, with the caption "Time Out".
void showTimeOut(QWidget *parent, const QString &text);

} // namespace ScheduleTexts
