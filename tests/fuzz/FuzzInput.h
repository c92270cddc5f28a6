// The fuzz input read as small decisions: the user's actions and answers
// from the front half, the machine (registry, files, Windows version) from
// the back half, read from its end, so a change at one end leaves the other
// alone. Once a half runs out its reads give 0, and 0 always picks the
// ordinary case; the user's run ends with the user's half.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qmfuzz {

class FuzzInput {
public:
    // The user's half and the machine's half of one input.
    static FuzzInput user(const std::uint8_t* data, std::size_t size) { return {data, data + size / 2, false}; }
    static FuzzInput machine(const std::uint8_t* data, std::size_t size) { return {data + size / 2, data + size, true}; }

    FuzzInput(const std::uint8_t* lo, const std::uint8_t* hi, bool fromBack) : lo_(lo), hi_(hi), back_(fromBack) {}

    bool empty() const { return lo_ >= hi_; }

    std::uint8_t byte() {
        if (empty()) return 0;
        return back_ ? *--hi_ : *lo_++;
    }
    // One read per statement: the order of the two reads must not be left
    // to the compiler, or an input would mean different runs under each.
    std::uint16_t u16() {
        const std::uint16_t lo = byte();
        return static_cast<std::uint16_t>(lo | byte() << 8);
    }
    std::uint32_t u32() {
        std::uint32_t v = byte();
        v |= std::uint32_t(byte()) << 8;
        v |= std::uint32_t(byte()) << 16;
        v |= std::uint32_t(byte()) << 24;
        return v;
    }
    // 0 .. n-1; n must be at least 1.
    std::size_t pick(std::size_t n) { return n <= 256 ? byte() % n : u16() % n; }
    bool flag() { return byte() & 1; }
    // true in about one case of `n`, never for 0.
    bool rarely(unsigned n) { return byte() % n == n - 1; }

    std::vector<std::uint8_t> bytes(std::size_t n) {
        std::vector<std::uint8_t> out;
        while (out.size() < n && !empty()) out.push_back(byte());
        return out;
    }
    std::string text(std::size_t n) {
        auto b = bytes(n);
        return std::string(b.begin(), b.end());
    }

    template <typename T, std::size_t N>
    const T& choose(const T (&table)[N]) {
        return table[pick(N)];
    }

private:
    const std::uint8_t* lo_;
    const std::uint8_t* hi_;
    bool back_;
};

}  // namespace qmfuzz
