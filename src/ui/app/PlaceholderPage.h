#pragma once

#include "WorkPage.h"

class QLabel;

// A work page whose feature is not there yet: it shows the mode's name, so an empty mode
// reads as such.
class PlaceholderPage : public WorkPage
{
    Q_OBJECT
public:
    PlaceholderPage(const QString &objectName, const QString &title, QWidget *parent = nullptr);
    void setTitle(const QString &title);

private:
    QLabel *m_title = nullptr;
};
