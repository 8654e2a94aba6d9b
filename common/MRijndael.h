// The one door to the cipher: the proxy user name and password of the settings file are
// stored as uppercase hexadecimal cipher text under the program's fixed key. Both programs
// build this module, so a field written by one is read by the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// bCriptografar true: the text as uppercase hexadecimal cipher text; false: the cipher text
// (upper- or lowercase digits) back as the text. "" stays "". Deciphering raises an error
// for anything that is not a cipher text of this key.
std::string ProcessaCriptografia(const std::string& texto, bool bCriptografar);

// The 16-character key text.
std::string ObtemChaveCriptografia();

// One byte per character (UTF-8 decoded): the low 8 bits of its code.
std::vector<std::uint8_t> TextoParaBytes(const std::string& texto);
// One character per byte, read as Latin-1, returned as UTF-8.
std::string BytesParaTexto(const std::vector<std::uint8_t>& bytes);

// Pairs of hexadecimal digits (either case) to bytes; any other character raises error 13,
// an odd number of digits error 9.
std::vector<std::uint8_t> HexParaBytes(const std::string& texto);
// Two uppercase hexadecimal digits per byte, no separators.
std::string BytesParaHex(const std::vector<std::uint8_t>& bytes);
