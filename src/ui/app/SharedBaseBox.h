#pragma once

#include <QGroupBox>

class IniFile;
class QLabel;
class QLineEdit;

// Where the clinic's shared client base is: a file on this machine (empty: the default one in
// the maker folder) or a Firebird server ("host/port:/path/Uniform.fdb") with its user and
// password. Kept in Options.ini [Uniform]; takes effect at the next start, when the cards are
// synchronised.
class SharedBaseBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit SharedBaseBox(QWidget *parent = nullptr);

    void load();
    // Puts the three values into Options.ini as the settings page is about to save it.
    void writeTo(IniFile &options) const;

private:
    void bindTexts();

    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_databaseLabel = nullptr;
    QLabel *m_userLabel = nullptr;
    QLabel *m_passwordLabel = nullptr;
};
