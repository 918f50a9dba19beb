#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// A check box or radio button whose caption wraps over as many lines as the width allows,
// instead of running past the edge. The caption is a label beside the button; clicking it
// clicks the button. The caption is plain text ("&" and markup show as typed). Returns the
// row holding both.
namespace WrappedChoice {

QWidget *make(QAbstractButton *button, const QString &caption, QWidget *parent);

} // namespace WrappedChoice
