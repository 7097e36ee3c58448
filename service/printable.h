// Echoed input made safe to show: a message quotes what the user typed, and that text may
// hold terminal escapes, NUL bytes or bytes that are not UTF-8.
#pragma once

#include <string>
#include <string_view>

// text as one printable line of UTF-8: line breaks (CR, LF) become blanks, every other
// control character (C0, DEL, C1) and every byte that does not belong to a well-formed UTF-8
// sequence is written as \xHH; well-formed UTF-8 (Arabic captions included) is kept.
std::string Printable_Line(std::string_view text);
