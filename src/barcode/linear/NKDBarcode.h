#pragma once

#include "barcode/BarcodeSettings.h"

#include <QByteArray>
#include <QString>

#include <memory>

// One linear or postal barcode: the value to encode, its caption, header and footer and its
// sizes. The value becomes a bar string, one character per module: '1' a dark module (bar),
// '0' a light one. Symbologies subclass it and override a few operations.
//
// A barcode is made in two steps: construct the class, then initWithContent(); a false answer
// (no content) means there is no barcode. isContentValid() then says whether the symbology can
// encode the value; only valid barcodes are drawn.
//
// Lengths: points, except the three band heights, which are held in inches.
// Each object keeps its own copy of the settings it reads, so objects can be generated and
// drawn on several threads at once.
class NKDBarcode
{
public:
    NKDBarcode() = default;
    virtual ~NKDBarcode() = default;

    // Name of the class, for description().
    virtual QString className() const { return QStringLiteral("NKDBarcode"); }

    // The light margin in points readers need on each side of the bars: ten modules unless the
    // symbology's standard asks for another.
    virtual double quietZone() const { return 10.0 * double(barWidth()); }
    // Whether the bar string and width already hold the quiet zone (EAN and UPC, whose caption
    // digits stand in it), so that none is added beside the bars.
    virtual bool quietZoneInBars() const { return false; }

    // Initialisers. The designated one stores content, caption flag, bar width, height and
    // caption font size, computes the width, then stores the check digit. A null content
    // gives false: no barcode.
    bool initWithContent(const QString &content);
    virtual bool initWithContent(const QString &content, bool printsCaption);
    virtual bool initWithContent(const QString &content, bool printsCaption, float barWidth, float height, float fontSize,
                                 qint8 checkDigit);

    // The settings the model reads (fonts for the text bands, margins for the bar length).
    void setSettings(const BarcodeSettings &settings) { m_settings = settings; }
    const BarcodeSettings &settings() const { return m_settings; }
    BarcodeSettings &settings() { return m_settings; }

    virtual void setFooter(const QString &footer) { m_footer = footer; }
    virtual void setHeader(const QString &header) { m_header = header; }
    virtual void setContent(const QString &content);
    virtual void setHeight(float height) { m_height = height; }
    virtual void setWidth(float width) { m_width = width; }
    virtual void calculateWidth();
    virtual void setCheckDigit(qint8 checkDigit) { m_checkDigit = checkDigit; }
    virtual void setPrintsCaption(bool prints) { m_printsCaption = prints; }
    virtual void setPrintsHeader(bool prints) { m_printsHeader = prints; }
    virtual void setPrintsFooter(bool prints) { m_printsFooter = prints; }
    virtual void setBarWidth(float barWidth) { m_barWidth = barWidth; }

    virtual QString content() const { return m_content; }
    virtual float height() const { return m_height; }
    virtual float width() const { return m_width; }
    virtual qint8 checkDigit() const { return m_checkDigit; }
    virtual bool printsCaption() const { return m_printsCaption; }
    virtual bool printsHeader() const { return m_printsHeader; }
    virtual bool printsFooter() const { return m_printsFooter; }
    virtual float barWidth() const { return m_barWidth; }

    // Stores the total picture height as it is, whatever the symbology does with setHeight()
    // (Japan Post keeps its symbol size there). The size computation uses it.
    void storePictureHeight(float height) { m_height = height; }

    virtual bool isSizeValid() const { return true; }
    virtual void generateChecksum() {}
    virtual bool isContentValid() const;
    virtual QByteArray initiator() const { return {}; }
    virtual QByteArray terminator() const { return {}; }
    // Module pattern of one character; empty when the character cannot be encoded.
    virtual QByteArray _encodeChar(char c) const;
    // Patterns of the content (and check character) without start and stop.
    virtual QByteArray barcode() const;
    // The whole bar string: initiator, barcode, terminator.
    QByteArray completeBarcode() const;

    void setCaptionHeight(float inches) { m_captionHeight = inches; }
    void setHeaderHeight(float inches) { m_headerHeight = inches; }
    void setFooterHeight(float inches) { m_footerHeight = inches; }
    void setHeaderWidth(float points) { m_headerWidth = points; }
    void setFooterWidth(float points) { m_footerWidth = points; }
    float captionHeight() const { return m_captionHeight; }
    float headerHeight() const { return m_headerHeight; }
    float footerHeight() const { return m_footerHeight; }
    float headerWidth() const { return m_headerWidth; }
    float footerWidth() const { return m_footerWidth; }

    // Store the size; the band heights follow the settings' fonts (1.35 x cap height).
    void setCaptionFontSize(float size);
    void setHeaderFontSize(float size);
    void setFooterFontSize(float size);
    float caption_fontSize() const { return m_captionFontSize; }
    float header_fontSize() const { return m_headerFontSize; }
    float footer_fontSize() const { return m_footerFontSize; }

    // Leading and trailing characters of the content printed apart from the main caption.
    virtual int digitsToLeft() const { return 0; }
    virtual int digitsToRight() const { return 0; }
    virtual QString leftCaption() const;
    virtual QString rightCaption() const;
    QString header() const { return m_header; }
    QString footer() const { return m_footer; }
    // The caption under the bars; groups are separated by tab characters.
    virtual QString caption() const;

    // Lower and upper end of the bar that ends at module n, in points above the common bar
    // baseline. Only the four-state codes draw from barBottom() (see drawsFromBarBottom()).
    virtual float barBottom(int module) const;
    virtual float barTop(int module) const;
    // Whether the renderer places each bar from barBottom() up to barTop().
    virtual bool drawsFromBarBottom() const { return false; }
    virtual float firstBar() const { return 0.0f; }
    virtual float lastBar() const { return m_width - m_barWidth; }

    QString description() const;
    bool isEqual(const NKDBarcode &other) const { return content() == other.content(); }
    // A barcode of the same class from content, caption flag, bar width, height, caption font
    // size and check digit; header, footer, their flags and the bands are not copied.
    std::unique_ptr<NKDBarcode> copy() const;

protected:
    NKDBarcode(const NKDBarcode &) = default;
    NKDBarcode &operator=(const NKDBarcode &) = default;
    // An exact copy of this object, of its own class.
    virtual std::unique_ptr<NKDBarcode> clone() const { return std::unique_ptr<NKDBarcode>(new NKDBarcode(*this)); }

    // The content as 7-bit text; empty with ok = false when it holds any other character.
    QByteArray contentBytes(bool *ok = nullptr) const;
    // The check digit as a character for captions; empty when there is none.
    QString checkDigitText() const;

    QString m_footer;
    QString m_header;
    QString m_content;
    float m_height = 0.0f;
    float m_width = 0.0f;
    qint8 m_checkDigit = -1;
    bool m_printsCaption = false;
    bool m_printsHeader = false;
    bool m_printsFooter = false;
    float m_barWidth = 0.0f;
    float m_captionHeight = 0.0f;
    float m_headerHeight = 0.0f;
    float m_footerHeight = 0.0f;
    float m_headerWidth = 0.0f;
    float m_footerWidth = 0.0f;
    float m_captionFontSize = 0.0f;
    float m_headerFontSize = 0.0f;
    float m_footerFontSize = 0.0f;

    BarcodeSettings m_settings;

private:
    QByteArray m_contentBytes;
    bool m_contentIs7Bit = true;
};

// One line for each concrete class: its exact copy.
#define NKD_BARCODE_CLONE(Class)                                                                                      \
protected:                                                                                                             \
    std::unique_ptr<NKDBarcode> clone() const override { return std::unique_ptr<NKDBarcode>(new Class(*this)); }      \
                                                                                                                       \
public:
