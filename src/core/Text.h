// Texts are counted strings of 16-bit characters. A text variable that was
// never set is absent: it reads like the empty text, but reaches the
// platform as a null pointer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qrv {

using Str = std::u16string;
using Text = std::optional<Str>;

// The value of a text, absent reading as empty.
inline const Str& Value(const Text& t) {
    static const Str empty;
    return t ? *t : empty;
}

}  // namespace qrv
