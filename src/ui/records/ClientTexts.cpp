#include "ClientTexts.h"

#include "localization/LanguageApplier.h"
#include "localization/LanguageDefaults.h"
#include "localization/Localization.h"

namespace ClientTexts {

void bind(QObject *owner, const QString &key, const QString &fallback,
          const std::function<void(const QString &)> &setter) {
    LanguageApplier::instance().bindWithFallback(owner, key, fallback, setter);
}

QString translate(const QString &key, const QString &fallback) {
    return Localization::translateOr(key, fallback);
}

QString current(const QString &key, const QString &fallback) {
    return LanguageApplier::instance().text(key, fallback);
}

} // namespace ClientTexts
