// The WAV reader behind tonalyx-cli's input files (run under AddressSanitizer: hostile files must
// be refused without a read outside the bytes).
#include <gtest/gtest.h>

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

// Parses from a heap copy of exactly the image's size, so that AddressSanitizer sees any read
// past its end.
bool Parse(const std::vector<uint8_t>& image, headless::WavAudio* out, std::string* error) {
    std::vector<uint8_t> exact(image);
    exact.shrink_to_fit();
    return headless::ParseWav(exact.empty() ? nullptr : exact.data(), exact.size(), out, error);
}

TEST(Wav, ReadsPcmInItsVariants) {
    const std::vector<int16_t> stereo = {1, -1, 32767, -32768, 300, -300};
    std::vector<uint8_t> listFirst;
    PutChunk(listFirst, "LIST", {'I', 'N', 'F', 'O', 'x'}); // odd size: one pad byte follows
    PutChunk(listFirst, "fmt ", FmtBody(1, 2, 22050, 4, 16));
    PutChunk(listFirst, "data", Samples(stereo));
    std::vector<uint8_t> extensible = FmtBody(0xFFFE, 2, 22050, 4, 16);
    Put16(extensible, 22);
    Put16(extensible, 16);
    Put32(extensible, 3);
    Put16(extensible, 1); // sub-format: PCM
    extensible.insert(extensible.end(), 14, 0);
    std::vector<uint8_t> extensibleChunks;
    PutChunk(extensibleChunks, "fmt ", extensible);
    PutChunk(extensibleChunks, "data", Samples(stereo));
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
        {"extensible PCM", Riff(extensibleChunks), 2, stereo},
        {"data before fmt", Riff(dataFirst), 2, stereo},
        {"a partial last frame is left out", Riff(partialChunks), 2, stereo},
        {"bytes after the RIFF are ignored", trailing, 2, stereo},
        {"RIFF size beyond the file", riffTooLarge, 2, stereo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::WavAudio audio;
        std::string error;
        ASSERT_TRUE(Parse(c.image, &audio, &error)) << error;
        EXPECT_EQ(audio.channels, c.channels);
        EXPECT_EQ(audio.rate, 22050u);
        EXPECT_EQ(audio.samples, c.samples);
    }
}

TEST(Wav, RefusesHostileFilesAndLeavesTheResultAlone) {
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
    auto withFmt = [&s](std::vector<uint8_t> fmt) {
        std::vector<uint8_t> chunks;
        PutChunk(chunks, "fmt ", fmt);
        PutChunk(chunks, "data", Samples(s));
        return Riff(chunks);
    };
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

    struct Case {
        const char* what;
        std::vector<uint8_t> image;
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
        {"24-bit", withFmt(FmtBody(1, 2, 8000, 6, 24))},
        {"no channels", withFmt(FmtBody(1, 0, 8000, 0, 16))},
        {"block align wrong", withFmt(FmtBody(1, 2, 8000, 2, 16))},
        {"zero rate", withFmt(FmtBody(1, 2, 0, 4, 16))},
        {"absurd rate", withFmt(FmtBody(1, 2, 4000000000u, 4, 16))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::WavAudio audio;
        audio.channels = 9;
        audio.samples = {42};
        std::string error;
        EXPECT_FALSE(Parse(c.image, &audio, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(audio.channels, 9);
        EXPECT_EQ(audio.samples, std::vector<int16_t>{42});
    }
}

TEST(Wav, EveryCutAndMangledImageStaysInsideItsBytes) {
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "LIST", {'a', 'b', 'c'});
    PutChunk(chunks, "fmt ", FmtBody(1, 2, 44100, 4, 16));
    PutChunk(chunks, "data", Samples({1, 2, 3, 4, 5, 6, 7, 8}));
    const std::vector<uint8_t> good = Riff(chunks);
    int parsed = 0;
    for (std::size_t n = 0; n < good.size(); ++n) {
        headless::WavAudio audio;
        parsed += Parse(std::vector<uint8_t>(good.begin(), good.begin() + n), &audio, nullptr);
    }
    EXPECT_EQ(parsed, 0) << "every cut of this image loses part of a chunk";
    uint32_t state = 12345;
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bad = good;
        for (int k = 0; k < 1 + round % 4; ++k) {
            state = state * 1664525u + 1013904223u;
            bad[(state >> 8) % bad.size()] = static_cast<uint8_t>(state >> 24);
        }
        headless::WavAudio audio;
        if (Parse(bad, &audio, nullptr)) {
            ASSERT_TRUE(audio.channels == 1 || audio.channels == 2);
            ASSERT_LE(audio.samples.size() * 2, bad.size());
            ++accepted;
        }
    }
    // Changes to the samples or the list chunk leave a good file: both paths were taken.
    EXPECT_GT(accepted, 1000);
    EXPECT_LT(accepted, 19000);
}

} // namespace
