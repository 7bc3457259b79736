#pragma once

#include <QString>

namespace tessaron {

// What an open or save dialog is asked to show.
struct FileDialogOptions
{
    QString Title;
    // Windows form: pairs of description and pattern separated by "|", for
    // example "Tessaron ROM Files (*.rom)|*.rom".
    QString Filter;
    QString DefaultExtension; // without the dot; appended to a name without one
    QString StartFolder;      // empty: the dialog's own choice
    QString ProposedName;     // a file name or a full path
    bool OverwritePrompt = false;
};

// The common open and save dialogs. Both return the chosen path, or an empty
// string when the user cancelled.
class FileDialog
{
public:
    virtual ~FileDialog() = default;
    virtual QString OpenFileName(const FileDialogOptions& options) = 0;
    virtual QString SaveFileName(const FileDialogOptions& options) = 0;
};

} // namespace tessaron
