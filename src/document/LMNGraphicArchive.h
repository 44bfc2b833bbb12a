#pragma once

#include "document/LMNGraphic.h"
#include "document/PropertyListCheck.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <plist/plist.h>

#include <cstdint>
#include <optional>

// The element archive: one property-list dictionary per element, one key per field of the
// element record (the key is the field's name, see LMNGraphicField) plus "class" holding the
// kind's class name. It is the element record of the design file and of the clipboard.
// docs/element-archive.md gives the encoding of every value type.
//
// Reading is forgiving about what is absent and strict about what is present: a missing key
// gives the field's zero or empty value, an unknown key is ignored, an unknown class gives a
// plain LMNGraphic, but a value of the wrong type refuses the whole element with a reason.
//
// Safe on any thread (pictures are encoded with QImage only).
class LMNGraphicArchive
{
public:
    // What an archive is written as. The binary writer keeps every number bit for bit;
    // libplist's XML writer writes a negative zero as "0.0", so for XML a field holding -0 is
    // left out as one holding 0 is (both read back as zero), and saving again gives the same file.
    enum class Form { Binary, Xml };

    // The dictionary of one element; the caller owns it (plist_free).
    static plist_t encode(const LMNGraphic &graphic, Form form = Form::Binary);

    // The element a dictionary describes; nullptr with a reason in *error (may be null) when
    // the node is not a dictionary or a value has the wrong type.
    static GraphicPtr decode(plist_t dictionary, QString *error);

    // A property-list array of the elements' dictionaries, in list order, as binary or XML
    // property-list data. Null entries are left out.
    static QByteArray encodeList(const GraphicList &graphics, bool binary);

    // The elements of property-list data (binary or XML) holding an array of element
    // dictionaries; nothing, with a reason in *error (may be null), when the data is not such
    // an array or any element is refused: a list is taken whole or not at all. Data nested
    // too deeply or expanding past PropertyListCheck's limits is refused before its values
    // are read (PropertyListCheck::read), and a list of more than MaximumElements before any
    // element is built.
    static std::optional<GraphicList> decodeList(const QByteArray &data, QString *error);

    // The largest archive decodeList() reads; designs, pictures included, are far smaller.
    static constexpr qsizetype MaximumSize = qsizetype(96) << 20;
    // The most values (counted as a binary archive expands) and elements a decoded archive
    // may hold, and the most bytes its texts and data may expand to. A value of an element as
    // the editor makes it costs some 130 bytes while it is read, its element included; an
    // element of few values some 1.2 KB: the limits keep reading within 1 GB (pictures apart,
    // see MaximumPictureBytes).
    static constexpr std::uint64_t MaximumValues = 6'000'000;
    static constexpr std::uint64_t MaximumElements = 50'000;
    // How many elements as the editor makes them (of every kind, with their usual keys) hold
    // MaximumValues, as measured (bench/ElementCopyBench.cpp).
    static constexpr int MaximumValuesInElements = 44'000;

    // The limits decodeList() holds data to before its values are read.
    static PropertyListCheck::Limits readingLimits();
    // Why decodeList() refuses `data` without reading its values (empty, too large, expanding
    // to too many values, nested too deeply, damaged), or an empty text when it would read
    // them (PropertyListCheck::any).
    static QString refusalBeforeParsing(const QByteArray &data);
    // The least budget under which reading takes back the pictures of `lists` (element lists
    // in the order a design or archive holds them): a PictureBudget counts their pictures as
    // decode() does, each by the bytes it is stored as (storedPicture(), kept beside it when
    // read), then from its header and then as it will decode (itself, for kept bytes;
    // storedPictureBytes() for a PNG), and this is the most it holds at once. Saving a design
    // asks it, so that what it writes reads back under the same budget to the byte.
    static qint64 picturePeak(const QList<const GraphicList *> &lists);
    // The data a picture field of `graphic` (_image or _barcode_image) is stored as: the bytes
    // it was read from (a photo's own file, or the data it was opened or pasted from) while it
    // is still that picture, else its PNG, encoded once and then remembered by the element
    // (PictureBytes). Nothing for no picture, or when Qt cannot encode it.
    static QByteArray storedPicture(const LMNGraphic &graphic, QImage LMNGraphic::*field);
    // What `picture` takes once stored as PNG and read back: PNG keeps one-bit, 8-bit grey and
    // indexed, 16-bit grey and 16-bit-a-channel pictures as they are; every other format comes
    // back at 32 bits a pixel.
    static qint64 storedPictureBytes(const QImage &picture);
    // What the pictures of a decoded archive may take decoded, unless a PictureBudget is
    // already open.
    static constexpr qint64 MaximumPictureBytes = qint64(512) << 20;

    // The key that holds the class name of the element's kind.
    static const char *const ClassKey;

    // Stored pictures take far more memory decoded than in the file: one of a hundred
    // kilobytes may open as 128 MB. While a budget is open on a thread, decode() counts what
    // each picture takes decoded (from its header before decoding, then as decoded) and
    // refuses the element whose picture would take the pictures past the budget.
    class PictureBudget
    {
    public:
        explicit PictureBudget(qint64 bytes);
        ~PictureBudget();
        PictureBudget(const PictureBudget &) = delete;
        PictureBudget &operator=(const PictureBudget &) = delete;

        // Whether a picture was refused for want of budget.
        bool exceeded() const { return m_exceeded; }
        // The innermost budget open on this thread, or null.
        static PictureBudget *current();
        // Takes `bytes` from what is left; false, and exceeded from then on, when they are
        // not left.
        bool take(qint64 bytes);
        // Counts one picture: four bytes a pixel of `header` (its size as its stored header
        // gives it) before it is decoded, then settled to what `decode()` says the decoded
        // picture takes. False, without decoding, when the first count does not fit; false
        // when the decoded picture does not.
        template<typename Decode>
        bool takePicture(const QSize &header, Decode &&decode)
        {
            const qint64 counted = header.isValid() ? qint64(header.width()) * header.height() * 4 : 0;
            if (!take(counted))
                return false;
            return take(qint64(decode()) - counted);
        }
        // The most that was taken at once: the least budget under which nothing taken so far
        // would have been refused.
        qint64 peak() const { return m_peak; }

    private:
        const qint64 m_bytes;
        qint64 m_left;
        qint64 m_peak = 0;
        bool m_exceeded = false;
        PictureBudget *m_outer;
    };

    // Stored picture data that cannot be read (damaged, or made by another program) costs the
    // picture, not the element. While a PictureLosses is open on a thread, decode() tells it
    // of every element that lost its picture, so that Open and Paste can name them.
    class PictureLosses
    {
    public:
        PictureLosses();
        ~PictureLosses();
        PictureLosses(const PictureLosses &) = delete;
        PictureLosses &operator=(const PictureLosses &) = delete;

        // The innermost collection open on this thread, or null.
        static PictureLosses *current();
        // Names the list the next elements are read from ("the front side"; empty for a list
        // of its own, as pasted), numbering them from 1. decodeList() starts an unnamed one.
        void startList(const QString &listName);
        // One message for each element that lost its picture, such as "Element 3 of the front
        // side (a barcode) lost its picture: it is 5,689 x 6,353 pixels, but its picture data
        // cannot be read (...)."
        const QStringList &messages() const { return m_messages; }

        // Told by decode().
        void lost(GraphicKind kind, const QString &reason);
        void elementRead() { ++m_element; }

    private:
        QString m_list;
        int m_element = 0;
        QStringList m_messages;
        PictureLosses *m_outer;
    };
};
