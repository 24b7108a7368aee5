#include "Extended.h"

#include <bit>
#include <cstring>

namespace vestrel::store {

namespace {

__extension__ typedef unsigned __int128 UInt128;

constexpr int DoubleBias = 1023;
constexpr int ExtendedBias = 16383;
constexpr std::uint64_t IntegerBit = 1ULL << 63;

ExtendedBytes pack(bool negative, std::uint16_t exponent, std::uint64_t significand)
{
    ExtendedBytes out{};
    for (int i = 0; i < 8; ++i)
        out[i] = std::uint8_t(significand >> (8 * i));
    const std::uint16_t top = std::uint16_t(exponent | (negative ? 0x8000 : 0));
    out[8] = std::uint8_t(top);
    out[9] = std::uint8_t(top >> 8);
    return out;
}

double fromBits(bool negative, std::uint64_t exponentField, std::uint64_t fraction)
{
    return std::bit_cast<double>((negative ? 1ULL << 63 : 0) | (exponentField << 52) | fraction);
}

} // namespace

ExtendedBytes DoubleToExtended(double value)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = bits >> 63;
    const int exponent = int((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((1ULL << 52) - 1);

    if (exponent == 0x7FF) // infinity or NaN: keep the payload in the top fraction bits
        return pack(negative, 0x7FFF, IntegerBit | (fraction << 11));
    if (exponent == 0) {
        if (fraction == 0)
            return pack(negative, 0, 0);
        // Subnormal double: normalise, the extended exponent range holds it.
        const int shift = std::countl_zero(fraction);
        const std::uint64_t significand = fraction << shift;
        // value = fraction * 2^-1074 = significand * 2^(-1074 - shift) = 1.x * 2^(63 - 1074 - shift)
        return pack(negative, std::uint16_t(63 - 1074 - shift + ExtendedBias), significand);
    }
    return pack(negative, std::uint16_t(exponent - DoubleBias + ExtendedBias),
                IntegerBit | (fraction << 11));
}

double ExtendedToDouble(const ExtendedBytes& in)
{
    std::uint64_t significand = 0;
    for (int i = 0; i < 8; ++i)
        significand |= std::uint64_t(in[i]) << (8 * i);
    const std::uint16_t top = std::uint16_t(in[8] | (in[9] << 8));
    const bool negative = top & 0x8000;
    const int exponent = top & 0x7FFF;

    if (exponent == 0x7FFF) {
        const std::uint64_t payload = (significand & ~IntegerBit) >> 11;
        if ((significand & ~IntegerBit) == 0)
            return fromBits(negative, 0x7FF, 0);
        return fromBits(negative, 0x7FF, payload ? payload : 1ULL << 51);
    }
    if (significand == 0)
        return fromBits(negative, 0, 0);

    // The usual case: a normalised value in the range of a normal double.
    const int unbiasedExponent = exponent - ExtendedBias;
    if ((significand & IntegerBit) && unbiasedExponent >= -1022 && unbiasedExponent < DoubleBias) {
        std::uint64_t kept = significand >> 11;
        const std::uint64_t rest = significand & 0x7FF;
        if (rest > 0x400 || (rest == 0x400 && (kept & 1)))
            ++kept;
        int e = unbiasedExponent;
        if (kept >> 53) {
            kept >>= 1;
            ++e;
        }
        return fromBits(negative, std::uint64_t(e + DoubleBias), kept & ((1ULL << 52) - 1));
    }

    // Normalise (unnormal and denormal encodings included): value = 1.x * 2^e.
    const int shift = std::countl_zero(significand);
    significand <<= shift;
    int e = (exponent == 0 ? 1 : exponent) - ExtendedBias - shift;

    if (e > DoubleBias)
        return fromBits(negative, 0x7FF, 0);

    // Bits of the significand to drop: 11 for a normal double, more when it becomes subnormal.
    int drop = 11;
    if (e < -1022)
        drop += -1022 - e;
    if (drop > 64 + 1)
        return fromBits(negative, 0, 0);

    UInt128 wide = significand;
    const UInt128 half = UInt128(1) << (drop - 1);
    const UInt128 mask = (UInt128(1) << drop) - 1;
    const UInt128 rest = wide & mask;
    std::uint64_t kept = std::uint64_t(wide >> drop);
    if (rest > half || (rest == half && (kept & 1)))
        ++kept;

    if (e < -1022) {
        // Subnormal; a carry into bit 52 gives the smallest normal, which these bits express.
        return fromBits(negative, kept >> 52, kept & ((1ULL << 52) - 1));
    }
    if (kept >> 53) { // rounding carried out of the significand
        kept >>= 1;
        ++e;
        if (e > DoubleBias)
            return fromBits(negative, 0x7FF, 0);
    }
    return fromBits(negative, std::uint64_t(e + DoubleBias), kept & ((1ULL << 52) - 1));
}

} // namespace vestrel::store
