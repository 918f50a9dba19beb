#pragma once

#include "app/WorkPage.h"
#include "symptoms/DesDotsCatalogue.h"
#include "symptoms/DotsListCodec.h"

#include <QList>
#include <QPointer>

class BodyAtlasView;
class DataModule;
class DeseaseForm;
class PointLabel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QWidget;

// The disease catalogue page (`DeseasePanel`): the alphabetical list with its search, and for
// the chosen disease its points as labels that mark the point on a body picture, the
// additional information and the herbal recommendation with the plant's picture. New diseases
// are added in the editor window; a disease is deleted only after the user confirms it.
class DeseasePanel : public WorkPage
{
    Q_OBJECT
public:
    explicit DeseasePanel(DataModule *data, QWidget *parent = nullptr);

    void enter() override;

    // The page's buttons, also for the keyboard and for tests.
    void fillList();
    // Shows the disease of that list entry; an entry the table no longer holds refreshes
    // the list.
    void showDesease(const QString &name);
    void search();
    // Under the list: how to begin with an empty catalogue, or that a search found nothing.
    void showListNote(bool searchFailed);
    void newDesease();
    void deleteDesease();
    // Marks the point of label `index` on its body picture.
    void markPoint(int index);

    QString shownDesease() const { return m_shown; }
    DeseaseForm *editor() const { return m_editor; }
    const DesDotsCatalogue &catalogue() const { return m_catalogue; }

private:
    void buildList(QWidget *column);
    void buildDetails(QWidget *area);
    void clearDetails();
    void showPoints(const QList<DotsListCodec::Point> &points);
    void showPlant(const QString &plant, const QByteArray &picture);
    void updateButtons();
    void onEditorFinished(int result);

    QPointer<DataModule> m_data;
    DesDotsCatalogue m_catalogue;
    QListWidget *m_list = nullptr;
    QLabel *m_listNote = nullptr;
    QLineEdit *m_searchEdit = nullptr;
    QPushButton *m_searchButton = nullptr;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QWidget *m_pointStrip = nullptr;
    QLabel *m_noPoints = nullptr;
    QLabel *m_title = nullptr;
    QList<PointLabel *> m_pointLabels;
    QList<DotsListCodec::Point> m_points;
    BodyAtlasView *m_body = nullptr;
    QTextBrowser *m_info = nullptr;
    QLabel *m_plantImage = nullptr;
    QPlainTextEdit *m_withMemo = nullptr;
    QPlainTextEdit *m_withoutImageMemo = nullptr;
    QWidget *m_withImage = nullptr;
    DeseaseForm *m_editor = nullptr;
    QString m_shown;
    bool m_filling = false;
};
