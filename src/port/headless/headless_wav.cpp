// WAV reader of the headless port: the header of a RIFF/WAVE file or image, every chunk checked
// against the bytes actually present, then the samples a stretch at a time, converted to 16 bits.
// Any thread; a reader serialises its own reads.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "port/headless/headless.h"

namespace headless {

// Where a WAV file's bytes come from: a file on disk or an image in memory.
class WavBytes {
public:
    virtual ~WavBytes() = default;
    virtual uint64_t Size() const = 0;
    // count bytes from offset on; false when they are not all there.
    virtual bool Read(uint64_t offset, uint8_t* to, std::size_t count) = 0;
};

} // namespace headless

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kMaxRate = 768000;
constexpr std::size_t kFormatBytes = 40; // as much of the fmt chunk as any format uses
// The sub-format GUID after its first two bytes, which hold the plain format tag.
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr const char* kSupported = "(16-, 24- or 32-bit PCM or 32-bit float)";

class FileBytes : public headless::WavBytes {
public:
    explicit FileBytes(const std::string& path) : file_(path, std::ios::binary) {
        if (file_ && file_.seekg(0, std::ios::end))
            size_ = static_cast<uint64_t>(file_.tellg());
    }
    bool IsOpen() const { return static_cast<bool>(file_); }
    // The last read failed in the system, not for want of bytes: a folder opens like a file.
    bool Unreadable() const { return file_.bad(); }
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, uint8_t* to, std::size_t count) override {
        if (offset > size_ || count > size_ - offset)
            return false;
        file_.clear();
        // Reads mostly follow each other; seeking would throw the stream's buffer away.
        if (offset != position_ && !file_.seekg(static_cast<std::streamoff>(offset)))
            return false;
        file_.read(reinterpret_cast<char*>(to), static_cast<std::streamsize>(count));
        const bool whole = static_cast<std::size_t>(file_.gcount()) == count;
        position_ = whole ? offset + count : UINT64_MAX;
        return whole;
    }

private:
    std::ifstream file_;
    uint64_t size_ = 0;
    uint64_t position_ = UINT64_MAX;
};

class MemoryBytes : public headless::WavBytes {
public:
    MemoryBytes(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, uint8_t* to, std::size_t count) override {
        if (offset > size_ || count > size_ - offset)
            return false;
        std::memcpy(to, bytes_ + offset, count);
        return true;
    }

private:
    const uint8_t* bytes_;
    std::size_t size_;
};

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool Fail(std::string* error, const std::string& reason) {
    if (error != nullptr)
        *error = reason;
    return false;
}

// A sample given in 16-bit steps, as a 16-bit capture would hold it.
int16_t Nearest16(double steps) {
    if (std::isnan(steps))
        return 0;
    return static_cast<int16_t>(std::lround(std::clamp(steps, -32768.0, 32767.0)));
}

// One sample of bits bits at p.
int16_t Sample16(const uint8_t* p, uint16_t bits, bool isFloat) {
    if (isFloat) {
        const uint32_t word = Le32(p);
        float value;
        std::memcpy(&value, &word, sizeof value);
        return Nearest16(static_cast<double>(value) * 32768.0);
    }
    switch (bits) {
    case 16:
        return static_cast<int16_t>(Le16(p));
    case 24: {
        const int32_t value = p[0] | p[1] << 8 | p[2] << 16;
        return Nearest16((value >= 0x800000 ? value - 0x1000000 : value) / 256.0);
    }
    default:
        return Nearest16(static_cast<int32_t>(Le32(p)) / 65536.0);
    }
}

} // namespace

namespace headless {

WavReader::WavReader() = default;
WavReader::~WavReader() = default;

bool WavReader::Open(const std::string& path, std::string* error) {
    auto file = std::make_unique<FileBytes>(path);
    if (!file->IsOpen())
        return Fail(error, "cannot open the file");
    const FileBytes& opened = *file;
    bytes_ = std::move(file);
    if (ReadHeader(error))
        return true;
    return opened.Unreadable() ? Fail(error, "cannot read the file") : false;
}

bool WavReader::Open(const uint8_t* bytes, std::size_t size, std::string* error) {
    bytes_ = std::make_unique<MemoryBytes>(bytes, bytes == nullptr ? 0 : size);
    return ReadHeader(error);
}

bool WavReader::ReadHeader(std::string* error) {
    std::lock_guard<std::mutex> guard(lock_);
    frames_ = 0;
    const uint64_t size = bytes_->Size();
    uint8_t head[12];
    if (!bytes_->Read(0, head, sizeof head) || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF/WAVE file");
    // A RIFF size that disagrees with the file is common; only the bytes present count.
    const uint64_t end = std::min<uint64_t>(size, 8 + uint64_t{Le32(head + 4)});

    uint8_t format[kFormatBytes] = {};
    uint32_t formatSize = 0;
    bool haveFormat = false;
    bool haveData = false;
    uint32_t dataSize = 0;
    uint64_t pos = 12;
    // end may lie before pos when the RIFF size is absurdly small.
    while (pos + 8 <= end) {
        uint8_t chunk[8];
        if (!bytes_->Read(pos, chunk, sizeof chunk))
            return Fail(error, "cannot read the file");
        const uint32_t chunkSize = Le32(chunk + 4);
        if (chunkSize > end - pos - 8)
            return Fail(error, "a chunk runs past the end of the file");
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            haveFormat = true;
            formatSize = chunkSize;
            if (!bytes_->Read(pos + 8, format, std::min<std::size_t>(chunkSize, kFormatBytes)))
                return Fail(error, "cannot read the file");
        } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
            haveData = true;
            dataAt_ = pos + 8;
            dataSize = chunkSize;
        }
        // Chunks are padded to an even length; a missing pad byte at the very end is tolerated.
        pos += 8 + uint64_t{chunkSize};
        if ((chunkSize & 1) != 0 && pos < end)
            ++pos;
    }
    if (!haveFormat)
        return Fail(error, "no fmt chunk");
    if (!haveData)
        return Fail(error, "no data chunk");
    if (formatSize < 16)
        return Fail(error, "fmt chunk too short");

    uint16_t tag = Le16(format);
    if (tag == kFormatExtensible) {
        if (formatSize < kFormatBytes || Le16(format + 16) < 22)
            return Fail(error, "extensible fmt chunk too short");
        tag = Le16(format + 24);
        if (std::memcmp(format + 26, kGuidTail, sizeof kGuidTail) != 0)
            return Fail(error, std::string("unknown sub-format ") + kSupported);
    }
    const uint16_t channels = Le16(format + 2);
    const uint32_t rate = Le32(format + 4);
    const uint16_t blockAlign = Le16(format + 12);
    const uint16_t bits = Le16(format + 14);
    const bool pcm = tag == kFormatPcm && (bits == 16 || bits == 24 || bits == 32);
    const bool isFloat = tag == kFormatFloat && bits == 32;
    if (tag != kFormatPcm && tag != kFormatFloat)
        return Fail(error,
                    "format " + std::to_string(tag) + " is neither PCM nor float " + kSupported);
    if (!pcm && !isFloat)
        return Fail(error, std::to_string(bits) + "-bit " + (tag == kFormatPcm ? "PCM" : "float") +
                               " samples " + kSupported);
    if (channels != 1 && channels != 2)
        return Fail(error, std::to_string(channels) + " channels (mono or stereo only)");
    if (blockAlign != channels * bits / 8)
        return Fail(error, "block align does not match the channels");
    if (rate == 0 || rate > kMaxRate)
        return Fail(error, "sample rate out of range");
    if (dataSize / blockAlign == 0)
        return Fail(error, "no audio frames");
    channels_ = channels;
    rate_ = rate;
    blockAlign_ = blockAlign;
    bits_ = bits;
    float_ = isFloat;
    frames_ = dataSize / blockAlign;
    return true;
}

bool WavReader::ReadFrames(uint64_t first, std::size_t count, int16_t* to) {
    const std::size_t samples = count * channels_;
    std::lock_guard<std::mutex> guard(lock_);
    raw_.resize(count * blockAlign_);
    if (bytes_ == nullptr || first > frames_ || count > frames_ - first ||
        !bytes_->Read(dataAt_ + first * blockAlign_, raw_.data(), raw_.size())) {
        std::fill(to, to + samples, int16_t{0});
        return false;
    }
    const std::size_t step = bits_ / 8;
    for (std::size_t i = 0; i < samples; ++i)
        to[i] = Sample16(raw_.data() + i * step, bits_, float_);
    return true;
}

} // namespace headless
