#include "PlaceholderPage.h"

#include <QLabel>
#include <QVBoxLayout>

PlaceholderPage::PlaceholderPage(const QString &objectName, const QString &title, QWidget *parent)
    : WorkPage(objectName, parent)
{
    auto *layout = new QVBoxLayout(this);
    m_title = new QLabel(title, this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setStyleSheet(QStringLiteral("color: #8a96a3; font-size: 20pt;"));
    layout->addWidget(m_title);
}

void PlaceholderPage::setTitle(const QString &title)
{
    m_title->setText(title);
}
