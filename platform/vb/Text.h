// Text encodings at the edges of the program.
#pragma once

#include <string>
#include <string_view>

namespace vb {

bool IsValidUtf8(std::string_view bytes);
// Files from the update server: UTF-8 when valid (a leading byte-order mark is dropped),
// else Windows-1252.
std::string DecodeServerText(std::string_view bytes);
std::string DecodeWindows1252(std::string_view bytes);
// Latin-1: one byte per character 0..255; characters above 255 become "?".
std::string DecodeLatin1(std::string_view bytes);
std::string EncodeLatin1(std::string_view utf8);

// One Windows-1252 byte as a character, and back (-1 when the code page lacks the character).
char32_t Windows1252ToChar(unsigned char byte);
int CharToWindows1252(char32_t c);

}  // namespace vb
