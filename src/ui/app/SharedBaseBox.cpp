#include "SharedBaseBox.h"

#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "records/ClientSync.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

SharedBaseBox::SharedBaseBox(QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("SharedBaseGroup"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setVerticalSpacing(4);
    auto edit = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    m_database = edit(QStringLiteral("UniformDatabase"));
    m_database->setPlaceholderText(QDir::toNativeSeparators(ClientSync::defaultSharedPath()));
    m_database->setToolTip(m_database->placeholderText());
    m_user = edit(QStringLiteral("UniformUser"));
    m_password = edit(QStringLiteral("UniformPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_databaseLabel = new QLabel(this);
    m_userLabel = new QLabel(this);
    m_passwordLabel = new QLabel(this);
    m_databaseLabel->setBuddy(m_database);
    m_userLabel->setBuddy(m_user);
    m_passwordLabel->setBuddy(m_password);
    const QList<std::pair<QLabel *, QLineEdit *>> rows = {
        {m_databaseLabel, m_database}, {m_userLabel, m_user}, {m_passwordLabel, m_password}};
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows[row].first, row, 0);
        grid->addWidget(rows[row].second, row, 1);
    }
    grid->setColumnStretch(1, 1);
    bindTexts();
    load();
}

void SharedBaseBox::bindTexts()
{
    LanguageApplier &texts = LanguageApplier::instance();
    texts.bindWithFallback(this, QStringLiteral("SettingsSharedBase"),
                           QStringLiteral("Shared client base"),
                           [this](const QString &t) { setTitle(t); });
    const QList<std::pair<QLabel *, std::pair<const char *, const char *>>> labels = {
        {m_databaseLabel, {"SharedBaseDatabase", "Base"}},
        {m_userLabel, {"SharedBaseUser", "User"}},
        {m_passwordLabel, {"SharedBasePassword", "Password"}}};
    for (const auto &[label, words] : labels) {
        QLabel *l = label;
        texts.bindWithFallback(l, QLatin1String(words.first), QLatin1String(words.second),
                               [l](const QString &t) { l->setText(t); });
    }
    texts.bindWithFallback(m_database, QStringLiteral("SharedBaseHint"),
                           QStringLiteral("Empty: the base in the program's own folder. A server: "
                                          "host/port:/path/Uniform.fdb. Used from the next start."),
                           [this](const QString &t) { m_database->setToolTip(t); });
}

void SharedBaseBox::load()
{
    const ClientSync::Target target = ClientSync::configuredTarget();
    // The default place is shown as the hint, so an empty field keeps following it.
    const bool isDefault = target.database == ClientSync::defaultSharedPath();
    m_database->setText(isDefault ? QString() : target.database);
    m_user->setText(target.user);
    m_password->setText(target.password);
}

void SharedBaseBox::writeTo(IniFile &options) const
{
    ClientSync::Target target;
    target.database = m_database->text().trimmed();
    if (!m_user->text().trimmed().isEmpty())
        target.user = m_user->text().trimmed();
    target.password = m_password->text();
    ClientSync::writeTarget(options, target);
}
