#pragma once

// Small text pieces the crew pages are assembled from: the spellings a place
// takes on a form or in prose, clock times, and fixed-width cells. Texts are
// UTF-8 here; LineBuffer::add turns them into single bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace scenario {

// "VALDORENA C.le" -> "VALDORENA C.LE".
std::string upper_case(std::string_view text);

// Every word with a capital initial and the rest in lower case:
// "VALDORENA C.le" -> "Valdorena C.le", "TORRESECCA" -> "Torresecca".
std::string initial_capitals(std::string_view text);

// The forms write a central station as "C." instead of "C.le".
std::string short_station_name(std::string_view name);

// "13.10": hour, point, two-digit minutes; always five characters (a blank
// before a one-digit hour) so that the points stand in one column.
std::string clock_text(int hour, int minute);

// `text` followed by `filler` up to `width` characters. A text wider than its
// cell would push every later rule out of its column, so it is refused with
// std::length_error.
std::string fit(std::string_view text, size_t width, char filler = ' ');

// Number of characters (not bytes) of a UTF-8 text.
size_t character_count(std::string_view text);

}  // namespace scenario
