#pragma once

#include <cstdint>

namespace vestrel::store {

// Tags of the values of a component stream.
enum class ValueTag : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
};

inline constexpr char Signature[4] = {'T', 'P', 'F', '0'};

} // namespace vestrel::store
