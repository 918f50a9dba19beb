#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// Chooses one of the languages the download service offers.
class TFormSelect : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSelect(const QStringList &names, QWidget *parent = nullptr);
    QString chosen() const;

private:
    QListWidget *m_list;
    QPushButton *m_ok;
};
