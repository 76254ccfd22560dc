// Helpers the property checks share: decoding raw fuzz input, output buffers whose every
// byte outside the allowed size is out of bounds for AddressSanitizer, and a seeded generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace fuzz {

// Takes values off the front of the input; past its end every byte reads as 0, so any input
// decodes to a complete value set.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    uint32_t u32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | byte();
        return value;
    }

    int32_t i32() {
        const uint32_t raw = u32();
        int32_t value;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }

    float f32() {
        const uint32_t raw = u32();
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }

    // Up to `length` bytes (fewer when the input ends first).
    std::string text(size_t length) {
        const size_t available = size_ - pos_;
        const size_t taken = length < available ? length : available;
        std::string out(reinterpret_cast<const char*>(data_ + pos_), taken);
        pos_ += taken;
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A heap block of exactly `size` bytes filled with a sentinel, so that a write past the end
// trips AddressSanitizer and a missing terminator shows as sentinel bytes.
class GuardedBuffer {
  public:
    static constexpr char kSentinel = '\x5a';

    explicit GuardedBuffer(size_t size) : bytes_(new char[size]), size_(size) { refill(); }

    // Back to all sentinel bytes, for the next use of the same block.
    void refill() { std::memset(bytes_.get(), kSentinel, size_); }

    char* data() { return bytes_.get(); }
    size_t size() const { return size_; }

    // True when a terminator lies within the block.
    bool terminated() const { return std::memchr(bytes_.get(), '\0', size_) != nullptr; }

    // True when no byte from `from` on was written.
    bool untouchedFrom(size_t from) const {
        for (size_t i = from; i < size_; ++i) {
            if (bytes_[i] != kSentinel)
                return false;
        }
        return true;
    }

  private:
    std::unique_ptr<char[]> bytes_;
    size_t size_;
};

// splitmix64: cheap, and the same input always gives the same values, so a saved input
// replays exactly.
class Generator {
  public:
    explicit Generator(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }

    // A value in 0 .. bound - 1 (bound > 0).
    uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }

  private:
    uint64_t state_;
};

inline uint64_t hashBytes(const uint8_t* data, size_t size) {
    uint64_t hash = 0xcbf29ce484222325u; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3u;
    return hash;
}

} // namespace fuzz
