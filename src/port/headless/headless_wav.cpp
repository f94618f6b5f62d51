// WAV reader of the headless port: 16-bit PCM, mono or stereo, from a RIFF/WAVE image whose every
// chunk is checked against the bytes actually present. Any thread.
#include <algorithm>
#include <cstring>
#include <fstream>

#include "port/headless/headless.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kMaxRate = 768000;

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool Fail(std::string* error, const char* reason) {
    if (error != nullptr)
        *error = reason;
    return false;
}

} // namespace

namespace headless {

bool ParseWav(const uint8_t* bytes, std::size_t size, WavAudio* out, std::string* error) {
    if (bytes == nullptr || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF/WAVE file");
    // A RIFF size that disagrees with the file is common; only the bytes present count.
    const std::size_t end =
        std::min<std::size_t>(size, 8 + static_cast<std::size_t>(Le32(bytes + 4)));

    const uint8_t* format = nullptr;
    uint32_t formatSize = 0;
    const uint8_t* data = nullptr;
    uint32_t dataSize = 0;
    std::size_t pos = 12;
    // end may lie before pos when the RIFF size is absurdly small.
    while (pos + 8 <= end) {
        const uint8_t* chunk = bytes + pos;
        const uint32_t chunkSize = Le32(chunk + 4);
        if (chunkSize > end - pos - 8)
            return Fail(error, "a chunk runs past the end of the file");
        if (std::memcmp(chunk, "fmt ", 4) == 0 && format == nullptr) {
            format = chunk + 8;
            formatSize = chunkSize;
        } else if (std::memcmp(chunk, "data", 4) == 0 && data == nullptr) {
            data = chunk + 8;
            dataSize = chunkSize;
        }
        // Chunks are padded to an even length; a missing pad byte at the very end is tolerated.
        pos += 8 + static_cast<std::size_t>(chunkSize);
        if ((chunkSize & 1) != 0 && pos < end)
            ++pos;
    }
    if (format == nullptr)
        return Fail(error, "no fmt chunk");
    if (data == nullptr)
        return Fail(error, "no data chunk");
    if (formatSize < 16)
        return Fail(error, "fmt chunk too short");

    uint16_t tag = Le16(format);
    if (tag == kFormatExtensible) {
        // The sub-format's first two bytes hold the plain format tag.
        if (formatSize < 40 || Le16(format + 16) < 22)
            return Fail(error, "extensible fmt chunk too short");
        tag = Le16(format + 24);
    }
    const uint16_t channels = Le16(format + 2);
    const uint32_t rate = Le32(format + 4);
    const uint16_t blockAlign = Le16(format + 12);
    const uint16_t bits = Le16(format + 14);
    if (tag != kFormatPcm)
        return Fail(error, "not PCM");
    if (bits != 16)
        return Fail(error, "not 16-bit samples");
    if (channels != 1 && channels != 2)
        return Fail(error, "not mono or stereo");
    if (blockAlign != channels * 2)
        return Fail(error, "block align does not match the channels");
    if (rate == 0 || rate > kMaxRate)
        return Fail(error, "sample rate out of range");
    const std::size_t frames = dataSize / blockAlign;
    if (frames == 0)
        return Fail(error, "no audio frames");

    WavAudio audio;
    audio.channels = channels;
    audio.rate = rate;
    audio.samples.resize(frames * channels);
    for (std::size_t i = 0; i < audio.samples.size(); ++i)
        audio.samples[i] = static_cast<int16_t>(Le16(data + 2 * i));
    *out = std::move(audio);
    return true;
}

bool LoadWav(const std::string& path, WavAudio* out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(error, "cannot open the file");
    std::string bytes;
    if (!ReadAll(in, &bytes))
        return Fail(error, "cannot read the file");
    return ParseWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error);
}

} // namespace headless
