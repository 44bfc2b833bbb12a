#include "barcode/ReedSolomon.h"

#include <algorithm>

namespace {
constexpr GaloisField256 kQrField(0x11D);
constexpr GaloisField256 kDataMatrixField(0x12D);
}

const GaloisField256 &GaloisField256::qrCode()
{
    return kQrField;
}

const GaloisField256 &GaloisField256::dataMatrix()
{
    return kDataMatrixField;
}

ReedSolomonEncoder::ReedSolomonEncoder(const GaloisField256 &field, int ecCount, int firstRoot, Products products)
    : m_field(field)
    , m_ecCount(std::max(ecCount, 0))
{
    // generator[i] is the coefficient of x^i; start from 1 and multiply by (x - alpha^r) for each root.
    std::vector<int> generator(std::size_t(m_ecCount) + 1, 0);
    generator[0] = 1;
    for (int k = 0; k < m_ecCount; ++k) {
        const int root = field.exp(firstRoot + k);
        for (int i = k + 1; i > 0; --i)
            generator[i] = generator[i - 1] ^ field.multiply(generator[i], root);
        generator[0] = field.multiply(generator[0], root);
    }
    // Leading coefficient generator[n] is 1; keep the rest highest order first.
    m_generatorLog.resize(std::size_t(m_ecCount));
    for (int i = 0; i < m_ecCount; ++i) {
        const int c = generator[m_ecCount - 1 - i];
        m_generatorLog[i] = c == 0 ? -1 : field.log(c);
    }
    if (products == ProductTable && m_ecCount > 0) {
        m_products.assign(std::size_t(256) * std::size_t(m_ecCount), 0);
        for (int b = 1; b < 256; ++b)
            for (int i = 0; i < m_ecCount; ++i)
                if (m_generatorLog[i] >= 0)
                    m_products[std::size_t(b) * m_ecCount + i] = std::uint8_t(field.expSum(field.log(b), m_generatorLog[i]));
    }
}

void ReedSolomonEncoder::encode(const std::uint8_t *data, int length, std::uint8_t *ec) const
{
    const int n = m_ecCount;
    if (n == 0)
        return;
    std::fill(ec, ec + n, 0);
    if (!m_products.empty()) {
        // Shift the remainder one codeword and add the feedback's multiple of the generator in
        // one sweep.
        for (int i = 0; i < length; ++i) {
            const std::uint8_t *row = m_products.data() + std::size_t(data[i] ^ ec[0]) * n;
            for (int j = 0; j + 1 < n; ++j)
                ec[j] = ec[j + 1] ^ row[j];
            ec[n - 1] = row[n - 1];
        }
        return;
    }
    const int *g = m_generatorLog.data();
    for (int i = 0; i < length; ++i) {
        const int feedback = data[i] ^ ec[0];
        std::copy(ec + 1, ec + n, ec);
        ec[n - 1] = 0;
        if (feedback == 0)
            continue;
        const int logFeedback = m_field.log(feedback);
        for (int j = 0; j < n; ++j) {
            if (g[j] >= 0)
                ec[j] ^= std::uint8_t(m_field.expSum(logFeedback, g[j]));
        }
    }
}
