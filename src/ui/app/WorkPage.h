#pragma once

#include <QWidget>

// One work page of the main window. Switching modes is one mechanism: the main window asks the
// current page to leave() (store what is pending) and the new one to enter() (load for the
// current client).
class WorkPage : public QWidget
{
    Q_OBJECT
public:
    explicit WorkPage(const QString &objectName, QWidget *parent = nullptr);

    virtual void enter() {}
    virtual void leave() {}
    // Called when the main window changes size while the page is visible.
    virtual void relayout() {}
};
