#include "common/CRijndael.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/vb/Err.h"

namespace {

constexpr const char* kSource = "CRijndael";

void CheckLengths(int nb, int nk) {
    if (nb < 4 || nb > 8 || nk < 4 || nk > 8)
        vb::Raise(vb::err::InvalidProcedureCall, "Block and key lengths must be 4 to 8 words",
                  kSource);
}

}  // namespace

std::uint32_t CRijndael::RotateLeft32(std::uint32_t w, int n) {
    if (n < 0 || n > 31) vb::Raise(vb::err::Overflow, {}, kSource);
    return n == 0 ? w : (w << n) | (w >> (32 - n));
}

std::uint8_t CRijndael::RotateLeftByte(std::uint8_t b, int n) {
    if (n < 0 || n > 7) vb::Raise(vb::err::Overflow, {}, kSource);
    return n == 0 ? b : static_cast<std::uint8_t>((b << n) | (b >> (8 - n)));
}

std::uint32_t CRijndael::PackWord(const std::uint8_t* b) {
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint32_t CRijndael::PackWordAt(const Bytes& b, std::size_t k) {
    return PackWord(b.data() + k);
}

void CRijndael::UnpackWord(std::uint32_t w, std::uint8_t* b) {
    b[0] = static_cast<std::uint8_t>(w);
    b[1] = static_cast<std::uint8_t>(w >> 8);
    b[2] = static_cast<std::uint8_t>(w >> 16);
    b[3] = static_cast<std::uint8_t>(w >> 24);
}

void CRijndael::UnpackWordAt(std::uint32_t w, Bytes& b, std::size_t k) {
    UnpackWord(w, b.data() + k);
}

std::uint8_t CRijndael::GfDouble(std::uint8_t x) {
    auto y = static_cast<std::uint8_t>(x << 1);
    return (x & 0x80) ? static_cast<std::uint8_t>(y ^ 0x1B) : y;
}

std::uint8_t CRijndael::GfMultiply(std::uint8_t x, std::uint8_t y) const {
    if (x == 0 || y == 0) return 0;
    return ptab_[(ltab_[x] + ltab_[y]) % 255];
}

std::uint32_t CRijndael::SubWord(std::uint32_t w) const {
    std::uint8_t b[4];
    UnpackWord(w, b);
    for (auto& v : b) v = fbsub_[v];
    return PackWord(b);
}

std::uint8_t CRijndael::GfDotProduct(std::uint32_t x, std::uint32_t y) const {
    std::uint8_t xb[4];
    std::uint8_t yb[4];
    UnpackWord(x, xb);
    UnpackWord(y, yb);
    std::uint8_t r = 0;
    for (int i = 0; i < 4; ++i) r ^= GfMultiply(xb[i], yb[i]);
    return r;
}

std::uint32_t CRijndael::InvMixColumn(std::uint32_t w) const {
    std::uint32_t m = PackWord(InCo.data());
    std::uint8_t b[4];
    for (int i = 3; i >= 0; --i) {
        b[i] = GfDotProduct(m, w);
        m = RotateLeft32(m, 24);
    }
    return PackWord(b);
}

std::uint8_t CRijndael::SboxValue(std::uint8_t x) const {
    // The multiplicative inverse, then the affine map.
    std::uint8_t y = ptab_[255 - ltab_[x]];
    std::uint8_t z = y;
    for (int i = 0; i < 4; ++i) {
        z = RotateLeftByte(z, 1);
        y ^= z;
    }
    return static_cast<std::uint8_t>(y ^ 0x63);
}

void CRijndael::CopyByteRange(Bytes& dest, std::size_t destStart, const Bytes& src,
                              std::size_t srcStart, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) dest[destStart + i] = src[srcStart + i];
}

void CRijndael::gentables() {
    ptab_[0] = 1;
    ltab_[0] = 0;
    ptab_[1] = 3;
    ltab_[1] = 0;
    ltab_[3] = 1;
    for (int i = 2; i < 256; ++i) {
        ptab_[i] = static_cast<std::uint8_t>(ptab_[i - 1] ^ GfDouble(ptab_[i - 1]));
        ltab_[ptab_[i]] = static_cast<std::uint8_t>(i);
    }

    fbsub_[0] = 0x63;
    rbsub_[0x63] = 0;
    for (int i = 1; i < 256; ++i) {
        std::uint8_t y = SboxValue(static_cast<std::uint8_t>(i));
        fbsub_[i] = y;
        rbsub_[y] = static_cast<std::uint8_t>(i);
    }

    std::uint8_t y = 1;
    for (auto& r : rco_) {
        r = y;
        y = GfDouble(y);
    }

    for (int i = 0; i < 256; ++i) {
        std::uint8_t s = fbsub_[i];
        std::uint8_t f[4] = {GfDouble(s), s, s, static_cast<std::uint8_t>(s ^ GfDouble(s))};
        ftable_[i] = PackWord(f);
        s = rbsub_[i];
        std::uint8_t r[4] = {GfMultiply(0x0E, s), GfMultiply(0x09, s), GfMultiply(0x0D, s),
                             GfMultiply(0x0B, s)};
        rtable_[i] = PackWord(r);
    }
    tablesBuilt_ = true;
}

void CRijndael::gkey(int nb, int nk, const Bytes& key) {
    if (!tablesBuilt_)
        vb::Raise(vb::err::InvalidProcedureCall, "The cipher tables are not built yet", kSource);
    CheckLengths(nb, nk);
    if (key.size() < static_cast<std::size_t>(4 * nk))
        vb::Raise(vb::err::InvalidProcedureCall, "The key is shorter than the key length",
                  kSource);

    Nb_ = nb;
    Nk_ = nk;
    Nr_ = 6 + std::max(nb, nk);

    const int c1 = 1;
    const int c2 = nb < 8 ? 2 : 3;
    const int c3 = nb < 8 ? 3 : 4;
    for (int j = 0; j < nb; ++j) {
        const int m = 3 * j;
        fi_[m] = static_cast<std::uint8_t>((j + c1) % nb);
        fi_[m + 1] = static_cast<std::uint8_t>((j + c2) % nb);
        fi_[m + 2] = static_cast<std::uint8_t>((j + c3) % nb);
        ri_[m] = static_cast<std::uint8_t>((nb + j - c1) % nb);
        ri_[m + 1] = static_cast<std::uint8_t>((nb + j - c2) % nb);
        ri_[m + 2] = static_cast<std::uint8_t>((nb + j - c3) % nb);
    }

    const int n = nb * (Nr_ + 1);
    for (int i = 0; i < nk; ++i) {
        cipherKey_[i] = PackWordAt(key, static_cast<std::size_t>(4 * i));
        fkey_[i] = cipherKey_[i];
    }

    for (int j = nk, r = 0; j < n; j += nk, ++r) {
        // Rotating the little-endian word left by 24 bits is RotWord.
        fkey_[j] = fkey_[j - nk] ^ SubWord(RotateLeft32(fkey_[j - 1], 24)) ^ rco_[r];
        if (nk <= 6) {
            for (int i = 1; i < nk && i + j < n; ++i)
                fkey_[i + j] = fkey_[i + j - nk] ^ fkey_[i + j - 1];
        } else {
            for (int i = 1; i < 4 && i + j < n; ++i)
                fkey_[i + j] = fkey_[i + j - nk] ^ fkey_[i + j - 1];
            if (j + 4 < n) fkey_[j + 4] = fkey_[j + 4 - nk] ^ SubWord(fkey_[j + 3]);
            for (int i = 5; i < nk && i + j < n; ++i)
                fkey_[i + j] = fkey_[i + j - nk] ^ fkey_[i + j - 1];
        }
    }

    // The equivalent inverse cipher: round keys in reverse, inner ones through InvMixColumns.
    for (int j = 0; j < nb; ++j) rkey_[n - nb + j] = fkey_[j];
    for (int i = nb; i < n - nb; i += nb) {
        const int k = n - nb - i;
        for (int j = 0; j < nb; ++j) rkey_[k + j] = InvMixColumn(fkey_[i + j]);
    }
    for (int j = n - nb; j < n; ++j) rkey_[j - n + nb] = fkey_[j];
}

void CRijndael::CheckBlock(const Bytes& buff) const {
    if (Nb_ == 0)
        vb::Raise(vb::err::InvalidProcedureCall, "The key schedule is not built yet", kSource);
    if (buff.size() < static_cast<std::size_t>(4 * Nb_))
        vb::Raise(vb::err::InvalidProcedureCall, "The block is shorter than the block length",
                  kSource);
}

// The rounds of either direction: the decipher is the equivalent inverse cipher, the same
// steps over the inverse key schedule, round table, S-box and row shifts.
void CRijndael::Rounds(Bytes& buff, const KeySchedule& key, const RoundTable& table, const SBox& sbox,
                       const Shifts& shift) const {
    CheckBlock(buff);
    std::array<std::uint32_t, 8> x{};
    std::array<std::uint32_t, 8> y{};
    for (int i = 0; i < Nb_; ++i) x[i] = PackWordAt(buff, static_cast<std::size_t>(4 * i)) ^ key[i];
    int k = Nb_;
    for (int round = 1; round < Nr_; ++round) {
        for (int j = 0; j < Nb_; ++j) {
            const int m = 3 * j;
            y[j] = key[k++] ^ table[x[j] & 0xFF] ^
                   RotateLeft32(table[(x[shift[m]] >> 8) & 0xFF], 8) ^
                   RotateLeft32(table[(x[shift[m + 1]] >> 16) & 0xFF], 16) ^
                   RotateLeft32(table[(x[shift[m + 2]] >> 24) & 0xFF], 24);
        }
        std::swap(x, y);
    }
    for (int j = 0; j < Nb_; ++j) {
        const int m = 3 * j;
        y[j] = key[k++] ^ static_cast<std::uint32_t>(sbox[x[j] & 0xFF]) ^
               RotateLeft32(sbox[(x[shift[m]] >> 8) & 0xFF], 8) ^
               RotateLeft32(sbox[(x[shift[m + 1]] >> 16) & 0xFF], 16) ^
               RotateLeft32(sbox[(x[shift[m + 2]] >> 24) & 0xFF], 24);
    }
    for (int i = 0; i < Nb_; ++i) UnpackWordAt(y[i], buff, static_cast<std::size_t>(4 * i));
}

void CRijndael::encrypt(Bytes& buff) { Rounds(buff, fkey_, ftable_, fbsub_, fi_); }

void CRijndael::decrypt(Bytes& buff) { Rounds(buff, rkey_, rtable_, rbsub_, ri_); }

// Every block of b bytes enciphered or deciphered on its own; the size is whole blocks.
CRijndael::Bytes CRijndael::EachBlock(const Bytes& in, std::size_t b, void (CRijndael::*step)(Bytes&)) {
    Bytes out(in.size(), 0);
    Bytes block(b, 0);
    for (std::size_t p = 0; p < in.size(); p += b) {
        CopyByteRange(block, 0, in, p, b);
        (this->*step)(block);
        CopyByteRange(out, p, block, 0, b);
    }
    return out;
}

CRijndael::Bytes CRijndael::KeyBytes(const Bytes& bytPassword, int sNk) const {
    // A longer password is cut, a shorter one filled with zero bytes.
    Bytes key(static_cast<std::size_t>(4 * sNk), 0);
    const std::size_t n = std::min(key.size(), bytPassword.size());
    if (n > 0) CopyByteRange(key, 0, bytPassword, 0, n);
    return key;
}

std::optional<CRijndael::Bytes> CRijndael::EncryptData(const Bytes& bytMessage,
                                                       const Bytes& bytPassword, int sNb,
                                                       int sNk) {
    if (!ArrayHasBounds(bytMessage) || !ArrayHasBounds(bytPassword)) return std::nullopt;
    CheckLengths(sNb, sNk);

    const auto b = static_cast<std::size_t>(4 * sNb);
    gentables();
    gkey(sNb, sNk, KeyBytes(bytPassword, sNk));

    // The length travels as a signed 32-bit number.
    const std::size_t l = bytMessage.size();
    if (l > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - 4 - b)
        vb::Raise(vb::err::Overflow, "The message is too long to encipher", kSource);
    std::size_t t = l + 4;
    if (t % b != 0) t += b - t % b;

    Bytes work(t, 0);
    UnpackWordAt(static_cast<std::uint32_t>(l), work, 0);
    CopyByteRange(work, 4, bytMessage, 0, l);
    return EachBlock(work, b, &CRijndael::encrypt);
}

std::optional<CRijndael::Bytes> CRijndael::DecryptData(const Bytes& bytIn,
                                                       const Bytes& bytPassword, int sNb,
                                                       int sNk) {
    if (!ArrayHasBounds(bytIn) || !ArrayHasBounds(bytPassword)) return std::nullopt;
    CheckLengths(sNb, sNk);

    const auto b = static_cast<std::size_t>(4 * sNb);
    const std::size_t t = bytIn.size();
    if (t % b != 0) return std::nullopt;

    gentables();
    gkey(sNb, sNk, KeyBytes(bytPassword, sNk));

    const Bytes out = EachBlock(bytIn, b, &CRijndael::decrypt);
    const auto l = static_cast<std::int32_t>(PackWordAt(out, 0));
    if (static_cast<std::int64_t>(l) > static_cast<std::int64_t>(t) - 4) return std::nullopt;
    if (l <= 0)
        vb::Raise(vb::err::SubscriptOutOfRange,
                  "The deciphered length is not above zero: wrong key or damaged cipher text",
                  kSource);
    return Bytes(out.begin() + 4, out.begin() + 4 + l);
}
