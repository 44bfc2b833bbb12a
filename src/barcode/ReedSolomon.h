#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Reed-Solomon error correction over GF(2^8), shared by the QR Code and DataMatrix encoders.
// The two symbologies use different field polynomials and generator roots; both fields are
// built once at compile time and are read-only afterwards, so encoders on any thread share them.
class GaloisField256
{
public:
    // `polynomial` is the field's primitive polynomial including the x^8 term (0x11D, 0x12D).
    constexpr explicit GaloisField256(int polynomial)
    {
        int value = 1;
        for (int i = 0; i < 255; ++i) {
            m_exp[i] = std::uint8_t(value);
            m_exp[i + 255] = std::uint8_t(value);
            m_log[value] = std::uint8_t(i);
            value <<= 1;
            if (value & 0x100)
                value ^= polynomial;
        }
        m_exp[510] = m_exp[0];
        m_log[0] = 0; // never read: zero has no logarithm
    }

    constexpr int exp(int power) const { return m_exp[power % 255]; }
    constexpr int log(int value) const { return m_log[value]; }
    constexpr int multiply(int a, int b) const
    {
        return (a == 0 || b == 0) ? 0 : m_exp[m_log[a] + m_log[b]];
    }
    // alpha^(logA + logB) for logarithms below 255 each, without a modulo.
    constexpr int expSum(int logA, int logB) const { return m_exp[logA + logB]; }

    // x^8 + x^4 + x^3 + x^2 + 1 (ISO/IEC 18004).
    static const GaloisField256 &qrCode();
    // x^8 + x^5 + x^3 + x^2 + 1 (ISO/IEC 16022).
    static const GaloisField256 &dataMatrix();

private:
    std::array<std::uint8_t, 511> m_exp{};
    std::array<std::uint8_t, 256> m_log{};
};

// Computes the error correction codewords of one block: the remainder of data(x) * x^n divided
// by the generator (x - alpha^first)(x - alpha^(first+1))...(x - alpha^(first+n-1)).
class ReedSolomonEncoder
{
public:
    // ProductTable works out the generator's products with every byte up front (256 x ecCount
    // bytes): worth it for an encoder that is kept and used for many blocks.
    enum Products { NoProductTable, ProductTable };

    ReedSolomonEncoder(const GaloisField256 &field, int ecCount, int firstRoot, Products products = NoProductTable);

    int ecCount() const { return m_ecCount; }
    // Writes ecCount() codewords, highest-order first, to `ec`.
    void encode(const std::uint8_t *data, int length, std::uint8_t *ec) const;

private:
    const GaloisField256 &m_field;
    int m_ecCount;
    // Generator coefficients below the leading 1, highest order first, as logarithms
    // (-1 for a zero coefficient).
    std::vector<int> m_generatorLog;
    // With ProductTable: row b holds the generator coefficients times b, highest order first.
    std::vector<std::uint8_t> m_products;
};
