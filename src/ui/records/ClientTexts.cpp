#include "ClientTexts.h"

#include "localization/LanguageApplier.h"
#include "localization/LanguageDefaults.h"
#include "localization/Localization.h"

namespace ClientTexts {

void bind(QObject *owner, const QString &key, const QString &fallback,
          const std::function<void(const QString &)> &setter) {
    LanguageApplier::instance().bind(owner, key, [setter, fallback](const QString &text) {
        setter(text.isEmpty() ? fallback : text);
    });
}

QString translate(const QString &key, const QString &fallback) {
    QString text = Localization::Translate(key);
    if (text.isEmpty())
        text = LanguageDefaults::defaultText(key);
    return text.isEmpty() ? fallback : text;
}

QString current(const QString &key, const QString &fallback) {
    const QString text = LanguageApplier::instance().text(key);
    return text.isEmpty() ? fallback : text;
}

} // namespace ClientTexts
