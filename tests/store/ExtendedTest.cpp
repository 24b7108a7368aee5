#include "store/Extended.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace vestrel::store;

namespace {

std::uint64_t bitsOf(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

ExtendedBytes fromHex(const char* hex)
{
    ExtendedBytes b{};
    const QByteArray raw = QByteArray::fromHex(hex);
    std::memcpy(b.data(), raw.constData(), b.size());
    return b;
}

} // namespace

TEST(Extended, KnownEncodings)
{
    struct Case {
        double value;
        const char* hex; // little-endian, as in the file
    } cases[] = {
        {0.0, "00000000000000000000"},
        {1.0, "0000000000000080ff3f"},
        {1.5, "00000000000000c0ff3f"},
        {-2.0, "000000000000008000c0"},
        {36526.5, "000000000080ae8e0e40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const ExtendedBytes e = DoubleToExtended(c.value);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(e.data()), 10).toHex(), QByteArray(c.hex));
        EXPECT_EQ(ExtendedToDouble(fromHex(c.hex)), c.value);
    }
}

TEST(Extended, EveryDoubleRoundTripsBitForBit)
{
    std::vector<double> values = {
        0.0, -0.0, 1.0, -1.0, 0.1, 1.0 / 3.0, 36526.999999988426, 1e300, -1e-300,
        std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min() / 3, std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        std::bit_cast<double>(0x7FF0'0000'0000'0001ULL), // a signalling NaN payload
    };
    std::mt19937_64 random(2026);
    for (int i = 0; i < 100'000; ++i)
        values.push_back(std::bit_cast<double>(random()));
    for (const double v : values)
        ASSERT_EQ(bitsOf(ExtendedToDouble(DoubleToExtended(v))), bitsOf(v)) << std::hexfloat << v;
}

TEST(Extended, WiderValuesRoundToNearestEven)
{
    // 1 + 2^-53 exactly halfway between 1 and the next double: ties to even, down to 1.
    EXPECT_EQ(ExtendedToDouble(fromHex("0004000000000080ff3f")), 1.0);
    // 1 + 3 * 2^-54, above halfway: up.
    EXPECT_EQ(ExtendedToDouble(fromHex("0006000000000080ff3f")), 1.0 + std::ldexp(1.0, -52));
    // 1 + 3 * 2^-53 is halfway between odd and even neighbours: up to the even one.
    EXPECT_EQ(ExtendedToDouble(fromHex("000c000000000080ff3f")), 1.0 + std::ldexp(1.0, -51));
}

TEST(Extended, OutOfRangeMagnitudes)
{
    // 2^16383 overflows a double; 2^-16382 underflows to zero, keeping the sign.
    EXPECT_TRUE(std::isinf(ExtendedToDouble(fromHex("0000000000000080fe7f"))));
    const double tiny = ExtendedToDouble(fromHex("00000000000000800180"));
    EXPECT_EQ(tiny, 0.0);
    EXPECT_TRUE(std::signbit(tiny));
    // Largest finite extended that rounds up past the double range.
    EXPECT_TRUE(std::isinf(ExtendedToDouble(fromHex("fffffffffffffffffe43"))));
    // An unnormal encoding (integer bit clear) still reads as its value.
    EXPECT_EQ(ExtendedToDouble(fromHex("00000000000000400040")), 1.0);
}
