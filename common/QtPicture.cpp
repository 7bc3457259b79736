#include "QtPicture.h"

#include "JpegImage.h"
#include "SuiteFolder.h"

namespace tessaron {

QImage LoadPictureFile(const std::string& path)
{
    TJpegImage jpeg;
    if (!LoadJpegFile(path, jpeg)) {
        return {};
    }
    QImage image(jpeg.Width, jpeg.Height, QImage::Format_RGB888);
    if (image.isNull()) {
        return {};
    }
    const auto stride = static_cast<std::size_t>(jpeg.Width) * 3;
    for (int y = 0; y < jpeg.Height; ++y) {
        std::copy_n(jpeg.Rgb.data() + stride * static_cast<std::size_t>(y), stride,
                    image.scanLine(y));
    }
    return image;
}

QImage LoadPicture(std::string_view fileName)
{
    return LoadPictureFile(SharedFilePath(fileName));
}

} // namespace tessaron
