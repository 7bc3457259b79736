#include "QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace tessaron {

QString QtFilterFromWindows(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        // Windows separates several patterns with ";", Qt with blanks.
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('('))) {
            filters << description;
        } else {
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
    }
    if (parts.size() % 2 == 1 && !parts.last().trimmed().isEmpty()) {
        // A lone description without a pattern: offer it as a pattern of its own.
        filters << parts.last().trimmed();
    }
    return filters.join(QStringLiteral(";;"));
}

QtFileDialog::QtFileDialog(QWidget* parent) : m_parent(parent) {}

QString QtFileDialog::OpenFileName(const FileDialogOptions& options)
{
    return run(options, false);
}

QString QtFileDialog::SaveFileName(const FileDialogOptions& options)
{
    return run(options, true);
}

QString QtFileDialog::run(const FileDialogOptions& options, bool save)
{
    QFileDialog dialog(m_parent, options.Title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialogs also accept a name that does not exist yet: the editor
    // then only takes the name.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtFilterFromWindows(options.Filter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(options.DefaultExtension);
    if (!options.OverwritePrompt) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    QString folder = options.StartFolder;
    if (!options.ProposedName.isEmpty()) {
        const QFileInfo proposed(options.ProposedName);
        if (proposed.isAbsolute()) {
            folder = proposed.absolutePath();
        }
        if (!folder.isEmpty() && QDir(folder).exists()) {
            dialog.setDirectory(folder);
        }
        dialog.selectFile(proposed.fileName());
    } else if (!folder.isEmpty() && QDir(folder).exists()) {
        dialog.setDirectory(folder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace tessaron
