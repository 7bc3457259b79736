#pragma once

#include <iosfwd>
#include <string>

namespace tessaron {
class TDocument;
}

namespace tessaron::cli {

// tessaron show --json: the document as one JSON object (see tessaron(1)).
// rom: the document was read as a ROM file.
void ShowJson(std::ostream& out, const std::string& path, bool rom, const TDocument& doc);

} // namespace tessaron::cli
