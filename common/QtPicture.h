#pragma once

#include <QImage>

#include <string_view>

namespace tessaron {

// One of the suite's JPEG pictures by file name (found like every file the
// suite ships), decoded with libjpeg. A missing or damaged file gives a null
// image: the caller shows an empty area and carries on.
QImage LoadPicture(std::string_view fileName);

// The same for a file given by its full path.
QImage LoadPictureFile(const std::string& path);

} // namespace tessaron
