// Turns colour code into the HTML of the preview.
#pragma once

#include <string_view>

#include "bbcolour/text.h"

namespace bbcolour {

// "<span style=\"color:#", 20 bytes, replaces each "[color=#".
inline constexpr std::string_view kSpanOpener = "<span style=\"color:#";
// ' ">', 3 bytes, replaces the "]" that ends an opening colour tag.
inline constexpr std::string_view kTagCloser = " \">";
// Replaces each "[/color]".
inline constexpr std::string_view kSpanEnd = "</span>";

// One span per colour tag, nothing else, nothing escaped. Matches start only
// at character boundaries (a byte of 0x80 or above takes the next byte
// along), so the trail byte of a double-byte character is never mistaken for
// a bracket. A "]" inside a unit stays "]".
Text ConvertCodeToHtml(const Text& code);

}  // namespace bbcolour
