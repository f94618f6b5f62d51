// The headless capture device and its sources, and the WAV reader behind the file source (run
// under AddressSanitizer: hostile files must be refused without a read outside the bytes).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "port/headless/headless.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

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
    std::vector<uint8_t> hugeData;
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
        {"too short", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}},
        {"not RIFF", {'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"not WAVE", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}},
        {"chunk size past the end", Riff(hugeData)},
        {"RIFF size cuts the data", riffCutsData},
        {"chunk header cut", cutChunkHeader},
        {"fmt too short", Riff(shortFmt)},
        {"extensible fmt too short", Riff(shortExtensible)},
        {"no data", Riff(noData)},
        {"no fmt", Riff(noFmt)},
        {"less than a frame of data", Riff(emptyData)},
        {"float", withFmt(FmtBody(3, 2, 8000, 8, 32))},
        {"8-bit", withFmt(FmtBody(1, 2, 8000, 2, 8))},
        {"24-bit", withFmt(FmtBody(1, 2, 8000, 6, 24))},
        {"no channels", withFmt(FmtBody(1, 0, 8000, 0, 16))},
        {"three channels", withFmt(FmtBody(1, 3, 8000, 6, 16))},
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

TEST(Wav, LoadsAFileAndReportsAMissingOne) {
    const std::string path = ::testing::TempDir() + "capture_source.wav";
    const std::vector<uint8_t> image = SimpleWav(1, 8000, {10, -10, 20});
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(image.data(), 1, image.size(), f);
    std::fclose(f);
    headless::WavAudio audio;
    std::string error;
    ASSERT_TRUE(headless::LoadWav(path, &audio, &error)) << error;
    EXPECT_EQ(audio.samples, (std::vector<int16_t>{10, -10, 20}));
    std::remove(path.c_str());
    EXPECT_FALSE(headless::LoadWav(path, &audio, &error));
    EXPECT_EQ(error, "cannot open the file");
}

// ---- The device through the port, driven by the virtual clock ----

struct Recorder {
    port::EventHandle stop = port::CreateAutoEvent();
    port::ThreadHandle thread = nullptr;
    uint32_t id = 0;
    ~Recorder() { port::CloseEvent(stop); }
};

// A worker that only drains its queue; the test handles the buffers itself.
uint32_t Idle(void* arg) {
    while (!port::WaitForEvent(static_cast<Recorder*>(arg)->stop, 1)) {
    }
    return 0;
}

class HeadlessWaveIn : public ::testing::Test {
protected:
    void SetUp() override {
        headless::ResetCapture();
        headless::UseRealClock(false);
        headless::SetTime(0);
        recorder.thread = port::CreateWorkerThread(Idle, &recorder, &recorder.id);
        ASSERT_NE(recorder.thread, nullptr);
    }
    void TearDown() override {
        port::SignalEvent(recorder.stop);
        port::WaitWorker(recorder.thread, 5000);
        port::CloseWorker(recorder.thread);
        headless::UseRealClock(false);
        headless::ResetCapture();
    }

    static port::WaveFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) {
        const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
        return {1, channels, rate, rate * align, align, bits, 0};
    }
    port::WaveDevice Open(const port::WaveFormat& format) {
        port::WaveDevice device = nullptr;
        return port::OpenWaveIn(0, format, recorder.id, &device) ? device : nullptr;
    }
    // Records `frames` frames through one buffer and returns its bytes.
    std::vector<uint8_t> Record(const port::WaveFormat& format, uint32_t frames) {
        port::WaveDevice device = Open(format);
        if (device == nullptr)
            return {};
        std::vector<uint8_t> bytes(frames * format.blockAlign);
        port::WaveHeader header{};
        header.data = bytes.data();
        header.bufferLength = static_cast<uint32_t>(bytes.size());
        EXPECT_TRUE(port::PrepareWaveIn(device, &header));
        EXPECT_TRUE(port::AddWaveInBuffer(device, &header));
        EXPECT_TRUE(port::StartWaveIn(device));
        headless::AdvanceTime(static_cast<uint32_t>(
            (uint64_t{frames} * 1000 + format.samplesPerSec - 1) / format.samplesPerSec));
        EXPECT_TRUE(port::ResetWaveIn(device));
        EXPECT_TRUE(port::WaveInBufferDone(device, &header));
        EXPECT_EQ(header.bytesRecorded, bytes.size());
        EXPECT_TRUE(port::UnprepareWaveIn(device, &header));
        EXPECT_TRUE(port::CloseWaveIn(device));
        return bytes;
    }
    // Prepares and queues count buffers of `bytes` bytes each in memory.
    static void QueueBuffers(port::WaveDevice device, std::vector<uint8_t>& memory,
                             port::WaveHeader* h, int count, uint32_t bytes) {
        memory.assign(std::size_t{bytes} * count, 0);
        for (int i = 0; i < count; ++i) {
            h[i] = port::WaveHeader{};
            h[i].data = &memory[i * bytes];
            h[i].bufferLength = bytes;
            ASSERT_TRUE(port::PrepareWaveIn(device, &h[i]));
            ASSERT_TRUE(port::AddWaveInBuffer(device, &h[i]));
        }
    }
    static std::vector<int16_t> Channel(const std::vector<uint8_t>& stereo, int c) {
        std::vector<int16_t> out(stereo.size() / 4);
        for (std::size_t i = 0; i < out.size(); ++i)
            std::memcpy(&out[i], &stereo[i * 4 + c * 2], 2);
        return out;
    }

    Recorder recorder;
};

// Frequency of the strongest bin of a double-precision DFT of x, Hann-windowed.
double PeakHz(const std::vector<int16_t>& x, double rate) {
    const std::size_t n = x.size();
    double best = 0;
    std::size_t bestBin = 0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        std::complex<double> sum;
        for (std::size_t i = 0; i < n; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2 * kPi * i / n);
            sum += w * x[i] * std::polar(1.0, -2 * kPi * double(k) * i / n);
        }
        if (std::abs(sum) > best) {
            best = std::abs(sum);
            bestBin = k;
        }
    }
    return bestBin * rate / n;
}

TEST_F(HeadlessWaveIn, SourcesGiveTheirSignals) {
    using Kind = headless::CaptureSource::Kind;
    headless::CaptureSource sine;
    sine.kind = Kind::Sine;
    sine.frequencyHz = 1000;
    sine.level = 0.25;
    headless::SetCaptureSource(sine);
    const std::vector<uint8_t> tone = Record(Format(2, 8000, 16), 1024);
    const std::vector<int16_t> left = Channel(tone, 0);
    EXPECT_EQ(Channel(tone, 1), left);
    EXPECT_NEAR(PeakHz(left, 8000), 1000.0, 8000.0 / 1024);
    for (std::size_t i = 0; i < left.size(); ++i)
        ASSERT_NEAR(left[i], 0.25 * 32767 * std::sin(2 * kPi * 1000 * i / 8000), 0.5) << i;

    headless::CaptureSource pair;
    pair.kind = Kind::DelayedPair;
    pair.delayFrames = 37;
    pair.level = 0.8;
    headless::SetCaptureSource(pair);
    const std::vector<uint8_t> pairBytes = Record(Format(2, 44100, 16), 4096);
    const std::vector<int16_t> l = Channel(pairBytes, 0), r = Channel(pairBytes, 1);
    for (std::size_t i = 0; i < 37; ++i)
        ASSERT_EQ(r[i], 0);
    for (std::size_t i = 37; i < l.size(); ++i)
        ASSERT_EQ(r[i], l[i - 37]) << i;
    double sum = 0, sumSquares = 0;
    int16_t peak = 0;
    for (int16_t v : l) {
        sum += v;
        sumSquares += double(v) * v;
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(v)));
    }
    const double mean = sum / l.size(), rms = std::sqrt(sumSquares / l.size());
    EXPECT_LT(std::abs(mean), 0.05 * 0.8 * 32767);
    EXPECT_LE(peak, 0.8 * 32767 + 1);
    EXPECT_NEAR(rms, 0.8 * 32767 / std::sqrt(3.0), 0.05 * 0.8 * 32767) << "uniform noise";

    headless::CaptureSource noise = pair;
    noise.kind = Kind::Noise;
    headless::SetCaptureSource(noise);
    EXPECT_EQ(Channel(Record(Format(2, 44100, 16), 4096), 0), l) << "same seed, same noise";
    noise.seed = 2;
    headless::SetCaptureSource(noise);
    EXPECT_NE(Channel(Record(Format(2, 44100, 16), 4096), 0), l);

    headless::SetCaptureSource(headless::CaptureSource());
    const std::vector<uint8_t> silence = Record(Format(1, 8000, 8), 100);
    EXPECT_EQ(silence, std::vector<uint8_t>(100, 128)) << "8-bit silence is the mid value";
}

TEST_F(HeadlessWaveIn, WavSourcePlaysAtItsOwnRate) {
    headless::CaptureSource file;
    file.kind = headless::CaptureSource::Kind::Wav;
    std::string error;
    const std::vector<uint8_t> image = SimpleWav(2, 11025, {100, -100, 200, -200, 300, -300});
    ASSERT_TRUE(headless::ParseWav(image.data(), image.size(), &file.wav, &error)) << error;
    headless::SetCaptureSource(file);

    EXPECT_EQ(Open(Format(2, 44100, 16)), nullptr) << "the file's rate only";
    const std::vector<uint8_t> once = Record(Format(2, 11025, 16), 5);
    EXPECT_EQ(Channel(once, 0), (std::vector<int16_t>{100, 200, 300, 0, 0}));
    EXPECT_EQ(Channel(once, 1), (std::vector<int16_t>{-100, -200, -300, 0, 0}));

    file.loop = true;
    headless::SetCaptureSource(file);
    const std::vector<uint8_t> looped = Record(Format(2, 11025, 16), 5);
    EXPECT_EQ(Channel(looped, 0), (std::vector<int16_t>{100, 200, 300, 100, 200}));
    const std::vector<uint8_t> mono = Record(Format(1, 11025, 16), 4);
    std::vector<int16_t> monoSamples(4);
    std::memcpy(monoSamples.data(), mono.data(), 8);
    EXPECT_EQ(monoSamples, (std::vector<int16_t>{100, 200, 300, 100})) << "mono takes the left";

    const std::vector<uint8_t> monoImage = SimpleWav(1, 11025, {7, 8});
    ASSERT_TRUE(headless::ParseWav(monoImage.data(), monoImage.size(), &file.wav, &error));
    headless::SetCaptureSource(file);
    const std::vector<uint8_t> both = Record(Format(2, 11025, 16), 2);
    EXPECT_EQ(Channel(both, 0), (std::vector<int16_t>{7, 8}));
    EXPECT_EQ(Channel(both, 1), (std::vector<int16_t>{7, 8})) << "a mono file on both sides";
}

TEST_F(HeadlessWaveIn, OpenChecksDevicesAndFormats) {
    struct Case {
        const char* what;
        uint32_t devices;
        uint32_t refusing;
        uint32_t id;
        port::WaveFormat format;
        bool opens;
    } cases[] = {
        {"stereo 16-bit", 1, 0, 0, Format(2, 44100, 16), true},
        {"mono 8-bit", 1, 0, 0, Format(1, 8000, 8), true},
        {"no device", 0, 0, 0, Format(2, 44100, 16), false},
        {"id past the last", 2, 0, 2, Format(2, 44100, 16), false},
        {"refusing device", 2, 1, 0, Format(2, 44100, 16), false},
        {"the next one accepts", 2, 1, 1, Format(2, 44100, 16), true},
        {"not PCM", 1, 0, 0, {3, 2, 44100, 352800, 8, 32, 0}, false},
        {"block align", 1, 0, 0, {1, 2, 44100, 176400, 2, 16, 0}, false},
        {"bytes per second", 1, 0, 0, {1, 2, 44100, 1000, 4, 16, 0}, false},
        {"three channels", 1, 0, 0, Format(3, 44100, 16), false},
        {"zero rate", 1, 0, 0, Format(2, 0, 16), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::SetCaptureDevices(c.devices, c.refusing);
        EXPECT_EQ(port::WaveInDeviceCount(), c.devices);
        port::WaveDevice device = nullptr;
        EXPECT_EQ(port::OpenWaveIn(c.id, c.format, recorder.id, &device), c.opens);
        if (c.opens) {
            EXPECT_EQ(headless::GetCaptureStats().lastDeviceId, c.id);
            EXPECT_TRUE(port::CloseWaveIn(device));
        }
        EXPECT_EQ(headless::GetCaptureStats().openDevices, 0u);
    }
}

TEST_F(HeadlessWaveIn, BuffersFollowTheDeviceRules) {
    port::WaveDevice device = Open(Format(2, 8000, 16));
    ASSERT_NE(device, nullptr);
    uint8_t spare[400];
    port::WaveHeader unprepared{};
    unprepared.data = spare;
    unprepared.bufferLength = 400;
    EXPECT_FALSE(port::AddWaveInBuffer(device, &unprepared)) << "not prepared";
    std::vector<uint8_t> memory;
    port::WaveHeader h[3];
    QueueBuffers(device, memory, h, 3, 400); // 100 frames, 12.5 ms each
    EXPECT_FALSE(port::AddWaveInBuffer(device, &h[0])) << "already queued";
    EXPECT_FALSE(port::UnprepareWaveIn(device, &h[0])) << "still queued";
    EXPECT_FALSE(port::CloseWaveIn(device)) << "buffers queued";

    headless::AdvanceTime(100); // not recording: nothing is captured
    ASSERT_TRUE(headless::WaitCaptureIdle());
    EXPECT_FALSE(port::WaveInBufferDone(device, &h[0]));
    ASSERT_TRUE(port::StartWaveIn(device));
    headless::AdvanceTime(20); // 160 frames: one buffer and 60 frames of the next
    ASSERT_TRUE(port::StopWaveIn(device));
    EXPECT_TRUE(port::WaveInBufferDone(device, &h[0]));
    EXPECT_EQ(h[0].bytesRecorded, 400u);
    EXPECT_TRUE(port::WaveInBufferDone(device, &h[1])) << "stopping hands back the partial one";
    EXPECT_EQ(h[1].bytesRecorded, 240u);
    EXPECT_FALSE(port::WaveInBufferDone(device, &h[2])) << "empty buffers stay queued";
    EXPECT_FALSE(headless::GetCaptureStats().recording);

    headless::CaptureStats stats = headless::GetCaptureStats();
    EXPECT_EQ(stats.buffersFinished, 2u);
    EXPECT_EQ(stats.framesCaptured, 160u);
    EXPECT_EQ(stats.queuedBuffers, 1u);

    // Once every buffer is done, recording goes on into nothing: those frames are lost.
    ASSERT_TRUE(port::StartWaveIn(device));
    headless::AdvanceTime(50);             // 400 frames: 100 into h[2], 300 lost
    ASSERT_TRUE(port::StopWaveIn(device)); // captures up to the present first
    stats = headless::GetCaptureStats();
    EXPECT_EQ(stats.framesCaptured, 260u);
    EXPECT_EQ(stats.framesLost, 300u);
    EXPECT_EQ(stats.queuedBuffers, 0u);
    ASSERT_TRUE(port::ResetWaveIn(device));
    for (auto& header : h)
        EXPECT_TRUE(port::UnprepareWaveIn(device, &header));
    EXPECT_TRUE(port::CloseWaveIn(device));
}

TEST_F(HeadlessWaveIn, ResetHandsBackEveryQueuedBuffer) {
    port::WaveDevice device = Open(Format(2, 8000, 16));
    ASSERT_NE(device, nullptr);
    std::vector<uint8_t> memory;
    port::WaveHeader h[2];
    QueueBuffers(device, memory, h, 2, 400);
    ASSERT_TRUE(port::StartWaveIn(device));
    headless::AdvanceTime(5); // 40 frames
    ASSERT_TRUE(port::ResetWaveIn(device));
    EXPECT_EQ(h[0].bytesRecorded, 160u);
    EXPECT_EQ(h[1].bytesRecorded, 0u);
    EXPECT_TRUE(port::WaveInBufferDone(device, &h[0]));
    EXPECT_TRUE(port::WaveInBufferDone(device, &h[1]));
    EXPECT_EQ(headless::GetCaptureStats().queuedBuffers, 0u);
    EXPECT_TRUE(port::CloseWaveIn(device));
}

TEST_F(HeadlessWaveIn, RealClockPacesTheFrames) {
    headless::UseRealClock(true);
    port::WaveDevice device = Open(Format(2, 8000, 16));
    ASSERT_NE(device, nullptr);
    std::vector<uint8_t> memory(8000 * 4); // one second
    port::WaveHeader h{};
    h.data = memory.data();
    h.bufferLength = static_cast<uint32_t>(memory.size());
    ASSERT_TRUE(port::PrepareWaveIn(device, &h));
    ASSERT_TRUE(port::AddWaveInBuffer(device, &h));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(port::StartWaveIn(device));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const uint64_t frames = headless::GetCaptureStats().framesCaptured;
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // Frames follow the time that passed (give or take the pump's millisecond), and no more.
    EXPECT_GE(frames, 8u * 190);
    EXPECT_LE(frames, static_cast<uint64_t>(8 * (elapsedMs + 2)));
    ASSERT_TRUE(port::ResetWaveIn(device));
    EXPECT_TRUE(port::UnprepareWaveIn(device, &h));
    EXPECT_TRUE(port::CloseWaveIn(device));
}

} // namespace
