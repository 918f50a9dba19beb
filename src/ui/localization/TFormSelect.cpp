#include "TFormSelect.h"

#include "localization/LanguageApplier.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFormSelect::TFormSelect(const QStringList &names, QWidget *parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_ok(new QPushButton(this))
{
    setObjectName(QStringLiteral("TFormSelect"));
    m_list->setObjectName(QStringLiteral("List"));
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_list->addItems(names);
    m_list->setCurrentRow(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_ok, 0, Qt::AlignRight);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    LanguageApplier &texts = LanguageApplier::instance();
    texts.bindWithFallback(this, QStringLiteral("LanguageChoose"), QStringLiteral("Languages"),
                           [this](const QString &t) { setWindowTitle(t); });
    texts.bindText(m_ok, QStringLiteral("OK"));
    resize(280, 260);
}

QString TFormSelect::chosen() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->text() : QString();
}
