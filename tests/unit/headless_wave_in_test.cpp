// The WAV reader behind tonalyx-cli's input files, run under AddressSanitizer: the rarer layouts,
// conversion edge cases and hostile files (the common ones are checked through tonalyx-cli). Test
// thread.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "port/headless/headless.h"
#include "test_bitmaps.h"

namespace {

using Bytes = std::vector<uint8_t>;
using testbmp::Put16;
using testbmp::Put32;

Bytes Chunk(const char* id, const Bytes& body) {
    Bytes v(id, id + 4);
    Put32(v, static_cast<uint32_t>(body.size()));
    v.insert(v.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        v.push_back(0);
    return v;
}

// RIFF image of the chunks (or any bytes), with the RIFF size right unless given.
Bytes Riff(std::initializer_list<Bytes> chunks, int64_t riffSize = -1) {
    Bytes body;
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes v = {'R', 'I', 'F', 'F'};
    Put32(v,
          static_cast<uint32_t>(riffSize < 0 ? static_cast<int64_t>(body.size()) + 4 : riffSize));
    v.insert(v.end(), {'W', 'A', 'V', 'E'});
    v.insert(v.end(), body.begin(), body.end());
    return v;
}

Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align, uint16_t bits) {
    Bytes f;
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * align);
    Put16(f, align);
    Put16(f, bits);
    return f;
}

// Extensible fmt chunk body of a plain format tag.
Bytes Extensible(uint16_t tag, uint16_t channels, uint16_t bits) {
    Bytes f = Fmt(0xFFFE, channels, 22050, static_cast<uint16_t>(channels * bits / 8), bits);
    Put16(f, 22);
    Put16(f, bits);
    Put32(f, 3);
    Put16(f, tag); // the sub-format GUID
    f.insert(f.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    return f;
}

Bytes Wav(const Bytes& fmt, const Bytes& data) {
    return Riff({Chunk("fmt ", fmt), Chunk("data", data)});
}

// Samples of bits bits, little-endian.
Bytes Samples(const std::vector<int64_t>& samples, int bits = 16) {
    Bytes d;
    for (int64_t s : samples)
        for (int b = 0; b < bits / 8; ++b)
            d.push_back(static_cast<uint8_t>(static_cast<uint64_t>(s) >> (8 * b)));
    return d;
}

// The host's byte order is the file's: little-endian.
Bytes Floats(const std::vector<float>& samples) {
    Bytes d(samples.size() * sizeof(float));
    std::memcpy(d.data(), samples.data(), d.size());
    return d;
}

struct Parsed {
    bool ok = false;
    std::string error;
    uint16_t channels = 0;
    uint32_t rate = 0;
    std::vector<int16_t> samples; // every frame
};

// Reads from a heap copy of exactly the image's size, so that AddressSanitizer sees any read
// past its end.
Parsed Parse(const Bytes& image) {
    Bytes exact(image);
    exact.shrink_to_fit();
    headless::WavReader reader;
    Parsed p;
    p.ok = reader.Open(exact.empty() ? nullptr : exact.data(), exact.size(), &p.error);
    p.channels = reader.Channels();
    p.rate = reader.Rate();
    p.samples.resize(reader.Frames() * reader.Channels());
    if (p.ok && !reader.ReadFrames(0, reader.Frames(), p.samples.data()))
        p.error = "the frames could not be read";
    return p;
}

TEST(Wav, ReadsPcmInItsVariants) {
    const std::vector<int16_t> stereo = {1, -1, 32767, -32768, 300, -300};
    const Bytes data = Samples({stereo.begin(), stereo.end()});
    const Bytes fmt = Chunk("fmt ", Fmt(1, 2, 22050, 4, 16));
    Bytes partialFrame = data;
    partialFrame.push_back(7);
    // Wider samples: to the nearest 16-bit step (halves away from zero), clipped at full scale.
    const std::vector<int16_t> from24 = {1, -1, 32767, -32768, 300, -300, 1, -1, -1, 1};
    const Bytes wide24 =
        Samples({256, -256, 0x7FFFFF, -0x800000, 76927, -76927, 128, -128, -129, 383}, 24);
    const Bytes wide32 = Samples({0x7FFF8000, -98304}, 32);
    const std::vector<int16_t> fromFloats = {32767, -32768, 0, 0};
    const Bytes floats = Floats({2.5f, -7.0f, NAN, 0.49f / 32768});
    struct Case {
        const char* what;
        uint16_t channels;
        std::vector<int16_t> samples;
        Bytes image;
    } cases[] = {
        {"plain stereo", 2, stereo, Riff({fmt, Chunk("data", data)})},
        {"other chunk first, odd size", 2, stereo,
         Riff({Chunk("LIST", {'I', 'N', 'F', 'O', 'x'}), fmt, Chunk("data", data)})},
        {"24-bit PCM", 2, from24, Wav(Fmt(1, 2, 22050, 6, 24), wide24)},
        {"extensible 32-bit PCM", 1, {32767, -2}, Wav(Extensible(1, 1, 32), wide32)},
        {"extensible float, clipped and NaN", 1, fromFloats, Wav(Extensible(3, 1, 32), floats)},
        {"data before fmt", 2, stereo, Riff({Chunk("data", data), fmt})},
        {"a partial last frame is left out", 2, stereo, Riff({fmt, Chunk("data", partialFrame)})},
        // RIFF size of the two chunks: "WAVE", fmt 8 + 16, data 8 + 12.
        {"bytes after the RIFF are ignored", 2, stereo,
         Riff({fmt, Chunk("data", data), {'j', 'u', 'n', 'k'}}, 4 + 24 + 20)},
        {"RIFF size beyond the file", 2, stereo, Riff({fmt, Chunk("data", data)}, 1 << 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parsed p = Parse(c.image);
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.channels, c.channels);
        EXPECT_EQ(p.rate, 22050u);
        EXPECT_EQ(p.samples, c.samples);
    }
}

TEST(Wav, RefusesHostileFilesWithTheirReason) {
    const Bytes s = Samples({1, 2, 3, 4});
    const Bytes fmt = Chunk("fmt ", Fmt(1, 2, 8000, 4, 16));
    Bytes otherGuid = Extensible(1, 2, 16);
    otherGuid.back() = 0;
    struct Case {
        const char* what;
        Bytes image;
        const char* says = "";
    } cases[] = {
        // A size that wraps an offset held in 32 bits.
        {"chunk size past the end",
         Riff({fmt, {'d', 'a', 't', 'a', 255, 255, 255, 255, 0, 0, 0, 0}})},
        {"too short", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}},
        {"not WAVE", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}},
        {"RIFF size cuts the data", Riff({fmt, Chunk("data", s)}, 4 + 24 + 8 + 4)},
        {"chunk header cut", Riff({fmt, {'d', 'a', 't', 'a', 8, 0}}, 4 + 24 + 16)},
        {"fmt too short", Riff({Chunk("fmt ", Bytes(14, 1)), Chunk("data", s)})},
        {"extensible fmt too short",
         Riff({Chunk("fmt ", Fmt(0xFFFE, 2, 8000, 4, 16)), Chunk("data", s)})},
        {"no data", Riff({fmt})},
        {"no fmt", Riff({Chunk("data", s)})},
        {"less than a frame of data", Riff({fmt, Chunk("data", {1, 2, 3})})},
        {"64-bit float", Wav(Fmt(3, 1, 8000, 8, 64), s), "64-bit float samples"},
        {"A-law", Wav(Fmt(6, 1, 8000, 1, 8), s), "format 6 is neither PCM nor float"},
        {"unknown sub-format", Wav(otherGuid, s), "unknown sub-format"},
        {"no channels", Wav(Fmt(1, 0, 8000, 0, 16), s)},
        {"block align wrong", Wav(Fmt(1, 2, 8000, 2, 16), s)},
        {"zero rate", Wav(Fmt(1, 2, 0, 4, 16), s)},
        {"absurd rate", Wav(Fmt(1, 2, 4000000000u, 4, 16), s)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parsed p = Parse(c.image);
        EXPECT_FALSE(p.ok);
        EXPECT_NE(p.error.find(c.says), std::string::npos) << p.error;
        EXPECT_FALSE(p.error.empty());
        EXPECT_TRUE(p.samples.empty());
    }
}

TEST(Wav, EveryCutAndMangledImageStaysInsideItsBytes) {
    const Bytes good = Riff({Chunk("LIST", {'a', 'b', 'c'}), Chunk("fmt ", Fmt(1, 2, 44100, 4, 16)),
                             Chunk("data", Samples({1, 2, 3, 4, 5, 6, 7, 8}))});
    int parsed = 0;
    for (std::size_t n = 0; n < good.size(); ++n)
        parsed += Parse(Bytes(good.begin(), good.begin() + n)).ok;
    EXPECT_EQ(parsed, 0) << "every cut of this image loses part of a chunk";
    uint32_t state = 12345;
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes bad = good;
        for (int k = 0; k < 1 + round % 4; ++k) {
            state = state * 1664525u + 1013904223u;
            bad[(state >> 8) % bad.size()] = static_cast<uint8_t>(state >> 24);
        }
        const Parsed p = Parse(bad);
        if (p.ok) {
            ASSERT_TRUE(p.channels == 1 || p.channels == 2);
            ASSERT_LE(p.samples.size() * 2, bad.size());
            ASSERT_TRUE(p.error.empty()) << p.error;
            ++accepted;
        }
    }
    // Changes to the samples or the list chunk leave a good file: both paths were taken.
    EXPECT_GT(accepted, 1000);
    EXPECT_LT(accepted, 19000);
}

} // namespace
