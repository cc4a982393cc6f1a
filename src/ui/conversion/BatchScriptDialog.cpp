#include "ui/conversion/BatchScriptDialog.h"

#include "conversion/BatchScript.h"
#include "ui/common/DialogFilter.h"

#include <QDir>
#include <QFileDialog>

namespace {

// Matches both letter cases.
QString batFilter(const TAppStrings &strings)
{
    return DialogFilter(strings.Main.dlgSaveBAT_Filter, QStringLiteral("*.bat *.BAT"));
}

} // namespace

QString AskBatchScriptFileName(QWidget *parent, const TAppStrings &strings, const QString &lastDir)
{
    QFileDialog dialog(parent, QString(strings.Main.actSaveBAT).remove(u'&'));
    dialog.setObjectName(QStringLiteral("dlgSaveBAT"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QString shFilter = strings.Main.dlgSaveBAT_FilterSh;
    const QString bat = batFilter(strings);
    dialog.setNameFilters({shFilter, bat});
    dialog.selectNameFilter(shFilter);
    dialog.setDefaultSuffix(QStringLiteral("sh"));
    dialog.setDirectory(lastDir.isEmpty() ? QDir::homePath() : lastDir);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        dialog.setDefaultSuffix(filter == bat ? QStringLiteral("bat") : QStringLiteral("sh"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const BatchScriptFormat type
        = dialog.selectedNameFilter() == bat ? BatchScriptFormat::Bat : BatchScriptFormat::Sh;
    return BatchScriptFileNameFor(dialog.selectedFiles().first(), type);
}
