#include "common/MRijndael.h"

#include <QList>
#include <QString>

#include "common/CRijndael.h"
#include "platform/vb/Err.h"

namespace {

constexpr const char* kSource = "MRijndael";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string ObtemChaveCriptografia() {
    // Joined from character codes so the key never stands in the binary as one string.
    static constexpr int codigos[16] = {90, 107, 55, 35, 113, 80, 50, 33,
                                        109, 87, 57, 36, 114, 84, 52, 38};
    std::string chave;
    for (int codigo : codigos) chave += std::string(1, static_cast<char>(codigo));
    return chave;
}

std::vector<std::uint8_t> TextoParaBytes(const std::string& texto) {
    const auto codigos =
        QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())).toUcs4();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(codigos.size()));
    for (uint c : codigos) bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    return bytes;
}

std::string BytesParaTexto(const std::vector<std::uint8_t>& bytes) {
    std::string texto;
    texto.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        if (b < 0x80) {
            texto += static_cast<char>(b);
        } else {
            texto += static_cast<char>(0xC0 | (b >> 6));
            texto += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return texto;
}

std::vector<std::uint8_t> HexParaBytes(const std::string& texto) {
    const auto naoHexadecimal = [](std::size_t posicao) {
        vb::Raise(vb::err::TypeMismatch,
                  "Hexadecimal text holds a character that is not a hexadecimal digit "
                  "at position " + std::to_string(posicao),
                  kSource);
    };
    std::vector<std::uint8_t> bytes;
    bytes.reserve(texto.size() / 2);
    std::size_t i = 0;
    for (; i + 1 < texto.size(); i += 2) {
        const int alto = HexDigit(texto[i]);
        const int baixo = HexDigit(texto[i + 1]);
        if (alto < 0 || baixo < 0) naoHexadecimal(alto < 0 ? i + 1 : i + 2);
        bytes.push_back(static_cast<std::uint8_t>(alto * 16 + baixo));
    }
    // A last single digit is read as the others were, and then has no place in the array.
    if (i < texto.size()) {
        if (HexDigit(texto[i]) < 0) naoHexadecimal(i + 1);
        vb::Raise(vb::err::SubscriptOutOfRange,
                  "Hexadecimal text has an odd number of digits", kSource);
    }
    return bytes;
}

std::string BytesParaHex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char digitos[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        hex += digitos[b >> 4];
        hex += digitos[b & 0x0F];
    }
    return hex;
}

std::string ProcessaCriptografia(const std::string& texto, bool bCriptografar) {
    if (texto.empty()) return {};

    const auto chave = TextoParaBytes(ObtemChaveCriptografia());
    CRijndael cifra;
    if (bCriptografar) {
        const auto saida = cifra.EncryptData(TextoParaBytes(texto), chave, 4, 4);
        // A non-empty text always has bytes, so this does not happen.
        if (!saida)
            vb::Raise(vb::err::InvalidProcedureCall, "Text gave no bytes to encipher", kSource);
        return BytesParaHex(*saida);
    }

    const auto dados = HexParaBytes(texto);
    if (dados.size() % 16 != 0)
        vb::Raise(vb::err::SubscriptOutOfRange,
                  "Cipher text is not a whole number of 16-byte blocks", kSource);
    const auto saida = cifra.DecryptData(dados, chave, 4, 4);
    if (!saida)
        vb::Raise(vb::err::SubscriptOutOfRange,
                  "Cipher text does not fit this key: its length is beyond its bytes", kSource);
    return BytesParaTexto(*saida);
}
