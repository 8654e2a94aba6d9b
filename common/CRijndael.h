// The Rijndael block cipher with block and key lengths of 4 to 8 words, and the two
// whole-message operations that the text cipher uses. With block and key length 4 the block
// transform is AES-128. Both programs build this class, so its output must never change.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CRijndael {
public:
    using Bytes = std::vector<std::uint8_t>;

    CRijndael() = default;

    // Builds the log tables, both S-boxes, the round constants and both round tables.
    void gentables();
    // Sets the block length nb and key length nk (words, 4 to 8) and both key schedules from
    // key bytes 0 to 4*nk-1. gentables must have run before.
    void gkey(int nb, int nk, const Bytes& key);
    // One block in place: bytes 0 to 4*Nb-1 of buff.
    void encrypt(Bytes& buff);
    void decrypt(Bytes& buff);

    // A 4-byte little-endian length, the message and zero fill up to whole blocks, every
    // block enciphered on its own. The password is cut or zero-filled to 4*sNk bytes.
    // An empty message or password counts as an array without bounds: no result.
    std::optional<Bytes> EncryptData(const Bytes& bytMessage, const Bytes& bytPassword, int sNb,
                                     int sNk);
    // The inverse of EncryptData. No result for an empty input or password, an input that is
    // not whole blocks, or a length prefix beyond the deciphered bytes; a length prefix of
    // zero or below (wrong key, damaged input) raises error 9.
    std::optional<Bytes> DecryptData(const Bytes& bytIn, const Bytes& bytPassword, int sNb,
                                     int sNk);

private:
    static std::uint32_t RotateLeft32(std::uint32_t w, int n);
    static std::uint8_t RotateLeftByte(std::uint8_t b, int n);
    static std::uint32_t PackWord(const std::uint8_t* b);
    static std::uint32_t PackWordAt(const Bytes& b, std::size_t k);
    static void UnpackWord(std::uint32_t w, std::uint8_t* b);
    static void UnpackWordAt(std::uint32_t w, Bytes& b, std::size_t k);
    static std::uint8_t GfDouble(std::uint8_t x);
    std::uint8_t GfMultiply(std::uint8_t x, std::uint8_t y) const;
    std::uint32_t SubWord(std::uint32_t w) const;
    std::uint8_t GfDotProduct(std::uint32_t x, std::uint32_t y) const;
    std::uint32_t InvMixColumn(std::uint32_t w) const;
    std::uint8_t SboxValue(std::uint8_t x) const;
    static bool ArrayHasBounds(const Bytes& b) { return !b.empty(); }
    static void CopyByteRange(Bytes& dest, std::size_t destStart, const Bytes& src,
                              std::size_t srcStart, std::size_t count);
    void CheckBlock(const Bytes& buff) const;
    using KeySchedule = std::array<std::uint32_t, 120>;
    using RoundTable = std::array<std::uint32_t, 256>;
    using SBox = std::array<std::uint8_t, 256>;
    using Shifts = std::array<std::uint8_t, 24>;
    void Rounds(Bytes& buff, const KeySchedule& key, const RoundTable& table, const SBox& sbox,
                const Shifts& shift) const;
    Bytes KeyBytes(const Bytes& bytPassword, int sNk) const;
    Bytes EachBlock(const Bytes& in, std::size_t b, void (CRijndael::*step)(Bytes&));

    // The inverse-mixing coefficients, lowest byte first.
    static constexpr std::array<std::uint8_t, 4> InCo{0x0B, 0x0D, 0x09, 0x0E};

    std::array<std::uint8_t, 256> ptab_{};   // antilog: powers of 3
    std::array<std::uint8_t, 256> ltab_{};   // log
    std::array<std::uint8_t, 256> fbsub_{};  // forward S-box
    std::array<std::uint8_t, 256> rbsub_{};  // inverse S-box
    std::array<std::uint8_t, 30> rco_{};     // round constants
    std::array<std::uint32_t, 256> ftable_{};
    std::array<std::uint32_t, 256> rtable_{};
    bool tablesBuilt_ = false;

    int Nb_ = 0;
    int Nk_ = 0;
    int Nr_ = 0;
    std::array<std::uint8_t, 24> fi_{};
    std::array<std::uint8_t, 24> ri_{};
    std::array<std::uint32_t, 8> cipherKey_{};
    std::array<std::uint32_t, 120> fkey_{};
    std::array<std::uint32_t, 120> rkey_{};
};
