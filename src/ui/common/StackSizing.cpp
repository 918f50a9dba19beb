#include "StackSizing.h"

#include <QStackedWidget>

namespace StackSizing {

void followCurrent(QStackedWidget *stack)
{
    const auto apply = [stack] {
        for (int i = 0; i < stack->count(); ++i) {
            const auto policy =
                stack->widget(i) == stack->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
            stack->widget(i)->setSizePolicy(policy, policy);
        }
        stack->updateGeometry();
    };
    QObject::connect(stack, &QStackedWidget::currentChanged, stack, apply);
    apply();
}

} // namespace StackSizing
