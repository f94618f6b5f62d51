// The BMP loaders: every depth converted to 5-5-5 from resources and files, and hostile bitmaps
// refused without reading outside their bytes (each resource is a heap block of exactly its size,
// so the address-sanitizer build catches any stray read).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx/dib.h"
#include "port/headless/headless.h"
#include "state/alloc.h"
#include "test_bitmaps.h"

namespace {

// Serves one BITMAP resource "PIC" from an exactly sized heap copy of the given bytes.
class OneBitmap {
public:
    explicit OneBitmap(const std::vector<uint8_t>& bytes)
        : copy_(new uint8_t[bytes.empty() ? 1 : bytes.size()]) {
        std::copy(bytes.begin(), bytes.end(), copy_);
        table_[0] = {"BITMAP", "PIC", copy_, bytes.size()};
        headless::SetResourceTable(table_, 1);
    }
    ~OneBitmap() {
        headless::SetResourceTable(nullptr, 0);
        delete[] copy_;
    }
    int Load(CDib& dib) { return dib.LoadFromResource(port::ProgramModule(), "pic"); }

private:
    uint8_t* copy_;
    headless::EmbeddedResource table_[1];
};

uint32_t Rgb(int x, int y) {
    return static_cast<uint32_t>((x * 50 & 255) << 16 | (y * 90 & 255) << 8 |
                                 ((255 - x * 40) & 255));
}
uint16_t Rgb555(int x, int y) {
    const uint32_t c = Rgb(x, y);
    return MakeColor(c >> 16, c >> 8 & 255, c & 255);
}

TEST(BitmapLoader, EveryDepthConvertsBottomUpRowsToTopDownPixels) {
    std::vector<uint32_t> gray16, ramp256;
    for (uint32_t i = 0; i < 16; ++i)
        gray16.push_back(i * 17 * 0x010101u);
    for (uint32_t i = 0; i < 256; ++i)
        ramp256.push_back(i << 16 | (255 - i) << 8 | (i * 7 & 255));
    struct Case {
        int bits;
        std::vector<uint32_t> palette;
        uint32_t (*value)(int, int);
        uint16_t (*expect)(int, int);
    } cases[] = {
        {1,
         {0x000000, 0xFFFFFF},
         [](int x, int y) -> uint32_t { return (x + y) & 1; },
         [](int x, int y) -> uint16_t { return (x + y) & 1 ? 0x7FFF : 0; }},
        {4, gray16, [](int x, int y) -> uint32_t { return (x * 3 + y) & 15; },
         [](int x, int y) -> uint16_t {
             const int v = ((x * 3 + y) & 15) * 17;
             return MakeColor(v, v, v);
         }},
        {8, ramp256, [](int x, int y) -> uint32_t { return (x * 37 + y * 11) & 255; },
         [](int x, int y) -> uint16_t {
             const int i = (x * 37 + y * 11) & 255;
             return MakeColor(i, 255 - i, i * 7 & 255);
         }},
        {16,
         {},
         [](int x, int y) -> uint32_t { return 0x8000u | (x * 1000 + y * 77); },
         [](int x, int y) -> uint16_t {
             return static_cast<uint16_t>((x * 1000 + y * 77) & 0x7FFF);
         }},
        {24, {}, Rgb, Rgb555},
        {32, {}, Rgb, Rgb555},
    };
    for (const Case& c : cases) {
        for (const int width : {5, 9, 17}) {
            const auto bytes = testbmp::Make(width, 3, c.bits, c.palette, c.value);
            CDib fromResource, fromFile;
            {
                OneBitmap resource(bytes);
                ASSERT_EQ(resource.Load(fromResource), 1) << c.bits;
            }
            const std::string path = testbmp::WriteTemp(testbmp::AsFile(bytes), "depth.bmp");
            ASSERT_EQ(fromFile.LoadFromFile(path.c_str()), 1) << c.bits;
            for (CDib* dib : {&fromResource, &fromFile}) {
                EXPECT_EQ(dib->m_Width, (width + 1) & ~1);
                EXPECT_EQ(dib->m_Height, 3);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        ASSERT_EQ(dib->GetPixel(x, y), c.expect(x, y))
                            << c.bits << " bits at " << x << "," << y;
            }
        }
    }
}

TEST(BitmapLoader, IndicesBeyondTheStatedPaletteAreBlack) {
    OneBitmap resource(testbmp::Make(3, 1, 8, {0xFFFFFF, 0xFFFFFF},
                                     [](int x, int) -> uint32_t { return x * 100; }));
    CDib dib;
    ASSERT_EQ(resource.Load(dib), 1);
    EXPECT_EQ(dib.GetPixel(0, 0), 0x7FFF);
    EXPECT_EQ(dib.GetPixel(1, 0), 0);
    EXPECT_EQ(dib.GetPixel(2, 0), 0);
}

// A valid 24-bit 6 x 4 bitmap with one field changed, or cut short.
std::vector<uint8_t> Spoilt(std::size_t at, uint32_t value, std::size_t keep = SIZE_MAX) {
    auto v = testbmp::Make(6, 4, 24, {}, Rgb);
    if (at != SIZE_MAX)
        testbmp::Set32(v, at, value);
    if (keep < v.size())
        v.resize(keep);
    return v;
}

TEST(BitmapLoader, HostileBitmapsAreRefusedAndLeaveTheOldBitmap) {
    const std::size_t none = SIZE_MAX;
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"header only in part", Spoilt(none, 0, 39)},
        {"pixel data cut short", Spoilt(none, 0, 40 + 6 * 3 * 4 - 1)},
        {"last row missing", Spoilt(none, 0, 40 + 20 * 3)},
        {"header size past the data", Spoilt(0, 4000)},
        {"header size too small", Spoilt(0, 12)},
        {"zero width", Spoilt(4, 0)},
        {"negative width", Spoilt(4, static_cast<uint32_t>(-6))},
        {"absurd width", Spoilt(4, 0x7FFFFFFF)},
        {"width larger than the data", Spoilt(4, 7)},
        {"zero height", Spoilt(8, 0)},
        {"negative height", Spoilt(8, static_cast<uint32_t>(-4))},
        {"absurd height", Spoilt(8, 1u << 30)},
        {"unknown depth 2", Spoilt(12, 1 | 2 << 16)},
        {"unknown depth 15", Spoilt(12, 1 | 15 << 16)},
        {"depth 0", Spoilt(12, 1)},
        {"run-length compressed", Spoilt(16, 1)},
        {"bit fields", Spoilt(16, 3)},
        {"palette count past the data", Spoilt(32, 5)},
        {"palette count absurd", Spoilt(32, 0x40000000)},
        {"palette larger than the file", testbmp::Make(2, 2, 8, std::vector<uint32_t>(10, 0),
                                                       [](int, int) -> uint32_t { return 0; })},
    };
    cases[20].bytes.resize(40 + 4 * 5);
    for (const Case& c : cases) {
        CDib dib;
        ASSERT_EQ(dib.Create(2, 2), 1);
        dib.Clear(0x1234);
        OneBitmap resource(c.bytes);
        EXPECT_EQ(resource.Load(dib), 0) << c.what;
        EXPECT_EQ(dib.m_Width, 2) << c.what;
        EXPECT_EQ(dib.GetPixel(1, 1), 0x1234) << c.what;
        const std::string path = testbmp::WriteTemp(
            c.bytes.size() >= 40 ? testbmp::AsFile(c.bytes) : std::vector<uint8_t>{'B', 'M'},
            "hostile.bmp");
        EXPECT_EQ(dib.LoadFromFile(path.c_str()), 0) << c.what;
    }
    EXPECT_TRUE(headless::TakeMessages().empty());
}

TEST(BitmapLoader, FilesAndResourcesThatCannotBeRead) {
    const auto good = testbmp::AsFile(testbmp::Make(6, 4, 24, {}, Rgb));
    auto notBmp = good;
    notBmp[0] = 'X';
    const std::string goodPath = testbmp::WriteTemp(good, "good.bmp");
    const std::string notBmpPath = testbmp::WriteTemp(notBmp, "notbmp.bmp");
    CDib dib;
    EXPECT_EQ(dib.LoadFromFile(nullptr), 0);
    EXPECT_EQ(dib.LoadFromFile(""), 0);
    EXPECT_EQ(dib.LoadFromFile((::testing::TempDir() + "no/such.bmp").c_str()), 0);
    EXPECT_EQ(dib.LoadFromFile(::testing::TempDir().c_str()), 0); // a directory
    EXPECT_EQ(dib.LoadFromFile(notBmpPath.c_str()), 0);
    EXPECT_EQ(dib.LoadFromResource(port::ProgramModule(), "NOSUCHBITMAP"), 0);
    EXPECT_EQ(dib.LoadFromResource(nullptr, "SPLASH"), 0);
    EXPECT_EQ(dib.LoadFromResource(port::ProgramModule(), nullptr), 0);
    alloc::FailAfter(0);
    EXPECT_EQ(dib.LoadFromFile(goodPath.c_str()), 0);
    alloc::FailAfter(-1);
    EXPECT_EQ(dib.LoadFromFile(goodPath.c_str()), 1);
    EXPECT_EQ(dib.m_Width, 6);
}

} // namespace
