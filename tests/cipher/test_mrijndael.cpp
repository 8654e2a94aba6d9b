#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "common/CRijndael.h"
#include "common/MRijndael.h"
#include "platform/vb/Err.h"
#include "tests/cipher/CipherTestSupport.h"

using namespace cipher_test;

namespace {

bool IsUpperHex(const std::string& s) {
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

Bytes KeyBytes() {
    const std::string k = ObtemChaveCriptografia();
    return Bytes(k.begin(), k.end());
}

}  // namespace

TEST(ProcessaCriptografia, EdgeCases) {
    enum class Expect { Text, HexDigits, Error };
    struct Case {
        const char* name;
        std::string texto;
        bool cifrar;
        Expect expect;
        std::string text = {};       // Expect::Text: the result
        std::size_t digits = 0;      // Expect::HexDigits: the result's length
        long number = 0;             // Expect::Error: the error number
    };

    const std::string twelve = "usuario.prox";  // 12 characters
    const std::string cifra12 = ProcessaCriptografia(twelve, true);
    CRijndael other;
    const std::string outraChave =
        BytesParaHex(*other.EncryptData(TextoParaBytes("proxy"), TextoParaBytes("0123456789abcdef"), 4, 4));

    const Case cases[] = {
        {"empty enciphered", "", true, Expect::Text, ""},
        {"empty deciphered", "", false, Expect::Text, ""},
        {"1 character", "a", true, Expect::HexDigits, {}, 32},
        {"12 characters", twelve, true, Expect::HexDigits, {}, 32},
        {"13 characters", twelve + "y", true, Expect::HexDigits, {}, 64},
        {"28 characters", std::string(28, 'z'), true, Expect::HexDigits, {}, 64},
        {"29 characters", std::string(29, 'z'), true, Expect::HexDigits, {}, 96},
        {"uppercase cipher text", cifra12, false, Expect::Text, twelve},
        {"lowercase cipher text", Lower(cifra12), false, Expect::Text, twelve},
        {"31 digits", cifra12.substr(0, 31), false, Expect::Error, {}, 0, 9},
        {"30 digits", cifra12.substr(0, 30), false, Expect::Error, {}, 0, 9},
        {"34 digits", cifra12 + "00", false, Expect::Error, {}, 0, 9},
        {"32 characters with G", "G" + cifra12.substr(1), false, Expect::Error, {}, 0, 13},
        {"32 characters with a space", cifra12.substr(0, 31) + " ", false, Expect::Error, {}, 0, 13},
        {"another key", outraChave, false, Expect::Error, {}, 0, 0},
        {"plain text", "senha", false, Expect::Error, {}, 0, 0},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        switch (c.expect) {
        case Expect::Text:
            EXPECT_EQ(ProcessaCriptografia(c.texto, c.cifrar), c.text);
            break;
        case Expect::HexDigits: {
            const std::string out = ProcessaCriptografia(c.texto, c.cifrar);
            EXPECT_EQ(out.size(), c.digits);
            EXPECT_TRUE(IsUpperHex(out)) << out;
            EXPECT_EQ(ProcessaCriptografia(c.texto, c.cifrar), out) << "not deterministic";
            EXPECT_EQ(ProcessaCriptografia(out, false), c.texto);
            break;
        }
        case Expect::Error:
            try {
                const std::string out = ProcessaCriptografia(c.texto, c.cifrar);
                ADD_FAILURE() << "no error, gave \"" << out << "\"";
            } catch (const vb::Error& e) {
                if (c.number != 0) {
                    EXPECT_EQ(e.Number(), c.number);
                }
                EXPECT_FALSE(e.Description().empty());
            }
            break;
        }
    }
}

// The stored form must stay readable by the other program and by files written before:
// AES-128-ECB under the key text's bytes, one Latin-1 byte per character.
TEST(ProcessaCriptografia, StoredFormIsAes128EcbOfLatin1Bytes) {
    struct Case {
        std::string texto;
        Bytes bytes;
    };
    const Case cases[] = {
        {"usuario", {'u', 's', 'u', 'a', 'r', 'i', 'o'}},
        {"ção", {0xE7, 0xE3, 'o'}},
        {std::string(20, '#'), Bytes(20, '#')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(ProcessaCriptografia(c.texto, true),
                  ToHex(OpenSslAesEcb(KeyBytes(), Framed(c.bytes, 16), true)));
    }
}

TEST(ProcessaCriptografia, TextsOfCharacters0To255ComeBackExactly) {
    std::vector<std::string> texts;
    std::string ascii;
    for (int c = 0; c < 128; ++c) ascii += static_cast<char>(c);
    texts.push_back(ascii);
    for (std::size_t n = 1; n <= 40; ++n) texts.push_back(ascii.substr(32 + n, n));
    texts.push_back("Proxy:Usuário Ñandú ÿ ©");  // Latin-1 letters come back too
    for (const auto& t : texts) {
        SCOPED_TRACE(t);
        EXPECT_EQ(ProcessaCriptografia(ProcessaCriptografia(t, true), false), t);
    }
}

// A character beyond Latin-1 keeps only its low 8 bits: the stored form has one byte each.
TEST(ProcessaCriptografia, CharactersBeyondLatin1ComeBackAsTheirLowByte) {
    EXPECT_EQ(ProcessaCriptografia(ProcessaCriptografia("a€b", true), false), "a¬b");
}

TEST(MRijndaelConversions, HexParaBytes) {
    struct Good {
        std::string hex;
        Bytes bytes;
    };
    const Good good[] = {
        {"", {}},
        {"00", {0x00}},
        {"0aFf", {0x0A, 0xFF}},
        {"7F80c3", {0x7F, 0x80, 0xC3}},
    };
    for (const auto& g : good) {
        SCOPED_TRACE(g.hex);
        EXPECT_EQ(HexParaBytes(g.hex), g.bytes);
    }

    struct Bad {
        std::string hex;
        long number;
    };
    const Bad bad[] = {{"0", 9},   {"abc", 9},  {"abG", 13}, {"0G", 13}, {" 1", 13}, {"+1", 13},
                       {"1 ", 13}, {"0x", 13},  {"-1", 13}, {"é", 13},  {std::string("0\0", 2), 13}};
    for (const auto& b : bad) {
        SCOPED_TRACE(b.hex);
        try {
            (void)HexParaBytes(b.hex);
            ADD_FAILURE() << "accepted";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), b.number);
            EXPECT_FALSE(e.Description().empty());
        }
    }
}

TEST(MRijndaelConversions, BytesTextAndHex) {
    EXPECT_EQ(BytesParaHex({}), "");
    EXPECT_EQ(BytesParaHex({0x00, 0x0F, 0x10, 0xA0, 0xFF}), "000F10A0FF");

    struct Case {
        std::string text;
        Bytes bytes;
    };
    const Case toBytes[] = {
        {"Az09", {'A', 'z', '0', '9'}},
        {std::string("a\0b", 3), {'a', 0, 'b'}},
        {"ç", {0xE7}},
        {"€", {0xAC}},
        {"\U0001F600", {0x00}},
    };
    for (const auto& c : toBytes) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextoParaBytes(c.text), c.bytes);
    }
    EXPECT_EQ(BytesParaTexto({'A', 0xE7, 0xFF, 0x80, 0x00}), std::string("Aç\u00FF\u0080\0", 8));
    EXPECT_EQ(BytesParaTexto({}), "");
}

TEST(MRijndaelConversions, KeyTextIsSixteenPrintableCharacters) {
    const std::string k = ObtemChaveCriptografia();
    ASSERT_EQ(k.size(), 16u);
    for (char c : k) EXPECT_TRUE(c > 32 && c < 127) << static_cast<int>(c);
    EXPECT_EQ(ObtemChaveCriptografia(), k);
}
