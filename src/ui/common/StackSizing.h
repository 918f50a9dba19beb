#pragma once

class QStackedWidget;

// A stack whose size is that of the page in sight: hidden pages take no room, so one large
// page does not make every other one scroll or stretch.
namespace StackSizing {

void followCurrent(QStackedWidget *stack);

} // namespace StackSizing
