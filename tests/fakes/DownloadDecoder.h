#pragma once

#include "siblings/core/DownloadStream.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaron::test {

// What a simulated keypad makes of a download: it watches the bytes the PC
// sends for the start of a download image (any command prefix, then 1, 25, 200,
// 100), takes the image's bytes from there to its end, and lists the new
// parameters and each key's macros in the editor's item labels. Bytes outside a
// download go on to the keypad's command parser; the four bytes before the
// download was recognised have gone there already when they came in an earlier
// read.
class DownloadDecoder
{
public:
    using Clock = std::chrono::steady_clock;
    // A download that stops for this long is abandoned (the loader was
    // cancelled, or the line broke).
    static constexpr int QuietGapMs = 2000;

    struct Download
    {
        bool Complete = false;
        std::string Problem; // why an incomplete download ended
        int Bytes = 0;
        Clock::time_point First{};
        Clock::time_point Last{};
        std::string Listing; // of a complete download

        bool Ended() const { return Complete || !Problem.empty(); }
    };

    // Takes the bytes received at now; those that are no part of a download
    // are appended to passOn. True when a download ended in them.
    bool Feed(const std::uint8_t* bytes, std::size_t n, Clock::time_point now, std::string& passOn);
    // Abandons a download that has been quiet for QuietGapMs; true when it did.
    bool ExpireIfQuiet(Clock::time_point now);
    bool Receiving() const { return m_receiving; }

    const std::vector<Download>& Downloads() const { return m_downloads; }
    // Every download as text: a head line each, then the listing of a complete one.
    std::string Report() const;
    // One download's part of that: "N bytes, complete" and the listing, or
    // "N bytes, incomplete: why", or "N bytes, receiving".
    static std::string Summary(const Download& d);

    // The parameters and the macros of a complete stream.
    static std::string Listing(const TDownloadStream& stream);

private:
    void end(Clock::time_point now);

    bool m_receiving = false;
    TDownloadStream m_stream;
    std::uint8_t m_window[4] = {};
    int m_windowFill = 0;
    std::vector<Download> m_downloads;
};

} // namespace tessaron::test
