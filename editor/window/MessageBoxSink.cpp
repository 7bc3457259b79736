#include "MessageBoxSink.h"

namespace tessaron {

void TMessageBoxSink::ShowInformation(const std::string& text)
{
    m_boxes.Information(QStringLiteral("Plindorax"), QString::fromLatin1(text.c_str()));
}

} // namespace tessaron
