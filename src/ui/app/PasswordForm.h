#pragma once

#include "app/StartPassword.h"

#include <QDialog>

class LanguageTexts;
class QLabel;
class QLineEdit;
class QPushButton;

// The start-password dialog. It accepts only the stored password; a wrong entry is told and
// the dialog stays; closing it in any other way rejects it, and the caller then ends the
// program.
class PasswordForm : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordForm(const StartPassword &password, QWidget *parent = nullptr);

    // Reads Options.ini of the data folder. True when no password is required; otherwise
    // shows the dialog modally and returns whether the right password was entered.
    static bool askAtStart(QWidget *parent);

    QLineEdit *passwordEdit() const { return m_edit; }

    // Accepts only when the entry matches; otherwise says so and keeps the dialog open.
    void accept() override;

private:
    // The dialog comes before the interface language is applied at start-up; these texts
    // stand in until then.
    void showTexts(const LanguageTexts &texts);

    StartPassword m_password;
    QLabel *m_icon = nullptr;
    QLineEdit *m_edit = nullptr;
    QPushButton *m_acceptButton = nullptr;
    QPushButton *m_exitButton = nullptr;
};
