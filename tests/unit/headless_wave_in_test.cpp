// The WAV reader behind tonalyx-cli's input files (run under AddressSanitizer: hostile files must
// be refused without a read outside the bytes).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "port/headless/headless.h"

namespace {

// ---- WAV images ----

void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, static_cast<uint16_t>(x));
    Put16(v, static_cast<uint16_t>(x >> 16));
}

void PutChunk(std::vector<uint8_t>& v, const char* id, const std::vector<uint8_t>& body) {
    v.insert(v.end(), id, id + 4);
    Put32(v, static_cast<uint32_t>(body.size()));
    v.insert(v.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        v.push_back(0);
}

std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align,
                             uint16_t bits) {
    std::vector<uint8_t> f;
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * align);
    Put16(f, align);
    Put16(f, bits);
    return f;
}

std::vector<uint8_t> Samples(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> d;
    for (int16_t s : samples)
        Put16(d, static_cast<uint16_t>(s));
    return d;
}

// RIFF image of the chunks, with the RIFF size right unless given.
std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks, int64_t riffSize = -1) {
    std::vector<uint8_t> v = {'R', 'I', 'F', 'F'};
    Put32(v, riffSize < 0 ? static_cast<uint32_t>(chunks.size() + 4)
                          : static_cast<uint32_t>(riffSize));
    v.insert(v.end(), {'W', 'A', 'V', 'E'});
    v.insert(v.end(), chunks.begin(), chunks.end());
    return v;
}

std::vector<uint8_t> SimpleWav(uint16_t channels, uint32_t rate, const std::vector<int16_t>& s) {
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "fmt ", FmtBody(1, channels, rate, static_cast<uint16_t>(channels * 2), 16));
    PutChunk(chunks, "data", Samples(s));
    return Riff(chunks);
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
Parsed Parse(const std::vector<uint8_t>& image) {
    std::vector<uint8_t> exact(image);
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

// Extensible fmt chunk body of a plain format tag.
std::vector<uint8_t> ExtensibleBody(uint16_t tag, uint16_t channels, uint16_t bits) {
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    std::vector<uint8_t> f = FmtBody(0xFFFE, channels, 22050, align, bits);
    Put16(f, 22);
    Put16(f, bits);
    Put32(f, 3);
    Put16(f, tag); // the sub-format GUID
    f.insert(f.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    return f;
}

std::vector<uint8_t> Wav(const std::vector<uint8_t>& fmt, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "fmt ", fmt);
    PutChunk(chunks, "data", data);
    return Riff(chunks);
}

// Samples of bits bits (24 or 32) or 32-bit floats, little-endian.
std::vector<uint8_t> Wide(const std::vector<int64_t>& samples, int bits) {
    std::vector<uint8_t> d;
    for (int64_t s : samples)
        for (int b = 0; b < bits / 8; ++b)
            d.push_back(static_cast<uint8_t>(static_cast<uint64_t>(s) >> (8 * b)));
    return d;
}

std::vector<uint8_t> Floats(const std::vector<float>& samples) {
    std::vector<uint8_t> d;
    for (float f : samples) {
        uint32_t word;
        std::memcpy(&word, &f, sizeof word);
        Put32(d, word);
    }
    return d;
}

TEST(Wav, ReadsPcmInItsVariants) {
    const std::vector<int16_t> stereo = {1, -1, 32767, -32768, 300, -300};
    std::vector<uint8_t> listFirst;
    PutChunk(listFirst, "LIST", {'I', 'N', 'F', 'O', 'x'}); // odd size: one pad byte follows
    PutChunk(listFirst, "fmt ", FmtBody(1, 2, 22050, 4, 16));
    PutChunk(listFirst, "data", Samples(stereo));
    std::vector<uint8_t> dataFirst;
    PutChunk(dataFirst, "data", Samples(stereo));
    PutChunk(dataFirst, "fmt ", FmtBody(1, 2, 22050, 4, 16));
    std::vector<uint8_t> partialFrame = Samples(stereo);
    partialFrame.push_back(7);
    std::vector<uint8_t> partialChunks;
    PutChunk(partialChunks, "fmt ", FmtBody(1, 2, 22050, 4, 16));
    PutChunk(partialChunks, "data", partialFrame);
    std::vector<uint8_t> trailing = SimpleWav(2, 22050, stereo);
    trailing.insert(trailing.end(), {'j', 'u', 'n', 'k'});
    const std::vector<uint8_t> plain = SimpleWav(2, 22050, stereo);
    const std::vector<uint8_t> riffTooLarge =
        Riff(std::vector<uint8_t>(plain.begin() + 12, plain.end()), 1 << 30);

    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        uint16_t channels;
        std::vector<int16_t> samples;
    } cases[] = {
        {"plain stereo", plain, 2, stereo},
        {"mono", SimpleWav(1, 22050, {5, 6, 7}), 1, {5, 6, 7}},
        {"other chunk first, odd size", Riff(listFirst), 2, stereo},
        {"extensible 16-bit PCM", Wav(ExtensibleBody(1, 2, 16), Samples(stereo)), 2, stereo},
        // Wider samples: to the nearest 16-bit step (halves away from zero), clipped at full
        // scale.
        {"24-bit PCM",
         Wav(FmtBody(1, 2, 22050, 6, 24),
             Wide({256, -256, 0x7FFFFF, -0x800000, 76927, -76927}, 24)),
         2, stereo},
        {"24-bit rounding",
         Wav(FmtBody(1, 1, 22050, 3, 24), Wide({127, 128, -128, -129, 383}, 24)),
         1,
         {0, 1, -1, -1, 1}},
        {"extensible 32-bit PCM",
         Wav(ExtensibleBody(1, 1, 32), Wide({0x7FFF8000, -98304}, 32)),
         1,
         {32767, -2}},
        {"extensible float, clipped and NaN",
         Wav(ExtensibleBody(3, 1, 32), Floats({2.5f, -7.0f, NAN, 0.49f / 32768})),
         1,
         {32767, -32768, 0, 0}},
        {"data before fmt", Riff(dataFirst), 2, stereo},
        {"a partial last frame is left out", Riff(partialChunks), 2, stereo},
        {"bytes after the RIFF are ignored", trailing, 2, stereo},
        {"RIFF size beyond the file", riffTooLarge, 2, stereo},
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
    const std::vector<int16_t> s = {1, 2, 3, 4};
    std::vector<uint8_t> hugeData; // a size that wraps an offset held in 32 bits
    PutChunk(hugeData, "fmt ", FmtBody(1, 2, 8000, 4, 16));
    hugeData.insert(hugeData.end(), {'d', 'a', 't', 'a'});
    Put32(hugeData, 0xFFFFFFFF);
    Put32(hugeData, 0);
    std::vector<uint8_t> shortFmt;
    PutChunk(shortFmt, "fmt ", std::vector<uint8_t>(14, 1));
    PutChunk(shortFmt, "data", Samples(s));
    std::vector<uint8_t> shortExtensible;
    PutChunk(shortExtensible, "fmt ", FmtBody(0xFFFE, 2, 8000, 4, 16));
    PutChunk(shortExtensible, "data", Samples(s));
    std::vector<uint8_t> noData;
    PutChunk(noData, "fmt ", FmtBody(1, 2, 8000, 4, 16));
    std::vector<uint8_t> noFmt;
    PutChunk(noFmt, "data", Samples(s));
    std::vector<uint8_t> emptyData;
    PutChunk(emptyData, "fmt ", FmtBody(1, 2, 8000, 4, 16));
    PutChunk(emptyData, "data", {1, 2, 3});
    std::vector<uint8_t> cutChunkHeader = SimpleWav(2, 8000, s);
    cutChunkHeader.resize(12 + 8 + 16 + 6); // the data chunk's header is cut in half
    const std::vector<uint8_t> plain = SimpleWav(2, 8000, s);
    const std::vector<uint8_t> riffCutsData =
        Riff(std::vector<uint8_t>(plain.begin() + 12, plain.end()), 4 + 24 + 8 + 4);

    std::vector<uint8_t> otherGuid = ExtensibleBody(1, 2, 16);
    otherGuid.back() = 0;
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        const char* says = "";
    } cases[] = {
        {"empty", {}},
        {"chunk size past the end", Riff(hugeData)},
        {"too short", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}},
        {"not RIFF", {'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"not WAVE", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}},
        {"RIFF size cuts the data", riffCutsData},
        {"chunk header cut", cutChunkHeader},
        {"fmt too short", Riff(shortFmt)},
        {"extensible fmt too short", Riff(shortExtensible)},
        {"no data", Riff(noData)},
        {"no fmt", Riff(noFmt)},
        {"less than a frame of data", Riff(emptyData)},
        {"8-bit", Wav(FmtBody(1, 2, 8000, 2, 8), Samples(s)),
         "8-bit PCM samples (16-, 24- or 32-bit PCM or 32-bit float)"},
        {"64-bit float", Wav(FmtBody(3, 1, 8000, 8, 64), Samples(s)), "64-bit float samples"},
        {"A-law", Wav(FmtBody(6, 1, 8000, 1, 8), Samples(s)), "format 6 is neither PCM nor float"},
        {"unknown sub-format", Wav(otherGuid, Samples(s)), "unknown sub-format"},
        {"3 channels", Wav(FmtBody(1, 3, 8000, 6, 16), Samples(s)),
         "3 channels (mono or stereo only)"},
        {"no channels", Wav(FmtBody(1, 0, 8000, 0, 16), Samples(s))},
        {"block align wrong", Wav(FmtBody(1, 2, 8000, 2, 16), Samples(s))},
        {"zero rate", Wav(FmtBody(1, 2, 0, 4, 16), Samples(s))},
        {"absurd rate", Wav(FmtBody(1, 2, 4000000000u, 4, 16), Samples(s))},
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
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "LIST", {'a', 'b', 'c'});
    PutChunk(chunks, "fmt ", FmtBody(1, 2, 44100, 4, 16));
    PutChunk(chunks, "data", Samples({1, 2, 3, 4, 5, 6, 7, 8}));
    const std::vector<uint8_t> good = Riff(chunks);
    int parsed = 0;
    for (std::size_t n = 0; n < good.size(); ++n)
        parsed += Parse(std::vector<uint8_t>(good.begin(), good.begin() + n)).ok;
    EXPECT_EQ(parsed, 0) << "every cut of this image loses part of a chunk";
    uint32_t state = 12345;
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bad = good;
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
