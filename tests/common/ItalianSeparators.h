#pragma once

#include "common/Locale.h"

namespace vestrel::testing {

// Italian number separators ('.' thousands, ',' decimals) while it lives.
class ItalianSeparators {
public:
    ItalianSeparators() { Locale::setSeparators(u',', u'.'); }
    ~ItalianSeparators() { Locale::resetSeparators(); }
    ItalianSeparators(const ItalianSeparators&) = delete;
    ItalianSeparators& operator=(const ItalianSeparators&) = delete;
};

} // namespace vestrel::testing
