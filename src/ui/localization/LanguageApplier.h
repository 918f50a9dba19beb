#pragma once

#include "localization/LanguageTexts.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QTableWidget;
class QWidget;

// The one place where windows register their texts. A window says which key each of its
// texts comes from; applying a language then gives every registered text its value (the
// language file's, or the built-in English one) and every window the language's font.
// Bindings end by themselves when their widget is destroyed, and a binding made after a
// language was applied takes the current text at once.
class LanguageApplier : public QObject
{
    Q_OBJECT
public:
    static LanguageApplier &instance();

    // General form: `setter` receives the text of `key` whenever a language is applied.
    void bind(QObject *owner, const QString &key, std::function<void(const QString &)> setter);
    // For keys the language files may lack: `fallback` stands in for an empty text.
    void bindWithFallback(QObject *owner, const QString &key, const QString &fallback,
                          std::function<void(const QString &)> setter);
    // Common cases.
    void bindText(QLabel *label, const QString &key);
    void bindText(QAbstractButton *button, const QString &key);
    void bindTitle(QGroupBox *box, const QString &key);
    void bindWindowTitle(QWidget *window, const QString &key);
    void bindToolTip(QWidget *widget, const QString &key);
    // List items replaced in place, one key per item.
    void bindItems(QComboBox *box, const QStringList &keys);
    void bindHeaders(QTableWidget *table, Qt::Orientation orientation, const QStringList &keys);

    // Applies `texts` to every binding and the language's font to the application.
    void apply(const LanguageTexts &texts);
    // Gives the texts of the language applied last once more (a window made after it may
    // fill some texts of its own on applied()); nothing while no language was applied yet.
    void reapply();
    const LanguageTexts &texts() const { return m_texts; }
    QString text(const QString &key) const { return m_texts.text(key); }
    QString text(const QString &key, const QString &fallback) const
    {
        const QString t = m_texts.text(key);
        return t.isEmpty() ? fallback : t;
    }

Q_SIGNALS:
    // After every application, for windows that rebuild texts of their own.
    void applied();

private:
    LanguageApplier() = default;
    void giveTexts();
    struct Binding
    {
        QPointer<QObject> owner;
        QString key;
        std::function<void(const QString &)> setter;
    };
    QList<Binding> m_bindings;
    LanguageTexts m_texts;
    bool m_applied = false;
};
