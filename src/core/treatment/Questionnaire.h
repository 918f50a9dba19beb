#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The acupuncture questionnaire as its two files of main/<language>/ describe it: the
// nosological groups of diag_m.txt ("course=caption", one radio button each) and the symptom
// pages of diag03.txt ("caption=weights=page title", "*" for the same page as the line
// before). At most ten symptom pages; lines of further pages are left out.
//
// Malformed lines are skipped rather than guessed at: a group without a positive course
// number, a symptom line without its three fields or with an empty caption.
class Questionnaire
{
public:
    static constexpr int MaxPages = 10;

    struct Group
    {
        int course = 0;
        QString caption;
    };
    struct Symptom
    {
        QString caption;
        QString weights; // the meridian weight string, see MeridianScoring
    };
    struct Page
    {
        QString title;
        QList<Symptom> symptoms;
    };

    static QString groupFileName() { return QStringLiteral("diag_m.txt"); }
    static QString symptomFileName() { return QStringLiteral("diag03.txt"); }
    // The file `name` of the language's folder main/<language>/ of the install folder, or of
    // main/English/ when the language has none. Empty when neither exists.
    static QString filePath(const QString &language, const QString &name);

    // Both files of a language; `missing` receives the names of files that could not be read.
    static Questionnaire load(const QString &language, QStringList *missing = nullptr);
    static Questionnaire fromLines(const QStringList &groupLines, const QStringList &symptomLines);

    const QList<Group> &groups() const { return m_groups; }
    const QList<Page> &pages() const { return m_pages; }
    // Radio buttons plus checkboxes: the length of a full state string.
    int controlCount() const;
    bool isEmpty() const { return m_groups.isEmpty() && m_pages.isEmpty(); }

private:
    QList<Group> m_groups;
    QList<Page> m_pages;
};
