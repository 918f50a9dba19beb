#include "PasswordForm.h"

#include "app/AppPaths.h"
#include "app/PasswordCopy.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace {

const QString kAcceptKey = QStringLiteral("Accept");
// Leaving the dialog ends the program, so the button says so.
const QString kExitKey = QStringLiteral("Exit");

// A padlock in the style of the mode-button icons.
QPixmap lockPixmap(int size, qreal ratio)
{
    static const QByteArray svg = QByteArrayLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">"
        "<path d=\"M10.5 14 V10 A5.5 5.5 0 0 1 21.5 10 V14\" fill=\"none\" stroke=\"#2f5d8a\" "
        "stroke-width=\"2.4\" stroke-linecap=\"round\"/>"
        "<rect x=\"6\" y=\"14\" width=\"20\" height=\"14\" rx=\"2.5\" fill=\"#d7e6f5\" "
        "stroke=\"#2f5d8a\" stroke-width=\"2\" stroke-linejoin=\"round\"/>"
        "<circle cx=\"16\" cy=\"20\" r=\"2.2\" fill=\"#2f5d8a\"/>"
        "<path d=\"M16 21 V24.5\" stroke=\"#2f5d8a\" stroke-width=\"2\" stroke-linecap=\"round\"/>"
        "</svg>");
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(svg).render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

PasswordForm::PasswordForm(const StartPassword &password, QWidget *parent)
    : QDialog(parent)
    , m_password(password)
{
    setObjectName(QStringLiteral("TPasswordForm"));
    setModal(true);
    setWindowTitle(QApplication::applicationDisplayName());
    setWindowIcon(QIcon(lockPixmap(32, 1.0)));

    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("LockImage"));
    m_icon->setPixmap(lockPixmap(48, devicePixelRatioF()));
    m_icon->setAlignment(Qt::AlignCenter);

    auto *prompt = new QLabel(this);
    prompt->setObjectName(QStringLiteral("PasswordPrompt"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("PasswordEdit"));
    prompt->setBuddy(m_edit);
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setMinimumWidth(220);
    m_edit->setClearButtonEnabled(false);

    m_acceptButton = new QPushButton(this);
    m_acceptButton->setObjectName(QStringLiteral("AcceptBtn"));
    m_acceptButton->setDefault(true); // Enter in the edit accepts
    m_exitButton = new QPushButton(this);
    m_exitButton->setObjectName(QStringLiteral("ExitBtn"));
    m_exitButton->setAutoDefault(false);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_acceptButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_exitButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PasswordForm::reject);

    auto *row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);
    auto *field = new QVBoxLayout;
    field->setSpacing(4);
    field->addWidget(prompt);
    field->addWidget(m_edit);
    row->addLayout(field, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(16);
    layout->addLayout(row);
    layout->addWidget(buttons);
    // A small dialog that keeps the size of its contents.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    LanguageApplier &texts = LanguageApplier::instance();
    texts.bindText(m_acceptButton, kAcceptKey);
    texts.bindText(m_exitButton, kExitKey);
    texts.bindWithFallback(prompt, QStringLiteral("PasswordPrompt"),
                           QStringLiteral("Start password:"),
                           [prompt](const QString &t) { prompt->setText(t); });

    m_edit->setFocus();
}

void PasswordForm::accept()
{
    if (!m_password.matches(m_edit->text())) {
        Dialogs::message(this, Localization::Translate(QStringLiteral("IncorrectPassword")));
        m_edit->selectAll();
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}

void PasswordForm::showTexts(const LanguageTexts &texts)
{
    m_acceptButton->setText(texts.text(kAcceptKey));
    m_exitButton->setText(texts.text(kExitKey));
    setFont(texts.font().applyTo(font()));
}

bool PasswordForm::askAtStart(QWidget *parent)
{
    const QString optionsPath = AppPaths::dataFile(QStringLiteral("Options.ini"));
    // A damaged Options.ini does not open the program unprotected: the copy kept beside it
    // stands in.
    const StartPassword password = PasswordCopy::load(optionsPath);
    // A password an older version kept in plain text is hashed once the start is allowed, not
    // only when the settings are next saved; the copy follows what Options.ini then holds.
    const auto allowed = [&optionsPath] {
        StartPassword::hashPlainText(optionsPath);
        PasswordCopy::update(optionsPath);
        return true;
    };
    if (!password.required())
        return allowed();

    PasswordForm form(password, parent);
    // Until the language is applied the registry holds the built-in English texts; a user of
    // another language should not meet them in the very first window.
    if (!LanguageApplier::instance().texts().fileFound())
        form.showTexts(LanguageTexts::loadCurrent());
    // The main window is not on screen yet: centre on the screen instead of on it.
    if (!parent || !parent->isVisible()) {
        form.adjustSize();
        QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = form.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            form.move(frame.topLeft());
        }
    }
    if (form.exec() != QDialog::Accepted)
        return false;
    return allowed();
}
