#include "FakeMessageBox.h"

#include <gtest/gtest.h>

namespace tessaron::test {

void FakeMessageBox::Error(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::Error, caption, text});
}

void FakeMessageBox::Information(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::Information, caption, text});
}

bool FakeMessageBox::ConfirmYesNo(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::YesNo, caption, text});
    return take(text, MessageAnswer::No) == MessageAnswer::Yes;
}

MessageAnswer FakeMessageBox::ConfirmYesNoCancel(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::YesNoCancel, caption, text});
    return take(text, MessageAnswer::Cancel);
}

std::vector<QString> FakeMessageBox::texts(Kind kind) const
{
    std::vector<QString> result;
    for (const Shown& box : m_shown) {
        if (box.kind == kind) {
            result.push_back(box.text);
        }
    }
    return result;
}

MessageAnswer FakeMessageBox::take(const QString& text, MessageAnswer fallback)
{
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return fallback;
    }
    const MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace tessaron::test
