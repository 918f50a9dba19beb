#include "LanguageApplier.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTableWidget>

LanguageApplier &LanguageApplier::instance()
{
    static LanguageApplier applier;
    return applier;
}

void LanguageApplier::bind(QObject *owner, const QString &key,
                           std::function<void(const QString &)> setter)
{
    // Drop bindings whose widgets are gone, so the list does not grow with every window.
    m_bindings.removeIf([](const Binding &b) { return b.owner.isNull(); });
    setter(m_texts.text(key));
    m_bindings.append({owner, key, std::move(setter)});
}

void LanguageApplier::bindWithFallback(QObject *owner, const QString &key, const QString &fallback,
                                       std::function<void(const QString &)> setter)
{
    bind(owner, key, [setter = std::move(setter), fallback](const QString &t) {
        setter(t.isEmpty() ? fallback : t);
    });
}

void LanguageApplier::bindText(QLabel *label, const QString &key)
{
    bind(label, key, [label](const QString &t) { label->setText(t); });
}

void LanguageApplier::bindText(QAbstractButton *button, const QString &key)
{
    bind(button, key, [button](const QString &t) { button->setText(t); });
}

void LanguageApplier::bindTitle(QGroupBox *box, const QString &key)
{
    bind(box, key, [box](const QString &t) { box->setTitle(t); });
}

void LanguageApplier::bindWindowTitle(QWidget *window, const QString &key)
{
    bind(window, key, [window](const QString &t) { window->setWindowTitle(t); });
}

void LanguageApplier::bindToolTip(QWidget *widget, const QString &key)
{
    bind(widget, key, [widget](const QString &t) { widget->setToolTip(t); });
}

void LanguageApplier::bindItems(QComboBox *box, const QStringList &keys)
{
    for (int i = 0; i < keys.size(); ++i) {
        bind(box, keys.at(i), [box, i](const QString &t) {
            if (i < box->count())
                box->setItemText(i, t);
        });
    }
}

void LanguageApplier::bindHeaders(QTableWidget *table, Qt::Orientation orientation,
                                  const QStringList &keys)
{
    for (int i = 0; i < keys.size(); ++i) {
        if (keys.at(i).isEmpty())
            continue;
        bind(table, keys.at(i), [table, orientation, i](const QString &t) {
            QTableWidgetItem *item = orientation == Qt::Horizontal ? table->horizontalHeaderItem(i)
                                                                   : table->verticalHeaderItem(i);
            if (!item) {
                item = new QTableWidgetItem;
                if (orientation == Qt::Horizontal)
                    table->setHorizontalHeaderItem(i, item);
                else
                    table->setVerticalHeaderItem(i, item);
            }
            item->setText(t);
        });
    }
}

void LanguageApplier::apply(const LanguageTexts &texts)
{
    m_texts = texts;
    m_applied = true;
    // The font goes to the application: every window, now or later, inherits the family and
    // size, while controls keep the weight and slant they chose themselves.
    QApplication::setFont(texts.font().applyTo(QApplication::font()));
    // Dates, times and numbers follow the language from now on.
    QLocale::setDefault(texts.locale());
    giveTexts();
}

void LanguageApplier::reapply()
{
    if (m_applied)
        giveTexts();
}

void LanguageApplier::giveTexts()
{
    m_bindings.removeIf([](const Binding &b) { return b.owner.isNull(); });
    for (const Binding &b : std::as_const(m_bindings))
        b.setter(m_texts.text(b.key));
    Q_EMIT applied();
}
