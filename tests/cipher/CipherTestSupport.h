// Test helpers: OpenSSL's AES in ECB mode without padding as an oracle, hex conversion and
// repeatable pseudo-random bytes.
#pragma once

#include <openssl/evp.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace cipher_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes OpenSslAesEcb(const Bytes& key, const Bytes& data, bool encrypt) {
    const EVP_CIPHER* kind = key.size() == 16   ? EVP_aes_128_ecb()
                             : key.size() == 24 ? EVP_aes_192_ecb()
                                                : EVP_aes_256_ecb();
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (!ctx) throw std::runtime_error("EVP_CIPHER_CTX_new");
    Bytes out(data.size() + 32);
    int n1 = 0;
    int n2 = 0;
    bool ok = EVP_CipherInit_ex(ctx, kind, nullptr, key.data(), nullptr, encrypt ? 1 : 0) == 1 &&
              EVP_CIPHER_CTX_set_padding(ctx, 0) == 1 &&
              EVP_CipherUpdate(ctx, out.data(), &n1, data.data(), static_cast<int>(data.size())) == 1 &&
              EVP_CipherFinal_ex(ctx, out.data() + n1, &n2) == 1;
    EVP_CIPHER_CTX_free(ctx);
    if (!ok) throw std::runtime_error("OpenSSL AES failed");
    out.resize(static_cast<std::size_t>(n1 + n2));
    return out;
}

inline Bytes FromHex(const std::string& hex) {
    Bytes b;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        b.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return b;
}

inline std::string ToHex(const Bytes& b) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (auto v : b) {
        s += d[v >> 4];
        s += d[v & 15];
    }
    return s;
}

inline Bytes RandomBytes(std::mt19937& rng, std::size_t n) {
    std::uniform_int_distribution<int> dist(0, 255);
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(dist(rng));
    return b;
}

// The framed plaintext: 4-byte little-endian length, the message, zeros to whole blocks.
inline Bytes Framed(const Bytes& message, std::size_t block) {
    Bytes f(4 + message.size());
    const auto l = static_cast<std::uint32_t>(message.size());
    for (int i = 0; i < 4; ++i) f[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(l >> (8 * i));
    std::copy(message.begin(), message.end(), f.begin() + 4);
    while (f.size() % block != 0) f.push_back(0);
    return f;
}

}  // namespace cipher_test
