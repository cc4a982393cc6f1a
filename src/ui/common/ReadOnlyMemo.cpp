#include "ui/common/ReadOnlyMemo.h"

#include <QPlainTextEdit>

void MakeReadOnlyMemo(QPlainTextEdit *memo)
{
    memo->setReadOnly(true);
    // After setReadOnly, which resets the flags to mouse selection only.
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}
