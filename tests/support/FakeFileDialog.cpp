#include "FakeFileDialog.h"

#include <gtest/gtest.h>

namespace tessaron::test {

QString FakeFileDialog::OpenFileName(const FileDialogOptions& options)
{
    return take(false, options);
}

QString FakeFileDialog::SaveFileName(const FileDialogOptions& options)
{
    return take(true, options);
}

QString FakeFileDialog::take(bool save, const FileDialogOptions& options)
{
    m_shown.push_back({save, options});
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << options.Title.toStdString();
        return {};
    }
    QString answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace tessaron::test
