#pragma once

#include "common/MessageBox.h"
#include "editor/model/MessageSink.h"

namespace tessaron {

// The model's messages (the ROM reader's ECR warning) as information boxes.
class TMessageBoxSink : public TMessageSink
{
public:
    explicit TMessageBoxSink(MessageBox& boxes) : m_boxes(boxes) {}
    void ShowInformation(const std::string& text) override;

private:
    MessageBox& m_boxes;
};

} // namespace tessaron
