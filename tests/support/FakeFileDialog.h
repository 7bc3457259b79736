#pragma once

#include "common/FileDialog.h"

#include <deque>
#include <vector>

namespace tessaron::test {

// Records every dialog and answers from a queue: a path, or "" for Cancel. A
// dialog without a queued answer fails the test and is cancelled.
class FakeFileDialog : public FileDialog
{
public:
    struct Shown
    {
        bool save;
        FileDialogOptions options;
    };

    QString OpenFileName(const FileDialogOptions& options) override;
    QString SaveFileName(const FileDialogOptions& options) override;

    void QueueAnswer(const QString& path) { m_answers.push_back(path); }
    void QueueCancel() { m_answers.push_back(QString()); }
    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }

    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    QString take(bool save, const FileDialogOptions& options);

    std::deque<QString> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace tessaron::test
