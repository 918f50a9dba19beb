#pragma once

#include <QDialog>

class DataModule;
class DesDotsCatalogue;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTextEdit;
class QToolButton;

// The editor of a new disease (`TDeseaseForm`): name, point list, additional information (rich
// text), herbal recommendation and a plant picture. Save checks everything first and stores
// nothing on a failure; a stored disease closes the editor with accept(). Each showing starts
// with empty fields.
class DeseaseForm : public QDialog
{
    Q_OBJECT
public:
    DeseaseForm(DataModule *data, const DesDotsCatalogue &catalogue, QWidget *parent = nullptr);

    // Empties the fields and forgets the picture.
    void clearFields();
    // The picture dialog; a confirmed choice that cannot be read as a picture is refused.
    void choosePicture();
    void clearPicture();
    // Checks and stores; true when the disease was stored.
    bool save();

    QString pictureFile() const { return m_pictureFile; }
    // The name of the disease stored last.
    QString savedName() const { return m_savedName; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void bindTexts();
    void showPictureState();
    void refuse(const QString &text, QWidget *focus);

    DataModule *m_data;
    const DesDotsCatalogue &m_catalogue;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_dots = nullptr;
    QTextEdit *m_about = nullptr;
    QPlainTextEdit *m_plant = nullptr;
    QStackedWidget *m_pictureState = nullptr;
    QToolButton *m_identity = nullptr;
    QToolButton *m_identity2 = nullptr;
    QToolButton *m_clearPicture = nullptr;
    QString m_pictureFile;
    QString m_savedName;
};
