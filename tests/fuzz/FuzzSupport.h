// Helpers shared by the libFuzzer targets: a reader that takes typed values
// from the fuzzer's bytes, and a check that stops the run with a message, so a
// broken rule counts as a finding just like a crash.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond)                                                            \
    do {                                                                            \
        if (!(cond)) {                                                              \
            std::fprintf(stderr, "%s:%d: rule broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

namespace fuzz {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Left() const { return size_ - pos_; }

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Word() {
        const uint16_t lo = Byte();
        return static_cast<uint16_t>(lo | (Byte() << 8));
    }
    // A value in [lo, hi].
    int Range(int lo, int hi) {
        const uint32_t span = static_cast<uint32_t>(hi - lo) + 1;
        return lo + static_cast<int>(Word() % span);
    }
    // The rest of the input as raw bytes.
    std::string Rest() {
        std::string out(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
        pos_ = size_;
        return out;
    }
    // The rest of the input as UTF-16 code units, two bytes each (little-endian).
    std::u16string RestUtf16() {
        std::u16string out;
        while (Left() >= 2) out.push_back(static_cast<char16_t>(Word()));
        if (Left()) out.push_back(static_cast<char16_t>(Byte()));
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

inline bool IsTrimmed(const std::u16string& s) {
    return s.empty() || (s.front() > 32 && s.back() > 32);
}

}  // namespace fuzz
