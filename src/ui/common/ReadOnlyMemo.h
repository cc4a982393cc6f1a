#pragma once

class QPlainTextEdit;

// A text view the user reads, selects and copies but does not edit. It stays
// a Tab stop, so it shows a caret when it has the focus and the arrow keys
// move and select as in an editor; a read-only view without it takes the
// focus and shows none.
void MakeReadOnlyMemo(QPlainTextEdit *memo);
