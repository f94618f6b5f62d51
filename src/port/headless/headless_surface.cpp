// The headless port's surfaces: bitmaps in plain memory, an image sink that keeps the last frame
// presented on each window, and the PNG and BMP writer (and reader) for those frames. Bitmaps and
// presentation: user-interface thread; the image files: any thread.
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <new>

#include "port/headless/headless.h"
#include "port/port.h"

namespace {

std::mutex presentedLock;
std::map<void*, headless::Image> presented;

// ---- Byte helpers

void Put32BE(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}
void Put32LE(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}
void Put16LE(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
uint32_t Get32BE(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
uint32_t Get32LE(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t Crc32(const std::string& data, std::size_t from) {
    static uint32_t table[256];
    static std::once_flag once;
    std::call_once(once, [] {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    });
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i)
        crc = table[(crc ^ static_cast<uint8_t>(data[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutChunk(std::string& png, const char* type, const std::string& body) {
    Put32BE(png, static_cast<uint32_t>(body.size()));
    const std::size_t start = png.size();
    png.append(type, 4);
    png += body;
    Put32BE(png, Crc32(png, start));
}

void ExpandPixel(uint16_t p, uint8_t* rgb) {
    // 5-bit channels widened so that 31 becomes 255.
    const int c[3] = {(p >> 10) & 31, (p >> 5) & 31, p & 31};
    for (int i = 0; i < 3; ++i)
        rgb[i] = static_cast<uint8_t>((c[i] << 3) | (c[i] >> 2));
}

// The rows as 24-bit RGB scanlines, each led by PNG filter byte 0, in a zlib stream of stored
// (uncompressed) blocks: small pictures, no compressor needed.
std::string EncodePng(const headless::Image& image) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (1 + 3 * image.width));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            uint8_t rgb[3];
            ExpandPixel(image.pixels[static_cast<std::size_t>(y) * image.width + x], rgb);
            raw.append(reinterpret_cast<const char*>(rgb), 3);
        }
    }
    std::string zlib = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        zlib.push_back(at + n == raw.size() ? 1 : 0);
        Put16LE(zlib, static_cast<uint32_t>(n));
        Put16LE(zlib, static_cast<uint32_t>(~n & 0xFFFF));
        zlib.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32BE(zlib, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Put32BE(header, static_cast<uint32_t>(image.width));
    Put32BE(header, static_cast<uint32_t>(image.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", "");
    return png;
}

std::string EncodeBmp(const headless::Image& image) {
    const uint32_t stride = (3 * image.width + 3) & ~3u;
    const uint32_t pixelBytes = stride * image.height;
    std::string bmp = "BM";
    Put32LE(bmp, 54 + pixelBytes);
    Put32LE(bmp, 0);
    Put32LE(bmp, 54);
    Put32LE(bmp, 40);
    Put32LE(bmp, static_cast<uint32_t>(image.width));
    Put32LE(bmp, static_cast<uint32_t>(image.height));
    Put16LE(bmp, 1);
    Put16LE(bmp, 24);
    for (int i = 0; i < 6; ++i)
        Put32LE(bmp, i == 1 ? pixelBytes : 0);
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < image.width; ++x) {
            uint8_t rgb[3];
            ExpandPixel(image.pixels[static_cast<std::size_t>(y) * image.width + x], rgb);
            row[3 * x] = static_cast<char>(rgb[2]);
            row[3 * x + 1] = static_cast<char>(rgb[1]);
            row[3 * x + 2] = static_cast<char>(rgb[0]);
        }
        bmp += row;
    }
    return bmp;
}

bool EndsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

void StorePixel(headless::Image* out, std::size_t index, const uint8_t* rgb) {
    out->pixels[index] =
        static_cast<uint16_t>(((rgb[0] >> 3) << 10) | ((rgb[1] >> 3) << 5) | (rgb[2] >> 3));
}

bool DecodePng(const std::vector<uint8_t>& f, headless::Image* out) {
    if (f.size() < 8 || std::memcmp(f.data(), "\x89PNG\r\n\x1a\n", 8) != 0)
        return false;
    std::vector<uint8_t> zlib;
    int width = 0, height = 0;
    for (std::size_t at = 8; at + 12 <= f.size();) {
        const uint32_t length = Get32BE(&f[at]);
        if (length > f.size() - at - 12)
            return false;
        const uint8_t* body = &f[at + 8];
        if (std::memcmp(&f[at + 4], "IHDR", 4) == 0) {
            if (length != 13 || body[8] != 8 || body[9] != 2 || body[12] != 0)
                return false;
            width = static_cast<int>(Get32BE(body));
            height = static_cast<int>(Get32BE(body + 4));
        } else if (std::memcmp(&f[at + 4], "IDAT", 4) == 0) {
            zlib.insert(zlib.end(), body, body + length);
        }
        at += 12 + length;
    }
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || zlib.size() < 2)
        return false;
    std::vector<uint8_t> raw;
    for (std::size_t at = 2; at < zlib.size();) {
        const uint8_t head = zlib[at];
        if ((head & 6) != 0 || at + 5 > zlib.size())
            return false; // only stored blocks
        const std::size_t n = zlib[at + 1] | (zlib[at + 2] << 8);
        if (at + 5 + n > zlib.size())
            return false;
        raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + n);
        at += 5 + n;
        if (head & 1)
            break;
    }
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width);
    if (raw.size() != rowBytes * height)
        return false;
    out->width = width;
    out->height = height;
    out->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        if (raw[y * rowBytes] != 0)
            return false;
        for (int x = 0; x < width; ++x)
            StorePixel(out, static_cast<std::size_t>(y) * width + x,
                       &raw[y * rowBytes + 1 + 3 * x]);
    }
    return true;
}

bool DecodeBmp(const std::vector<uint8_t>& f, headless::Image* out) {
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M' || f[28] != 24)
        return false;
    const int width = static_cast<int>(Get32LE(&f[18]));
    const int height = static_cast<int>(Get32LE(&f[22]));
    const uint32_t offset = Get32LE(&f[10]);
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return false;
    const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t(3);
    if (offset > f.size() || stride * height > f.size() - offset)
        return false;
    out->width = width;
    out->height = height;
    out->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &f[offset + stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const uint8_t rgb[3] = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
            StorePixel(out, static_cast<std::size_t>(y) * width + x, rgb);
        }
    }
    return true;
}

} // namespace

namespace headless {

bool LastPresented(void* window, Image* out) {
    std::lock_guard<std::mutex> guard(presentedLock);
    const auto it = presented.find(window);
    if (it == presented.end())
        return false;
    *out = it->second;
    return true;
}

void ForgetPresented() {
    std::lock_guard<std::mutex> guard(presentedLock);
    presented.clear();
}

bool WriteImage(const Image& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return false;
    const std::string bytes = EndsWith(path, ".png") ? EncodePng(image) : EncodeBmp(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

bool ReadImage(const std::string& path, Image* out) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string read;
    if (!ReadAll(file, &read))
        return false;
    const std::vector<uint8_t> bytes(read.begin(), read.end());
    return EndsWith(path, ".png") ? DecodePng(bytes, out) : DecodeBmp(bytes, out);
}

} // namespace headless

namespace port {

ModuleHandle ProgramModule() {
    static int module;
    return &module;
}

BitmapHandle CreateSurfaceBitmap(const SurfaceInfo& info, uint16_t** bits) {
    *bits = nullptr;
    const int64_t width = info.width;
    const int64_t height = info.height < 0 ? -static_cast<int64_t>(info.height) : info.height;
    if (width <= 0 || height <= 0 || info.bitCount != 16 ||
        static_cast<uint64_t>(width * height * 2) > headless::kMaxBitmapBytes)
        return nullptr;
    // The handle is the pixel memory itself, zeroed like the Windows program's DIB sections.
    *bits = new (std::nothrow) uint16_t[width * height]();
    return *bits;
}

void DeleteSurfaceBitmap(BitmapHandle bitmap) {
    delete[] static_cast<uint16_t*>(bitmap);
}

// Into the window's last frame, whose memory is reused: a run presents thousands of frames.
void PresentSurface(WindowHandle window, const SurfaceInfo& info, const uint16_t* bits) {
    std::lock_guard<std::mutex> guard(presentedLock);
    headless::Image& frame = presented[window];
    frame.width = info.width;
    frame.height = info.height < 0 ? -info.height : info.height;
    frame.pixels.assign(bits, bits + static_cast<std::size_t>(frame.width) * frame.height);
}

bool DrawSystemText(BitmapHandle, const SurfaceInfo&, int, int, uint32_t, const char*) {
    return false;
}

} // namespace port
