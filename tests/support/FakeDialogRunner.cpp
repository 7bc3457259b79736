#include "FakeDialogRunner.h"

#include <QDialog>

namespace tessaron::test {

int FakeDialogRunner::Run(QDialog& dialog)
{
    m_shown.push_back(dialog.objectName());
    if (m_whileShown) {
        m_whileShown(dialog);
    }
    return m_result;
}

} // namespace tessaron::test
