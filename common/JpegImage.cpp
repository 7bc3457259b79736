#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace tessaron {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return;
// we jump back to the decoder. Only plain C data lives between setjmp and
// longjmp, so no destructor is skipped.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (a damaged but readable stream) are not printed to stderr.
void onMessage(j_common_ptr) {}

bool fail(TJpegImage& image, std::string* error, const char* reason)
{
    image = TJpegImage();
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

// Everything libjpeg touches between setjmp and longjmp is in here.
bool decode(jpeg_decompress_struct& info, ErrorManager& errors, const unsigned char* data,
            std::size_t size, TJpegImage& image)
{
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxJpegSide ||
        info.image_height > kMaxJpegSide) {
        std::snprintf(errors.message, sizeof errors.message, "picture size %ux%u not accepted",
                      info.image_width, info.image_height);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        std::snprintf(errors.message, sizeof errors.message, "unexpected colour layout");
        return false;
    }
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    image.Rgb.assign(stride * info.output_height, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Rgb.data() + stride * info.output_scanline;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            std::snprintf(errors.message, sizeof errors.message, "picture data ends early");
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

bool DecodeJpeg(const unsigned char* data, std::size_t size, TJpegImage& image, std::string* error)
{
    image = TJpegImage();
    if (data == nullptr || size == 0) {
        return fail(image, error, "no picture data");
    }
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    errors.message[0] = '\0';
    const bool ok = decode(info, errors, data, size, image);
    jpeg_destroy_decompress(&info);
    if (!ok) {
        return fail(image, error,
                    errors.message[0] != '\0' ? errors.message : "not a JPEG picture");
    }
    return true;
}

bool LoadJpegFile(const std::string& path, TJpegImage& image, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return fail(image, error, "cannot open the picture file");
    }
    // Anything bigger than a generous picture is no picture of ours.
    constexpr std::streamoff kMaxFileSize = 16 * 1024 * 1024;
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length <= 0 || length > kMaxFileSize) {
        return fail(image, error, "picture file is empty or too large");
    }
    in.seekg(0);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) {
        return fail(image, error, "cannot read the picture file");
    }
    return DecodeJpeg(bytes.data(), bytes.size(), image, error);
}

} // namespace tessaron
