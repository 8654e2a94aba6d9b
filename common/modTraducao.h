// The numbered message table in Portuguese, Spanish and English.
#pragma once

#include <string>

// The text of message `numero` in `idioma` ("P", "E" or "I"; "" the current language).
// Numbers without a text give "".
std::string Traduz(long numero, const std::string& idioma = "");
