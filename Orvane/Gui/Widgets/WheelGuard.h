#pragma once

class QWidget;

// A field that turns a value with the wheel (spin box, combo box, slider) takes the wheel only once the user
// clicked or tabbed into it. Until then the wheel scrolls the form around the field (the nearest scroll area it
// sits in that can move that way) and never changes the value the pointer happens to pass over; with no such
// area it does nothing.
void TakeWheelOnlyWithFocus(QWidget* field);
// The same for every spin box, combo box and slider under root.
void TakeWheelOnlyWithFocusIn(QWidget* root);
