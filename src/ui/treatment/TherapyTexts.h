#pragma once

#include "localization/LanguageApplier.h"
#include "localization/Localization.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

// Texts of the therapy pages. Keys that the language files may not hold yet stand in with
// their English text.
namespace TherapyTexts {

inline QString text(const QString &key, const QString &fallback)
{
    const QString t = Localization::Translate(key);
    return t.isEmpty() ? fallback : t;
}

template<typename W>
inline void bind(W *widget, const QString &key, const QString &fallback)
{
    LanguageApplier::instance().bindWithFallback(widget, key, fallback,
                                                 [widget](const QString &t) { widget->setText(t); });
}

inline void bindToolTip(QWidget *widget, const QString &key, const QString &fallback)
{
    LanguageApplier::instance().bindWithFallback(widget, key, fallback,
                                                 [widget](const QString &t) { widget->setToolTip(t); });
}

inline void bindTitle(QWidget *widget, const QString &key, const QString &fallback)
{
    LanguageApplier::instance().bindWithFallback(widget, key, fallback,
                                                 [widget](const QString &t) { widget->setWindowTitle(t); });
}

} // namespace TherapyTexts
