#pragma once

// Conversion between UTF-8 (how our sources and command lines spell text) and
// Windows-1252 (one byte a character, how every file of a scenario stores it).

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// The Windows-1252 bytes of `utf8`, or nothing when it is not valid UTF-8 or
// holds a character that code page lacks.
std::optional<std::string> utf8_to_cp1252(std::string_view utf8);

// True when `text` is valid UTF-8 (plain ASCII is).
bool is_valid_utf8(std::string_view text);

// Like utf8_to_cp1252, for texts built into the program: throws
// std::invalid_argument naming the text when it cannot be converted.
std::string cp1252(std::string_view utf8);

// UTF-8 spelling of Windows-1252 bytes (the five unassigned bytes become U+FFFD).
std::string cp1252_to_utf8(std::string_view bytes);

// Lower case within Windows-1252: A-Z and the accented capitals.
unsigned char cp1252_to_lower(unsigned char c);

}  // namespace scenario
