#include "AnatomyController.h"

#include "common/Dialogs.h"
#include "localization/Localization.h"
#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "records/TestRecord.h"
#include "ryodoraku/AnatomyGrading.h"

#include <QDebug>
#include <QEvent>
#include <QScreen>
#include <QWidget>

AnatomyController::AnatomyController(DataModule *data, QWidget *owner)
    : QObject(owner)
    , m_data(data)
    , m_owner(owner)
    , m_libraryPath(AnatomyLibrary::defaultPath()) {}

AnatomyController::~AnatomyController() {
    close();
}

bool AnatomyController::ensureLoaded() {
    if (m_library.isLoaded())
        return true;
    QString error;
    if (m_library.load(m_libraryPath, &error))
        return true;
    qWarning().noquote() << "anatomy display:" << error;
    QString notFound = Localization::Translate(QStringLiteral("NotFoundFile"));
    if (notFound.isEmpty())
        notFound = QStringLiteral("File not found:");
    Dialogs::message(m_owner, notFound + QLatin1Char(' ') + AnatomyLibrary::fileName());
    return false;
}

bool AnatomyController::showTest(int codeTest) {
    std::optional<TestRecord> test;
    if (codeTest > 0 && m_data && m_data->isOpen())
        test = m_data->test(codeTest);
    if (!test) {
        // Nothing to show for this date: an old display would show another test.
        close();
        return ensureLoaded();
    }
    QString sex;
    if (const auto card = ClientRepository(m_data).card(test->codeClient))
        sex = card->sex;
    return show(*test, sex);
}

bool AnatomyController::show(const TestRecord &test, const QString &sexCode) {
    close();
    if (!ensureLoaded())
        return false;
    if (!m_library.show(AnatomyGrading::bodyModelOf(sexCode), AnatomyGrading::grade(test.values),
                        captions()))
        return true; // loaded, but the library opened no window: nothing more to do
    // The practitioner may close the display with its own close button. The window is still
    // being destroyed when it says so: tell the page once it is gone.
    if (QObject *display = m_library.window()) {
        connect(display, &QObject::destroyed, this, [this] {
            QMetaObject::invokeMethod(this, &AnatomyController::closedByUser, Qt::QueuedConnection);
        });
    }
    follow(m_owner ? m_owner->window() : nullptr);
    place();
    return true;
}

AnatomyLibrary::Captions AnatomyController::captions() {
    static const std::pair<const char *, const char *> keys[] = {
        {"head", "AnatomyHead"},         {"rightArm", "AnatomyRightArm"},
        {"leftArm", "AnatomyLeftArm"}, {"rightLeg", "AnatomyRightLeg"}, {"leftLeg", "AnatomyLeftLeg"},
        {"right", "Right"},        {"left", "Left"},                {"male", "Male"},
        {"female", "Female"}};
    AnatomyLibrary::Captions words;
    for (const auto &[caption, key] : keys) {
        const QString text = Localization::Translate(QLatin1String(key));
        if (!text.isEmpty())
            words.append({QByteArray(caption), text});
    }
    return words;
}

void AnatomyController::close() {
    // Closing it here is not the practitioner closing it.
    if (QObject *display = m_library.window())
        disconnect(display, &QObject::destroyed, this, nullptr);
    m_library.close();
}

void AnatomyController::follow(QWidget *window) {
    if (m_followed == window)
        return;
    if (m_followed)
        m_followed->removeEventFilter(this);
    m_followed = window;
    if (window)
        window->installEventFilter(this);
}

void AnatomyController::place() {
    auto *display = qobject_cast<QWidget *>(m_library.window());
    QWidget *window = m_followed;
    if (!display || !window)
        return;
    const QRect frame = window->frameGeometry();
    const QSize size = display->frameGeometry().size();
    const QScreen *screen = window->screen();
    const QRect available =
        screen ? screen->availableGeometry() : QRect(frame.topLeft(), frame.size());
    // Beside the window when the screen has room, else over its right edge, below the box
    // that closes it so that the box stays in reach.
    QPoint at(frame.right() + 8, frame.top());
    if (at.x() + size.width() > available.right()) {
        int top = frame.top() + 80;
        if (m_keepClear && m_keepClear->isVisible())
            top = std::max(top, m_keepClear->mapToGlobal(QPoint(0, m_keepClear->height())).y() + 8);
        at = QPoint(frame.right() - size.width() - 16, top);
    }
    at.setX(std::clamp(at.x(), available.left(),
                       std::max(available.left(), available.right() - size.width())));
    at.setY(std::clamp(at.y(), available.top(),
                       std::max(available.top(), available.bottom() - size.height())));
    m_library.moveTo(at);
}

bool AnatomyController::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_followed && m_library.isOpen() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        place();
    return QObject::eventFilter(watched, event);
}
