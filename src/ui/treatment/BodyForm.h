#pragma once

#include <QWidget>

class BodyAtlasView;

// The point atlas (`TBodyForm`): a small window that stays on top and shows where a point lies,
// marked on both sides of the body on the back, front or side picture. Made once and reused;
// every point shown starts the blinking anew. Esc closes it.
//
// A point label's click handler calls showPointNear(label->text(), label) for codes that
// AtlasPoints::linksTo() accepts.
class BodyForm : public QWidget
{
    Q_OBJECT
public:
    // The client area the window opens with.
    static constexpr int ClientWidth = 301;
    static constexpr int ClientHeight = 563;

    explicit BodyForm(QWidget *parent = nullptr);

    // Marks the point of `code` (read from DesDotsNames.INI at that moment, so edits of the
    // file show at once). A code the file lacks shows the back picture with black dots at its
    // top-left corner.
    void showPoint(const QString &code);
    // Moves the window's top-left corner to the label's place on the screen (kept on the
    // screen), marks the point and shows the window.
    void showPointNear(const QString &code, const QWidget *label);
    // The same at a point of the screen.
    void showPointAt(const QString &code, const QPoint &globalTopLeft);

    QString currentCode() const { return m_code; }
    BodyAtlasView *view() const { return m_view; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void updateTitle();

    BodyAtlasView *m_view = nullptr;
    QString m_code;
    QString m_caption;
};
