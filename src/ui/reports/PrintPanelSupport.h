#pragma once

// Small helpers shared by the files of the print page.

#include "localization/LanguageApplier.h"
#include "localization/Localization.h"

#include <QLabel>
#include <QString>
#include <QWidget>

namespace PrintPanelSupport {


inline constexpr int SectionRole = Qt::UserRole + 1;

// A text of the applied language, or the English one while the language lacks the key.
inline QString applied(const QString &key, const QString &fallback)
{
    return LanguageApplier::instance().text(key, fallback);
}

// A message looked up when it is shown.
inline QString shown(const QString &key, const QString &fallback)
{
    const QString text = Localization::Translate(key);
    return text.isEmpty() ? fallback : text;
}


inline QLabel *heading(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty("heading", true);
    return label;
}

inline QWidget *card(QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setProperty("card", true);
    box->setAttribute(Qt::WA_StyledBackground);
    return box;
}

} // namespace PrintPanelSupport
