#include "ui/common/MonospaceFont.h"

#include "app/AppParams.h"

#include <QFontDatabase>

QFont MonospaceFont(const TFontParams &params)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!params.Name.isEmpty()) {
        font.setFamily(params.Name);
        if (params.Size > 0)
            font.setPointSize(params.Size);
    }
    // A family that is missing falls back to another fixed-width one.
    font.setStyleHint(QFont::Monospace);
    return font;
}
