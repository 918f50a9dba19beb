#pragma once

class QWidget;

// Where a window of the program opens: over the window it belongs to, never partly off the
// screen.
namespace WindowPlacement {

// Moves `window` (not shown yet, or shown) so its frame is centred on `over`'s and lies
// within the free area of the screen, made smaller first when it is larger than that area.
// The frame's size is guessed before the first showing.
void centreOver(QWidget *window, const QWidget *over);
// Leaves `window` where it is as far as the screen allows: made smaller when larger than the
// free area, moved only as much as it takes to lie within it.
void keepOnScreen(QWidget *window);

} // namespace WindowPlacement
