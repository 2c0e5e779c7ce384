// Conversion between UTF-8 and the character set of the program's locale
// (nl_langinfo(CODESET), once the program has called setlocale(LC_ALL, "")).
// The ASCII of the C locale counts as UTF-8. Valid text converts unchanged
// in a UTF-8 locale. A character the target set cannot hold, and every
// invalid input byte, becomes '?'. Null gives "".
#pragma once

#include <string>

std::string Utf8ToAnsi(const char* text);
std::string AnsiToUtf8(const char* text);
