#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "common/CRijndael.h"
#include "platform/vb/Err.h"
#include "tests/cipher/CipherTestSupport.h"
#include "tests/support/ErroVb.h"

using namespace cipher_test;

namespace {

// A plain byte-by-byte Rijndael written from the textbook definition (state as rows and
// columns, xtime arithmetic, S-box by brute-force inverse), to check the table-driven class
// for the block lengths that no library offers.
class ReferenceRijndael {
public:
    ReferenceRijndael() {
        for (int x = 0; x < 256; ++x) {
            std::uint8_t inv = 0;
            for (int y = 1; y < 256 && x != 0; ++y)
                if (Mul(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) == 1) {
                    inv = static_cast<std::uint8_t>(y);
                    break;
                }
            std::uint8_t s = 0;
            for (int i = 0; i < 8; ++i) {
                int bit = ((inv >> i) ^ (inv >> ((i + 4) % 8)) ^ (inv >> ((i + 5) % 8)) ^
                           (inv >> ((i + 6) % 8)) ^ (inv >> ((i + 7) % 8)) ^ (0x63 >> i)) & 1;
                s = static_cast<std::uint8_t>(s | (bit << i));
            }
            sbox_[x] = s;
        }
    }

    Bytes Encrypt(int nb, int nk, const Bytes& key, const Bytes& in) const {
        const int nr = 6 + std::max(nb, nk);
        const int total = nb * (nr + 1);
        std::vector<std::array<std::uint8_t, 4>> w(static_cast<std::size_t>(total));
        for (int i = 0; i < nk; ++i)
            for (int r = 0; r < 4; ++r) w[i][r] = key[static_cast<std::size_t>(4 * i + r)];
        std::uint8_t rcon = 1;
        for (int i = nk; i < total; ++i) {
            auto t = w[i - 1];
            if (i % nk == 0) {
                t = {sbox_[t[1]], sbox_[t[2]], sbox_[t[3]], sbox_[t[0]]};
                t[0] ^= rcon;
                rcon = Xtime(rcon);
            } else if (nk > 6 && i % nk == 4) {
                for (auto& v : t) v = sbox_[v];
            }
            for (int r = 0; r < 4; ++r) w[i][r] = static_cast<std::uint8_t>(w[i - nk][r] ^ t[r]);
        }

        std::uint8_t s[4][8];
        for (int c = 0; c < nb; ++c)
            for (int r = 0; r < 4; ++r) s[r][c] = in[static_cast<std::size_t>(4 * c + r)];
        auto addKey = [&](int round) {
            for (int c = 0; c < nb; ++c)
                for (int r = 0; r < 4; ++r) s[r][c] ^= w[round * nb + c][r];
        };
        const int shift[4] = {0, 1, nb < 8 ? 2 : 3, nb < 8 ? 3 : 4};
        addKey(0);
        for (int round = 1; round <= nr; ++round) {
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < nb; ++c) s[r][c] = sbox_[s[r][c]];
            for (int r = 1; r < 4; ++r) {
                std::uint8_t row[8];
                for (int c = 0; c < nb; ++c) row[c] = s[r][(c + shift[r]) % nb];
                for (int c = 0; c < nb; ++c) s[r][c] = row[c];
            }
            if (round != nr) {
                for (int c = 0; c < nb; ++c) {
                    std::uint8_t a[4] = {s[0][c], s[1][c], s[2][c], s[3][c]};
                    for (int r = 0; r < 4; ++r)
                        s[r][c] = static_cast<std::uint8_t>(
                            Mul(2, a[r]) ^ Mul(3, a[(r + 1) % 4]) ^ a[(r + 2) % 4] ^ a[(r + 3) % 4]);
                }
            }
            addKey(round);
        }
        Bytes out(static_cast<std::size_t>(4 * nb));
        for (int c = 0; c < nb; ++c)
            for (int r = 0; r < 4; ++r) out[static_cast<std::size_t>(4 * c + r)] = s[r][c];
        return out;
    }

    std::uint8_t Sbox(int x) const { return sbox_[x]; }

private:
    static std::uint8_t Xtime(std::uint8_t x) {
        return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0));
    }
    static std::uint8_t Mul(std::uint8_t a, std::uint8_t b) {
        std::uint8_t p = 0;
        for (; b; b >>= 1, a = Xtime(a))
            if (b & 1) p ^= a;
        return p;
    }
    std::array<std::uint8_t, 256> sbox_{};
};

CRijndael Keyed(int nb, int nk, const Bytes& key) {
    CRijndael c;
    c.gentables();
    c.gkey(nb, nk, key);
    return c;
}

// The error number f raises, which must come with a description.
long ErrorNumber(const std::function<void()>& f) {
    std::string descricao;
    const long numero = testsupport::NumeroErro(f, &descricao);
    if (numero != 0) {
        EXPECT_FALSE(descricao.empty());
    }
    return numero;
}

}  // namespace

TEST(CRijndaelBlock, GivesTheFips197AppendixCResultsAndInvertsThem) {
    struct Case {
        int nk;
        const char* key;
        const char* cipher;
    };
    const Case cases[] = {
        {4, "000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {6, "000102030405060708090a0b0c0d0e0f1011121314151617",
         "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {8, "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
         "8ea2b7ca516745bfeafc49904b496089"},
    };
    const Bytes plain = FromHex("00112233445566778899aabbccddeeff");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nk);
        CRijndael r = Keyed(4, c.nk, FromHex(c.key));
        Bytes block = plain;
        r.encrypt(block);
        EXPECT_EQ(ToHex(block), ToHex(FromHex(c.cipher)));
        r.decrypt(block);
        EXPECT_EQ(block, plain);
    }
}

// Many random blocks reach every entry of both S-boxes and both round tables.
TEST(CRijndaelBlock, MatchesOpenSslAesForEveryKeyLength) {
    std::mt19937 rng(197);
    for (int nk : {4, 6, 8}) {
        SCOPED_TRACE(nk);
        for (int n = 0; n < 200; ++n) {
            const Bytes key = RandomBytes(rng, static_cast<std::size_t>(4 * nk));
            const Bytes block = RandomBytes(rng, 16);
            CRijndael r = Keyed(4, nk, key);
            Bytes enc = block;
            r.encrypt(enc);
            ASSERT_EQ(enc, OpenSslAesEcb(key, block, true));
            Bytes dec = block;
            r.decrypt(dec);
            ASSERT_EQ(dec, OpenSslAesEcb(key, block, false));
        }
    }
}

TEST(CRijndaelBlock, EveryBlockAndKeyLengthMatchesTheReferenceAndInverts) {
    const ReferenceRijndael ref;
    ASSERT_EQ(ref.Sbox(0x00), 0x63);
    ASSERT_EQ(ref.Sbox(0x53), 0xED);
    std::mt19937 rng(2101);
    for (int nb = 4; nb <= 8; ++nb) {
        for (int nk = 4; nk <= 8; ++nk) {
            SCOPED_TRACE("Nb " + std::to_string(nb) + " Nk " + std::to_string(nk));
            for (int n = 0; n < 8; ++n) {
                const Bytes key = RandomBytes(rng, static_cast<std::size_t>(4 * nk));
                const Bytes block = RandomBytes(rng, static_cast<std::size_t>(4 * nb));
                CRijndael r = Keyed(nb, nk, key);
                Bytes work = block;
                r.encrypt(work);
                ASSERT_EQ(ToHex(work), ToHex(ref.Encrypt(nb, nk, key, block)));
                r.decrypt(work);
                ASSERT_EQ(work, block);
            }
        }
    }
}

// Lengths outside 4-8 or short buffers would index past the schedules.
TEST(CRijndaelBlock, RefusesMisuseWithAnError) {
    const Bytes key(32, 7);
    EXPECT_EQ(ErrorNumber([&] { CRijndael c; c.gkey(4, 4, key); }), 5) << "gkey before gentables";
    for (auto [nb, nk] : {std::pair{3, 4}, {9, 4}, {4, 3}, {4, 9}}) {
        EXPECT_EQ(ErrorNumber([&] { Keyed(nb, nk, key); }), 5) << nb << "," << nk;
        EXPECT_EQ(ErrorNumber([&] { CRijndael c; (void)c.EncryptData({1}, key, nb, nk); }), 5);
        EXPECT_EQ(ErrorNumber([&] { CRijndael c; (void)c.DecryptData(Bytes(36, 0), key, nb, nk); }), 5);
    }
    EXPECT_EQ(ErrorNumber([&] { Keyed(4, 6, Bytes(23, 0)); }), 5) << "key shorter than Nk";
    EXPECT_EQ(ErrorNumber([&] { CRijndael c; c.gentables(); Bytes b(16); c.encrypt(b); }), 5)
        << "encrypt before gkey";
    EXPECT_EQ(ErrorNumber([&] { CRijndael c = Keyed(6, 4, key); Bytes b(23); c.decrypt(b); }), 5)
        << "block shorter than Nb";
}

TEST(CRijndaelData, OutputIsTheLengthPrefixAndMessageFilledToWholeBlocks) {
    struct Case {
        int nb;
        std::size_t length;
        std::size_t size;
    };
    const Case cases[] = {{4, 1, 16},  {4, 12, 16}, {4, 13, 32}, {4, 28, 32}, {4, 29, 48},
                          {6, 20, 24}, {6, 21, 48}, {8, 28, 32}, {8, 29, 64}};
    for (const auto& c : cases) {
        SCOPED_TRACE("Nb " + std::to_string(c.nb) + " length " + std::to_string(c.length));
        CRijndael r;
        const auto out = r.EncryptData(Bytes(c.length, 'x'), Bytes(16, 1), c.nb, 4);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(out->size(), c.size);
    }
}

TEST(CRijndaelData, EqualsAes128EcbOfTheFramedMessage) {
    struct Case {
        std::size_t length;
        std::size_t passwordLength;
    };
    // 20-byte passwords are cut to 16, 5-byte ones are filled with zeros.
    const Case cases[] = {{3, 16}, {1, 16}, {12, 16}, {13, 16}, {28, 16}, {100, 16},
                          {7, 20}, {7, 5},  {1, 1}};
    std::mt19937 rng(1102);
    for (const auto& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length) + " password " +
                     std::to_string(c.passwordLength));
        const Bytes message = RandomBytes(rng, c.length);
        const Bytes password = RandomBytes(rng, c.passwordLength);
        Bytes key(16, 0);
        std::copy_n(password.begin(), std::min<std::size_t>(16, password.size()), key.begin());
        CRijndael r;
        const auto out = r.EncryptData(message, password, 4, 4);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(ToHex(*out), ToHex(OpenSslAesEcb(key, Framed(message, 16), true)));
    }

    // The first block of a 3-byte message, spelt out.
    const Bytes key = FromHex("2b7e151628aed2a6abf7158809cf4f3c");
    CRijndael r;
    const auto out = r.EncryptData({0xAA, 0xBB, 0xCC}, key, 4, 4);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(ToHex(OpenSslAesEcb(key, *out, false)), "03000000AABBCC000000000000000000");
}

TEST(CRijndaelData, DecryptGivesBackTheMessageForEveryBlockAndKeyLength) {
    std::mt19937 rng(42);
    for (int nb = 4; nb <= 8; ++nb) {
        for (int nk = 4; nk <= 8; ++nk) {
            const std::size_t b = static_cast<std::size_t>(4 * nb);
            for (std::size_t length : {std::size_t{1}, b - 5, b - 4, b - 3, 2 * b, std::size_t{70}}) {
                SCOPED_TRACE("Nb " + std::to_string(nb) + " Nk " + std::to_string(nk) +
                             " length " + std::to_string(length));
                const Bytes message = RandomBytes(rng, length);
                const Bytes password = RandomBytes(rng, 1 + length % 40);
                CRijndael enc;
                const auto cipher = enc.EncryptData(message, password, nb, nk);
                ASSERT_TRUE(cipher.has_value());
                CRijndael dec;
                const auto back = dec.DecryptData(*cipher, password, nb, nk);
                ASSERT_TRUE(back.has_value());
                EXPECT_EQ(*back, message);
            }
        }
    }
}

TEST(CRijndaelData, NoResultForMissingInputOrPartialBlocks) {
    const Bytes password(16, 9);
    CRijndael r;
    EXPECT_FALSE(r.EncryptData({}, password, 4, 4).has_value());
    EXPECT_FALSE(r.EncryptData({1, 2}, {}, 4, 4).has_value());
    EXPECT_FALSE(r.DecryptData({}, password, 4, 4).has_value());
    EXPECT_FALSE(r.DecryptData(Bytes(16, 0), {}, 4, 4).has_value());
    EXPECT_FALSE(r.DecryptData(Bytes(15, 0), password, 4, 4).has_value());
    EXPECT_FALSE(r.DecryptData(Bytes(17, 0), password, 4, 4).has_value());
    EXPECT_FALSE(r.DecryptData(Bytes(16, 0), password, 8, 4).has_value()) << "half a 32-byte block";
}

// Cipher texts with a chosen length prefix, made with OpenSSL; the fill after the message
// is deliberately not zero, since only the prefix is examined.
TEST(CRijndaelData, DecryptChecksTheLengthPrefix) {
    enum class Expect { Bytes, NoResult, Error };
    struct Case {
        std::uint32_t prefix;
        std::size_t blocks;
        Expect expect;
    };
    const Case cases[] = {
        {12, 1, Expect::Bytes},          {13, 1, Expect::NoResult},
        {1, 2, Expect::Bytes},           {28, 2, Expect::Bytes},
        {29, 2, Expect::NoResult},       {0x7FFFFFFF, 2, Expect::NoResult},
        {0, 1, Expect::Error},           {0xFFFFFFFF, 1, Expect::Error},
        {0x80000000, 2, Expect::Error},
    };
    const Bytes key = FromHex("000102030405060708090a0b0c0d0e0f");
    for (const auto& c : cases) {
        SCOPED_TRACE("prefix " + std::to_string(c.prefix) + " blocks " + std::to_string(c.blocks));
        Bytes plain(16 * c.blocks);
        for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<std::uint8_t>(0x40 + i);
        for (int i = 0; i < 4; ++i) plain[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.prefix >> (8 * i));
        const Bytes cipher = OpenSslAesEcb(key, plain, true);
        CRijndael r;
        switch (c.expect) {
        case Expect::Bytes: {
            const auto out = r.DecryptData(cipher, key, 4, 4);
            ASSERT_TRUE(out.has_value());
            EXPECT_EQ(*out, Bytes(plain.begin() + 4, plain.begin() + 4 + c.prefix));
            break;
        }
        case Expect::NoResult:
            EXPECT_FALSE(r.DecryptData(cipher, key, 4, 4).has_value());
            break;
        case Expect::Error:
            EXPECT_EQ(ErrorNumber([&] { (void)r.DecryptData(cipher, key, 4, 4); }), 9);
            break;
        }
    }
}

TEST(CRijndaelData, OneInstanceCarriesNothingFromCallToCall) {
    const Bytes message = {'p', 'r', 'o', 'x', 'y'};
    const Bytes keyA(32, 0x5A);
    const Bytes keyB = FromHex("000102030405060708090a0b0c0d0e0f");
    CRijndael fresh;
    const auto expected = fresh.EncryptData(message, keyB, 4, 4);

    CRijndael reused;
    ASSERT_TRUE(reused.EncryptData(message, keyA, 8, 8).has_value());
    EXPECT_EQ(reused.EncryptData(message, keyB, 4, 4), expected);
    try {
        (void)reused.DecryptData(Bytes(64, 1), keyA, 8, 6);  // whatever it gives, it must not linger
    } catch (const vb::Error&) {
    }
    EXPECT_EQ(reused.DecryptData(*expected, keyB, 4, 4), message);
}

TEST(CRijndaelData, AnotherPasswordNeverGivesBackTheMessage) {
    std::mt19937 rng(7);
    int refused = 0;
    for (int n = 0; n < 50; ++n) {
        const Bytes message = RandomBytes(rng, 1 + static_cast<std::size_t>(n % 28));
        Bytes password = RandomBytes(rng, 16);
        CRijndael r;
        const auto cipher = r.EncryptData(message, password, 4, 4);
        password[static_cast<std::size_t>(n % 16)] ^= 0x01;
        try {
            const auto back = r.DecryptData(*cipher, password, 4, 4);
            if (!back) ++refused;
            else EXPECT_NE(*back, message);
        } catch (const vb::Error&) {
            ++refused;
        }
    }
    EXPECT_GE(refused, 49);
}
