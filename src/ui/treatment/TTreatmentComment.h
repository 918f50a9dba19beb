#pragma once

#include "treatment/TherapyStore.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The comment of one test in the colour or the frequency sub-mode (`CommentText`, at most
// 1000 characters). Save writes it into the sub-mode's table at once; Cancel leaves it.
class TTreatmentComment : public QDialog
{
    Q_OBJECT
public:
    TTreatmentComment(DataModule *data, TherapyStore::Table table, const QString &client,
                      int codeTest, QWidget *parent = nullptr);

    // After a save: whether the stored comment is non-blank.
    bool hasComment() const { return m_hasComment; }
    QString text() const;
    void setText(const QString &text);
    bool save();

private:
    void limitLength();

    TherapyStore m_store;
    QString m_client;
    int m_codeTest;
    bool m_hasComment = false;
    QPlainTextEdit *m_edit;
    QLabel *m_count;
};
