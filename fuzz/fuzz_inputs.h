#pragma once

// What one fuzz input does to the code under test, shared by the fuzz targets
// and by the test that replays every kept input in the ordinary builds.

#include <string_view>

namespace scenario::fuzzing {

// The whole compile of one input: the low bit of byte 0 chooses whether the
// plan is compiled; the rest is the line source up to the first NUL byte and
// the train source after it. Encodes every compiled file of a finished route.
void compile_input(std::string_view input);

// Reads one input as a source of fields, a keyword, a number of each width
// and a text in turn, until its end. Traps when a read makes no progress.
void read_fields(std::string_view input);

// Decodes one input as compiled files, and reads a decoded scenario as the
// inspect and plot commands do. Byte 0 chooses: 0 the cell file, 1 the table
// file, 2 the line plan file, 3 all three (two 16-bit lengths for the cell and
// table files, the plan file after them).
void decode_files(std::string_view input);

}  // namespace scenario::fuzzing
