// Microprograms as tables: the control store's contents read from a file
// ending in .mic (option -R on the control store), one microinstruction a
// line by its named fields, as the model's own table reads.
#pragma once

#include <istream>
#include <string>

#include "components/WordFile.h"

// Reads a microprogram for a ROM of 32-bit words.  A line holds one
// microinstruction, after an optional decimal "ADDRESS:" (a line without one
// takes the address after the previous line's): either fields written
// NAME=VALUE (names as in microFields, or their probe labels; values decimal
// or 0x-hexadecimal; fields not written are 0), or one 32-bit hexadecimal
// word.  '#' starts a comment.  Errors name the file and line.
RomContents readMicroprogram(const std::string &fileName, std::istream &in, RomShape shape);
