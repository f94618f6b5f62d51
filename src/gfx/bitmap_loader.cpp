// The BMP readers of CDib: a bitmap resource (its info header first) or a .bmp file, converted to
// 5-5-5 pixels. These parse outside input, so every size is checked against the bytes that are
// really there before anything is read. User-interface thread.
#include <cstring>
#include <fstream>

#include "gfx/dib.h"
#include "state/alloc.h"

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;
// Larger sides than any bitmap of the program or of the platform's own limits.
constexpr int32_t kMaxSide = 32767;

uint32_t Read32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint16_t PaletteColor(const uint8_t* palette, uint32_t paletteLength, uint32_t index) {
    if (index >= paletteLength)
        return 0;
    const uint8_t* e = palette + 4 * index;
    return MakeColor(e[2], e[1], e[0]);
}

} // namespace

int CDib::Decode(const uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kInfoHeaderSize)
        return 0;
    const uint32_t headerSize = Read32(data);
    const int32_t width = static_cast<int32_t>(Read32(data + 4));
    const int32_t height = static_cast<int32_t>(Read32(data + 8));
    const uint16_t bitCount = Read16(data + 14);
    const uint32_t compression = Read32(data + 16);
    const uint32_t usedColors = Read32(data + 32);
    // Top-down (negative height) and compressed bitmaps are not read: the program's own are
    // bottom-up and uncompressed, and decoding them as such would give garbage.
    if (headerSize < kInfoHeaderSize || headerSize > size || width <= 0 || height <= 0 ||
        width > kMaxSide || height > kMaxSide || compression != 0)
        return 0;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return 0;

    uint32_t paletteLength = 0;
    if (headerSize == kInfoHeaderSize && usedColors != 0)
        paletteLength = usedColors;
    else if (bitCount <= 8)
        paletteLength = 1u << bitCount;
    const uint64_t paletteBytes = 4ull * paletteLength;
    const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
    const uint64_t pixelStart = headerSize + paletteBytes;
    if (pixelStart > size || stride * static_cast<uint64_t>(height) > size - pixelStart)
        return 0;

    if (!Create(width, height))
        return 0;
    const uint8_t* palette = data + headerSize;
    const uint8_t* pixels = data + pixelStart;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels + stride * static_cast<uint64_t>(height - 1 - y);
        uint16_t* out = m_Bits + static_cast<std::ptrdiff_t>(y) * m_Width;
        for (int32_t x = 0; x < width; ++x) {
            uint16_t c = 0;
            switch (bitCount) {
            case 1:
                c = PaletteColor(palette, paletteLength, (row[x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                c = PaletteColor(palette, paletteLength,
                                 x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15);
                break;
            case 8:
                c = PaletteColor(palette, paletteLength, row[x]);
                break;
            case 16:
                c = Read16(row + 2 * x) & 0x7FFF;
                break;
            case 24:
                c = MakeColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default:
                c = MakeColor(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
            }
            out[x] = c;
        }
    }
    return 1;
}

int CDib::LoadFromResource(port::ModuleHandle instance, const char* name) {
    port::ResourceData resource{};
    if (instance == nullptr || !port::FindResourceData("BITMAP", name, &resource))
        return 0;
    return Decode(resource.bytes, resource.size);
}

int CDib::LoadFromFile(const char* path) {
    if (path == nullptr || *path == '\0')
        return 0;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return 0;
    const std::streamoff length = file.tellg();
    if (length < static_cast<std::streamoff>(kFileHeaderSize + kInfoHeaderSize))
        return 0;
    char fileHeader[kFileHeaderSize];
    file.seekg(0);
    if (!file.read(fileHeader, kFileHeaderSize) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return 0;
    const std::size_t size = static_cast<std::size_t>(length) - kFileHeaderSize;
    uint8_t* block = AllocArray<uint8_t>(size);
    if (block == nullptr)
        return 0;
    int ok = 0;
    if (file.read(reinterpret_cast<char*>(block), static_cast<std::streamsize>(size)))
        ok = Decode(block, size);
    FreeArray(block);
    return ok;
}
