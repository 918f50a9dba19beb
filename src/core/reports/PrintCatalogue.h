#pragma once

#include <QList>
#include <QObject>
#include <QString>

class DataModule;

// The print catalogues in the interface language: the treatment recommendations (table
// RECOMENDATION) and the stored print templates (table STENCILS). A row belongs to the
// current language when its LANGUAGE begins with the language name, letter case aside; rows
// of other languages are neither listed nor printed. The language is a bound value, so a name
// with a quote or a wildcard is compared as it stands.
class PrintCatalogue : public QObject
{
    Q_OBJECT
public:
    struct Recommendation {
        QString name;
        QString description;
        QString language;
    };
    struct Stencil {
        QString name;
        QString header;
        QString footer;
        QString queue;
        int priority = 0;
        QString language;
        QString recommendations;
    };

    explicit PrintCatalogue(DataModule *data, QObject *parent = nullptr);

    QString language() const { return m_language; }
    // Emits languageChanged when the name differs from the one kept.
    void setLanguage(const QString &language);

    // The rows of the current language in table order; empty without an open base or a
    // language, with the reason in `error` on a failure.
    QList<Recommendation> recommendations(QString *error = nullptr) const;
    QList<Stencil> stencils(QString *error = nullptr) const;

Q_SIGNALS:
    // The print lists must be filled again.
    void languageChanged(const QString &language);

private:
    DataModule *m_data;
    QString m_language;
};
