#pragma once

#include "common/MessageBox.h"

#include <QString>

#include <deque>
#include <vector>

namespace tessaron::test {

// Records every box and answers questions from a queue filled in advance. A
// question without a queued answer fails the test and is answered Cancel/No.
class FakeMessageBox : public MessageBox
{
public:
    enum class Kind
    {
        Error,
        Information,
        YesNo,
        YesNoCancel,
    };

    struct Shown
    {
        Kind kind;
        QString caption;
        QString text;
    };

    void Error(const QString& caption, const QString& text) override;
    void Information(const QString& caption, const QString& text) override;
    bool ConfirmYesNo(const QString& caption, const QString& text) override;
    MessageAnswer ConfirmYesNoCancel(const QString& caption, const QString& text) override;

    void QueueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    int PendingAnswers() const { return static_cast<int>(m_answers.size()); }

    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }
    // Texts of the boxes of one kind, in order.
    std::vector<QString> texts(Kind kind) const;
    std::vector<QString> errors() const { return texts(Kind::Error); }
    std::vector<QString> informations() const { return texts(Kind::Information); }

private:
    MessageAnswer take(const QString& text, MessageAnswer fallback);

    std::deque<MessageAnswer> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace tessaron::test
