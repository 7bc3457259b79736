#include "DownloadDecoder.h"

#include "editor/model/KeypadClass.h"

#include <cstdio>

namespace tessaron::test {

using namespace tessaron::download;

namespace {

std::string keyText(std::uint8_t key, std::uint8_t none)
{
    return key == none ? std::string("none") : "KEY" + std::to_string(key);
}

std::string hexText(const TDownloadStream::Level& level)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < level.Length; ++i) {
        const std::uint8_t b = level.Bytes[static_cast<size_t>(i)];
        text += digits[b >> 4];
        text += digits[b & 0xF];
    }
    return text;
}

std::string flagsText(std::uint8_t flags)
{
    std::string text;
    if (flags & LevelAutoRepeat) {
        text += "AutoRepeat";
    }
    if (flags & LevelSendLineEditKeyASAP) {
        text += text.empty() ? "" : ", ";
        text += "SendLineEditKeyASAP";
    }
    return text.empty() ? text : " (" + text + ")";
}

} // namespace

bool DownloadDecoder::Feed(const std::uint8_t* bytes, std::size_t n, Clock::time_point now,
                           std::string& passOn)
{
    bool ended = false;
    const std::size_t passedBefore = passOn.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        if (m_receiving) {
            Download& d = m_downloads.back();
            if (m_stream.Feed(b)) {
                ++d.Bytes;
                d.Last = now;
            }
            if (!m_stream.Complete() && m_stream.Status() == TDownloadStream::State::Receiving) {
                continue;
            }
            end(now);
            ended = true;
            continue;
        }
        // Any prefix, then the fixed bytes of the parameter record.
        if (m_windowFill == 4 && m_window[1] == ParameterRecord && m_window[2] == ParameterCount &&
            m_window[3] == MacroLength && b == Level1Length) {
            m_stream = TDownloadStream();
            m_receiving = true;
            m_windowFill = 0;
            Download d;
            d.First = now;
            d.Last = now;
            m_downloads.push_back(d);
            const std::uint8_t head[] = {m_window[0], m_window[1], m_window[2], m_window[3], b};
            m_stream.FeedAll(head, sizeof head);
            m_downloads.back().Bytes = static_cast<int>(sizeof head);
            // The head's bytes of this read are no data for the parser.
            const std::size_t own = passOn.size() - passedBefore;
            passOn.resize(passOn.size() - (own < 4 ? own : 4));
            continue;
        }
        passOn += static_cast<char>(b);
        if (m_windowFill < 4) {
            m_window[m_windowFill++] = b;
        } else {
            m_window[0] = m_window[1];
            m_window[1] = m_window[2];
            m_window[2] = m_window[3];
            m_window[3] = b;
        }
    }
    return ended;
}

void DownloadDecoder::end(Clock::time_point now)
{
    Download& d = m_downloads.back();
    d.Last = now;
    d.Complete = m_stream.Complete();
    if (d.Complete) {
        d.Listing = Listing(m_stream);
    } else {
        d.Problem = m_stream.Error();
    }
    m_receiving = false;
}

bool DownloadDecoder::ExpireIfQuiet(Clock::time_point now)
{
    if (!m_receiving || now - m_downloads.back().Last < std::chrono::milliseconds(QuietGapMs)) {
        return false;
    }
    Download& d = m_downloads.back();
    d.Problem = "abandoned after " + std::to_string(d.Bytes) + " bytes: nothing came for " +
                std::to_string(QuietGapMs / 1000) + " seconds";
    m_receiving = false;
    return true;
}

std::string DownloadDecoder::Report() const
{
    std::string text;
    for (size_t i = 0; i < m_downloads.size(); ++i) {
        text += "download " + std::to_string(i + 1) + ": " + Summary(m_downloads[i]);
    }
    return text;
}

std::string DownloadDecoder::Summary(const Download& d)
{
    const std::string bytes = std::to_string(d.Bytes) + " bytes, ";
    if (d.Complete) {
        return bytes + "complete\n" + d.Listing;
    }
    if (!d.Problem.empty()) {
        return bytes + "incomplete: " + d.Problem + "\n";
    }
    return bytes + "receiving\n";
}

std::string DownloadDecoder::Listing(const TDownloadStream& stream)
{
    const auto& p = stream.Parameters();
    std::string text = "parameters:\n";
    auto line = [&text](const std::string& name, const std::string& value) {
        text += "  " + name + ": " + value + "\n";
    };
    for (int i = MacroLengthByte; i < ParameterRecordLength; ++i) {
        const std::uint8_t b = p[static_cast<size_t>(i)];
        switch (i) {
        case LevelToggleKey1:
        case LevelToggleKey2:
        case LevelShiftKey1:
        case LevelShiftKey2:
            line(ParameterByteNames[static_cast<size_t>(i)], keyText(b, NoKey));
            break;
        case AlphaToggleKey:
            line(ParameterByteNames[static_cast<size_t>(i)], keyText(b, NoAlphaToggleKey));
            break;
        case CdcSerialHighByte: {
            char serial[8];
            std::snprintf(serial, sizeof serial, "%02X%02X", b, p[CdcSerialLowByte]);
            line("CDC_Serial_No", serial);
            ++i;
            break;
        }
        default:
            line(ParameterByteNames[static_cast<size_t>(i)], std::to_string(b));
            break;
        }
    }

    // The macros in the editor's labels: the keypad's bytes read back as items.
    text += "keys:\n";
    std::string empty;
    for (int k = 0; k < Keys; ++k) {
        const TDownloadStream::Key& key = stream.Keys()[static_cast<size_t>(k)];
        bool any = false;
        for (int level = 0; level < 2; ++level) {
            const TDownloadStream::Level& l = key.Levels[static_cast<size_t>(level)];
            if (l.Length == 0) {
                continue;
            }
            any = true;
            const TDecodedMacro macro = DecodeMacroText(hexText(l), stream.Prefix());
            text += "  KEY" + std::to_string(k) + " level " + std::to_string(level + 1) +
                    flagsText(l.Flags) + ":";
            for (std::int32_t item : macro.Items) {
                text += " [" + ItemLabelOf(item, 0) + "]";
            }
            text += macro.WellFormed ? "\n" : " (and bytes that are no item)\n";
        }
        if (!any) {
            empty += (empty.empty() ? "" : " ") + ("KEY" + std::to_string(k));
        }
    }
    if (!empty.empty()) {
        text += "  no macros: " + empty + "\n";
    }
    return text;
}

} // namespace tessaron::test
