// Builds BMP images in memory for the loader and font tests: resource form (info header first)
// or file form (with the 14-byte file header), any depth, rows stored bottom-up.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace testbmp {

inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Set32(std::vector<uint8_t>& v, std::size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// value(x, y) is the stored value of pixel (x, y), y counted from the top: a palette index for
// 1, 4 and 8 bits, a 5-5-5 word for 16, 0xRRGGBB for 24 and 32. palette holds 0xRRGGBB entries.
inline std::vector<uint8_t> Make(int width, int height, int bitCount,
                                 const std::vector<uint32_t>& palette,
                                 const std::function<uint32_t(int, int)>& value) {
    std::vector<uint8_t> v;
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(width));
    Put32(v, static_cast<uint32_t>(height));
    Put16(v, 1);
    Put16(v, static_cast<uint32_t>(bitCount));
    const uint32_t stride = ((width * bitCount + 31) / 32) * 4;
    Put32(v, 0);
    Put32(v, stride * height);
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, static_cast<uint32_t>(palette.size()));
    Put32(v, 0);
    for (uint32_t c : palette)
        Put32(v, c & 0xFFFFFF);
    for (int row = height - 1; row >= 0; --row) {
        std::vector<uint8_t> line(stride, 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = value(x, row);
            if (bitCount == 1)
                line[x / 8] |= static_cast<uint8_t>((p & 1) << (7 - x % 8));
            else if (bitCount == 4)
                line[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? (p & 15) << 4 : p & 15);
            // Whole bytes, least significant first; a 32-bit pixel's fourth byte stays 0.
            for (int i = 0; i < bitCount / 8 && i < 3; ++i)
                line[bitCount / 8 * x + i] = static_cast<uint8_t>(p >> (8 * i));
        }
        v.insert(v.end(), line.begin(), line.end());
    }
    return v;
}

// The resource form with the file header in front.
inline std::vector<uint8_t> AsFile(const std::vector<uint8_t>& resource) {
    std::vector<uint8_t> f = {'B', 'M'};
    Put32(f, static_cast<uint32_t>(resource.size() + 14));
    Put32(f, 0);
    uint32_t palette = 0;
    for (int i = 0; i < 4; ++i)
        palette |= static_cast<uint32_t>(resource[32 + i]) << (8 * i);
    Put32(f, 14 + 40 + 4 * palette);
    f.insert(f.end(), resource.begin(), resource.end());
    return f;
}

// A file in the temporary directory named for this process, so that test runs of several build
// trees side by side do not share it.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "tonalyx-" + std::to_string(getpid()) + "-" + name;
}

inline std::string WriteTemp(const std::vector<uint8_t>& bytes, const std::string& name) {
    const std::string path = TempPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace testbmp
