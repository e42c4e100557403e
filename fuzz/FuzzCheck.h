// What every fuzz target shares: a property that fails stops the run with a message,
// so libFuzzer keeps the input and the replay test fails on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vilo::fuzz {

inline void Require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// Consumes the input from the front; past its end every read gives zero bytes, so a
// short input still makes a complete case.
class TInputReader {
public:
    TInputReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    bool AtEnd() const { return FPos >= FSize; }

    std::uint8_t Byte()
    {
        return FPos < FSize ? FData[FPos++] : 0;
    }

    // Any 32-bit pattern, NaNs and infinities included.
    float FloatBits()
    {
        std::uint8_t bytes[sizeof(float)] = {};
        for (std::uint8_t& b : bytes)
            b = Byte();
        float value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

}  // namespace vilo::fuzz
