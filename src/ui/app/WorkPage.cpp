#include "WorkPage.h"

WorkPage::WorkPage(const QString &objectName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
}
