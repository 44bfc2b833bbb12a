#include "barcode/linear/NKDBarcode.h"

#include "barcode/BarcodeText.h"

namespace {

// The 32-bit steps of a computation done in double precision and stored after each step.
float stepDown(float value, double amount)
{
    return float(double(value) - amount);
}

} // namespace

bool NKDBarcode::initWithContent(const QString &content)
{
    return initWithContent(content, true);
}

bool NKDBarcode::initWithContent(const QString &content, bool printsCaption)
{
    // 13 thousandths of an inch, half an inch high, 6-point caption, no check character.
    return initWithContent(content, printsCaption, 0.936f, 36.0f, 6.0f, -1);
}

bool NKDBarcode::initWithContent(const QString &content, bool printsCaption, float barWidth, float height,
                                 float fontSize, qint8 checkDigit)
{
    if (content.isNull())
        return false;
    setContent(content);
    m_printsCaption = printsCaption;
    m_barWidth = barWidth;
    m_height = height;
    m_captionFontSize = fontSize;
    // Stored before the width is computed, so that a fresh object's 0 is not taken for a check character.
    m_checkDigit = checkDigit;
    calculateWidth();
    return true;
}

void NKDBarcode::setContent(const QString &content)
{
    m_content = content;
    m_contentIs7Bit = true;
    m_contentBytes.clear();
    m_contentBytes.reserve(content.size());
    for (const QChar c : content) {
        if (c.unicode() > 0x7f) {
            m_contentIs7Bit = false;
            m_contentBytes.clear();
            break;
        }
        m_contentBytes.append(char(c.unicode()));
    }
}

QByteArray NKDBarcode::contentBytes(bool *ok) const
{
    if (ok)
        *ok = m_contentIs7Bit;
    return m_contentBytes;
}

void NKDBarcode::calculateWidth()
{
    m_width = float(completeBarcode().size() * double(m_barWidth));
}

bool NKDBarcode::isContentValid() const
{
    bool ok = false;
    const QByteArray bytes = contentBytes(&ok);
    // A symbol that carries nothing is never what the user asked for.
    if (!ok || bytes.isEmpty())
        return false;
    for (const char c : bytes) {
        if (_encodeChar(c).isEmpty())
            return false;
    }
    return true;
}

QByteArray NKDBarcode::_encodeChar(char) const
{
    return QByteArrayLiteral("1010");
}

QByteArray NKDBarcode::barcode() const
{
    bool ok = false;
    const QByteArray bytes = contentBytes(&ok);
    if (!ok)
        return {};
    QByteArray bars;
    bars.reserve(bytes.size() * 16);
    for (const char c : bytes)
        bars += _encodeChar(c);
    if (m_checkDigit != -1)
        bars += _encodeChar(char(m_checkDigit));
    return bars;
}

QByteArray NKDBarcode::completeBarcode() const
{
    return initiator() + barcode() + terminator();
}

void NKDBarcode::setCaptionFontSize(float size)
{
    m_captionFontSize = size;
    m_captionHeight = BarcodeText::bandHeight(m_settings.value_font);
}

void NKDBarcode::setHeaderFontSize(float size)
{
    m_headerFontSize = size;
    m_headerHeight = BarcodeText::bandHeight(m_settings.header_font);
    m_headerWidth = float(BarcodeText::measure(header(), m_settings.header_font, BarcodeText::kHeaderFooterKerning).width());
}

void NKDBarcode::setFooterFontSize(float size)
{
    m_footerFontSize = size;
    m_footerHeight = BarcodeText::bandHeight(m_settings.footer_font);
    m_footerWidth = float(BarcodeText::measure(footer(), m_settings.footer_font, BarcodeText::kHeaderFooterKerning).width());
}

QString NKDBarcode::leftCaption() const
{
    return content().left(digitsToLeft());
}

QString NKDBarcode::rightCaption() const
{
    const int n = digitsToRight();
    return n > 0 ? content().right(n) : QString();
}

QString NKDBarcode::caption() const
{
    const int left = digitsToLeft();
    const int right = digitsToRight();
    const QString text = content();
    if (left == 0 && right == 0)
        return text;
    return text.mid(left, qMax(0, int(text.size()) - left - right));
}

float NKDBarcode::barBottom(int) const
{
    double bands = 0;
    if (printsCaption())
        bands += double(m_captionHeight) * 72.0;
    if (printsHeader())
        bands += double(m_headerHeight) * 72.0;
    if (printsFooter())
        bands += double(m_footerHeight) * 72.0;
    return float(bands);
}

float NKDBarcode::barTop(int) const
{
    // The inverse of BarcodeSizes::Set_Barcode_Height: both must stay in step.
    float length = height();
    if (printsCaption()) {
        length = stepDown(length, double(m_captionHeight) * 72.0);
        length = stepDown(length, m_settings.value_margin);
    }
    if (printsHeader()) {
        length = stepDown(length, double(m_headerHeight) * 72.0);
        length = stepDown(length, m_settings.header_margin);
    }
    if (printsFooter()) {
        length = stepDown(length, double(m_footerHeight) * 72.0);
        length = stepDown(length, m_settings.footer_margin);
    }
    return stepDown(length, 2.0 * m_settings.TB_margin);
}

QString NKDBarcode::checkDigitText() const
{
    return m_checkDigit == -1 ? QString() : QString(QChar(uchar(m_checkDigit)));
}

QString NKDBarcode::description() const
{
    return QStringLiteral("\n\tBarcode Class: %1\n\tContent: %2\n\tCheck Digit:%3\n\tWidth:%4\n\tHeight:%5\n\tBar Width:%6"
                          "\n\tCaption Font Size:%7\n\tCaption Height:%8")
        .arg(className(), content(), QString(QChar(uchar(m_checkDigit))))
        .arg(double(width()), 0, 'f', 6)
        .arg(double(height()), 0, 'f', 6)
        .arg(double(barWidth()), 0, 'f', 6)
        .arg(double(m_captionFontSize), 0, 'f', 6)
        .arg(double(m_captionHeight), 0, 'f', 6);
}

std::unique_ptr<NKDBarcode> NKDBarcode::copy() const
{
    std::unique_ptr<NKDBarcode> other = clone();
    other->m_header.clear();
    other->m_footer.clear();
    other->m_printsHeader = false;
    other->m_printsFooter = false;
    other->m_captionHeight = other->m_headerHeight = other->m_footerHeight = 0.0f;
    other->m_headerWidth = other->m_footerWidth = 0.0f;
    other->m_headerFontSize = other->m_footerFontSize = 0.0f;
    other->initWithContent(content(), printsCaption(), barWidth(), height(), m_captionFontSize, checkDigit());
    other->calculateWidth();
    return other;
}
