#include "tests/assets/image_reader.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace forge_test {

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

Image readPng(const std::string& path) {
    Image img;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return img;
    img.channels = (png.format & PNG_FORMAT_FLAG_ALPHA) ? 4 : 3;
    png.format = PNG_FORMAT_RGBA;
    img.rgba.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, img.rgba.data(), 0, nullptr)) {
        png_image_free(&png);
        return {};
    }
    img.width = static_cast<int>(png.width);
    img.height = static_cast<int>(png.height);
    return img;
}

Image readJpeg(const std::string& path) {
    Image img;
    FILE* fp = std::fopen(path.c_str(), "rb");
    if (!fp) return img;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, fp);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    img.width = static_cast<int>(cinfo.output_width);
    img.height = static_cast<int>(cinfo.output_height);
    img.channels = 3;
    std::vector<unsigned char> row(static_cast<std::size_t>(img.width) * 3);
    img.rgba.reserve(static_cast<std::size_t>(img.width) * img.height * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&cinfo, &r, 1);
        for (int x = 0; x < img.width; ++x) {
            img.rgba.insert(img.rgba.end(), row.begin() + x * 3, row.begin() + x * 3 + 3);
            img.rgba.push_back(255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(fp);
    return img;
}

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace forge_test
