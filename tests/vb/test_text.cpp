// Encodings at the program's edges.
#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

TEST(VbText, IsValidUtf8Table) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"abc", true},
        {"ação", true},
        {"\xF0\x9F\x98\x80", true},      // outside the BMP
        {"\xC3", false},                 // cut off
        {"a\xE7\xE3o", false},           // Windows-1252 text
        {"\xC0\x80", false},             // overlong
        {"\xED\xA0\x80", false},         // a surrogate
        {"\xF4\x90\x80\x80", false},     // above U+10FFFF
        {"\x80", false},                 // a lone continuation byte
        {std::string("a\0b", 3), true},
    };
    for (const auto& [bytes, valid] : cases) EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes;
}

TEST(VbText, Windows1252DecodesTheWholeTable) {
    const std::pair<unsigned char, const char*> cases[] = {
        {0x41, "A"},        {0x80, "€"},        {0x82, "‚"},        {0x8A, "Š"},   {0x8C, "Œ"},
        {0x93, "“"},        {0x96, "–"},        {0x99, "™"},        {0x9F, "Ÿ"},   {0xA0, "\u00A0"},
        {0xE7, "ç"},        {0xFF, "ÿ"},
        // Undefined in the code page: the Latin-1 code point, as Windows maps them.
        {0x81, "\u0081"},   {0x8D, "\u008D"},   {0x8F, "\u008F"},   {0x90, "\u0090"}, {0x9D, "\u009D"},
    };
    for (const auto& [byte, text] : cases)
        EXPECT_EQ(DecodeWindows1252(std::string(1, char(byte))), text) << int(byte);
    EXPECT_EQ(DecodeWindows1252("A\xE7\xE3o \x80"), "Ação €");
    for (int b = 0; b < 256; ++b) {
        const char32_t c = Windows1252ToChar(static_cast<unsigned char>(b));
        EXPECT_EQ(CharToWindows1252(c), b) << b;
        EXPECT_EQ(ToChars(DecodeWindows1252(std::string(1, char(b)))), std::u32string(1, c)) << b;
    }
    EXPECT_EQ(CharToWindows1252(U'Ω'), -1);
}

TEST(VbText, ServerTextIsUtf8WhenValidElseWindows1252) {
    EXPECT_EQ(DecodeServerText("ação"), "ação");
    EXPECT_EQ(DecodeServerText("a\xE7\xE3o"), "ação");
    EXPECT_EQ(DecodeServerText("\xEF\xBB\xBF" "1;2"), "1;2");   // a byte-order mark is dropped
    // One stray byte makes the whole file Windows-1252.
    EXPECT_EQ(DecodeServerText("ação\xE9"), "aÃ§Ã£oé");
    EXPECT_EQ(DecodeServerText(""), "");
}

TEST(VbText, Latin1BothWays) {
    EXPECT_EQ(DecodeLatin1("\x80\xE7"), "\u0080ç");   // Latin-1 has no euro sign
    EXPECT_EQ(EncodeLatin1("açã"), "a\xE7\xE3");
    EXPECT_EQ(EncodeLatin1("€Ω\xF0\x9F\x98\x80!"), std::string(3, '?') + "!");   // one "?" per character
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, char(b));
        EXPECT_EQ(EncodeLatin1(DecodeLatin1(byte)), byte) << b;
    }
}

}  // namespace
