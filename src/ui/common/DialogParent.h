#pragma once

class QWidget;

// Boxes open over the window the user is in. A box owned by a window that is
// covered by one of the program's stay-on-top windows would open under it,
// modal and unseen, and the program would look frozen.

// The window a box or dialog should belong to: an open modal dialog first,
// then the program's active window, else fallback's window.
QWidget *DialogParent(QWidget *fallback);

// Keeps dialog above the program's other windows while any of them shown
// stays on top. Call before showing it.
void KeepAboveProgramWindows(QWidget *dialog);
