#include "platform/vb/Text.h"

#include <QList>
#include <QString>
#include <QStringDecoder>

namespace vb {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes the code page leaves undefined keep
// their Latin-1 code point, as Windows' own conversion does.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

char32_t Windows1252ToChar(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? char32_t(kHigh[byte - 0x80]) : char32_t(byte);
}

int CharToWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
    for (int i = 0; i < 32; ++i)
        if (char32_t(kHigh[i]) == c) return 0x80 + i;
    return -1;
}

bool IsValidUtf8(std::string_view bytes) {
    // Stateless: a sequence cut off at the end is an error, not a pending character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    (void)decoded;
    return !decoder.hasError();
}

std::string DecodeServerText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
        return std::string(bytes);
    }
    return DecodeWindows1252(bytes);
}

std::string DecodeWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char b : bytes) text += QChar(char16_t(Windows1252ToChar(static_cast<unsigned char>(b))));
    return text.toStdString();
}

std::string DecodeLatin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).toStdString();
}

std::string EncodeLatin1(std::string_view utf8) {
    std::string out;
    for (char32_t c : QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toUcs4())
        out += c <= 0xFF ? char(static_cast<unsigned char>(c)) : '?';
    return out;
}

}  // namespace vb
