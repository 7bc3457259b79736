#pragma once

#include "common/FileDialog.h"

#include <QPointer>
#include <QWidget>

namespace tessaron {

// A Windows filter "Desc (*.x)|*.x|All (*.*)|*.*" in Qt's form
// "Desc (*.x);;All (*.*)". A description that does not name its pattern in
// parentheses gets it appended, so Qt still filters by it.
QString QtFilterFromWindows(const QString& windowsFilter);

// The dialogs shown with QFileDialog.
class QtFileDialog : public FileDialog
{
public:
    explicit QtFileDialog(QWidget* parent = nullptr);

    void SetParentWindow(QWidget* parent) { m_parent = parent; }

    QString OpenFileName(const FileDialogOptions& options) override;
    QString SaveFileName(const FileDialogOptions& options) override;

private:
    QString run(const FileDialogOptions& options, bool save);

    QPointer<QWidget> m_parent;
};

} // namespace tessaron
