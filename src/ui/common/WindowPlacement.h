#pragma once

class QWidget;

// Places a top-level window centred over its owner (its parent widget's
// window), or over the screen it is on when it has none, kept on that
// screen.
void CentreOverOwner(QWidget *window);
