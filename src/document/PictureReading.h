#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QIODevice;
class QImageReader;

// The one rule for reading a picture, on every road that reads one: a file the user chose
// (Insert Picture, the picture page, the background, the library, a picture bound to a
// series or a workbook) and the pictures stored in a design or an element archive (Open,
// Paste).
//
// A picture may take, while it is read, what a whole design may take (DesignBytes): Qt's
// image reader is given that limit (install(), once, before the first picture is read) and
// counts as we do, four bytes a pixel at least (more for 16 bits a channel), so the two never
// disagree: a picture is measured from its header before it is decoded, refused with its size
// in pixels and the limit when it would pass it, and measured again once decoded, should its
// header have lied. Design files and archives count their pictures with the same figures
// (readingBytes(); LMNGraphicArchive::PictureBudget), so whatever Save or Copy accepts, Open
// and Paste read back.
//
// A picture is read only as one of the raster kinds the picture choosers offer (Kind): its
// kind is told from its first bytes before any reader sees them, whatever a file's name says,
// and Qt's reader is then held to that kind. Data of any other kind (SVG above all, whose
// reader loads the files it names and would wait for ever on one that never ends) is a
// picture that cannot be read, and the reason says which kinds are read.
//
// Safe on any thread once install() has run (the application and the test programs run it
// before any other thread starts; read() runs it too).
class PictureReading
{
public:
    // What a design may take in memory while it opens, its pictures included
    // (DesignRecordBudget::MaximumOpeningCost); no one picture may take more. A whole number
    // of megabytes, as Qt's limit is given in megabytes.
    static constexpr qint64 DesignBytes = qint64(768) << 20;

    // Gives Qt's image reader our limit. Idempotent; call it before threads read pictures.
    static void install();

    // What a picture of `size` takes while it is read, as Qt's reader counts it against its
    // limit: the bytes of its lines at the format's depth, but never less than 32 bits a
    // pixel (4 bytes a pixel for an unknown format).
    static qint64 readingBytes(const QSize &size, QImage::Format format = QImage::Format_Invalid);

    // Missing: nothing is at the path. NotAFile: something is, but not a regular file (a
    // folder, a FIFO, a device), which is never opened.
    enum class Outcome { Read, Missing, NotAFile, NotAPicture, TooLarge, Damaged };

    // The kinds a picture may be: the raster kinds of the picture choosers.
    enum class Kind { Unknown, Png, Jpeg, Gif, Bmp, Tiff };
    // The kind whose signature `head` (a picture's first bytes, KindBytes are enough) starts
    // with; Unknown for any other.
    static Kind kindOf(QByteArrayView head);
    static constexpr qsizetype KindBytes = 8;

    struct Result
    {
        QImage picture;                   // null unless outcome is Read
        Outcome outcome = Outcome::NotAPicture;
        QSize size;                       // in pixels, as the header gives it (when it does)
        QString reason;                   // why the picture was not read, as a clause ("it is ...")
        // The data the picture was decoded from, whole, so that a design can store the picture
        // as these very bytes (PictureBytes); empty when it was decoded from a file in place.
        QByteArray bytes;
    };

    // A picture file is read into memory and decoded from there, as a design decodes what it
    // stores: the picture is then kept as the file's own bytes. A larger file is decoded from
    // the file and stored re-encoded. The size keeps a picture's bytes, written as base64
    // text, well inside what a design file may hold (96 MB).
    static constexpr qint64 MaximumKeptBytes = qint64(64) << 20;

    // A picture file, turned upright by its orientation tag.
    static Result readFile(const QString &path);
    // The size a picture of `upright` pixels is to be decoded at, or an invalid size for its
    // own.
    using Fit = std::function<QSize(const QSize &upright)>;
    // A picture file, turned upright, decoded straight from the file at the size `fit` gives
    // (stretched to it): a format that can, JPEG above all, decodes at the small size only.
    // Its bytes are not kept.
    static Result readFile(const QString &path, const Fit &fit);
    // A fit into `box`, the aspect ratio kept (a gallery's icon).
    static Fit within(const QSize &box);
    // Stored picture data (a picture file's bytes, or PNG), decoded as its kind and turned
    // upright by its orientation tag, exactly as readFile() decodes the same bytes.
    static Result readData(const QByteArray &data);

    // The size in pixels the header of picture data tells, read as its kind (as it is
    // stored, before its orientation tag turns it); an invalid size for data of no kind read.
    static QSize headerSize(const QByteArray &data);

    // Why a picture of `size` at `format` may not be read, as a clause, or nothing.
    static QString sizeRefusal(const QSize &size, QImage::Format format = QImage::Format_Invalid);

    // The message that tells a user why the picture file at `path` was not taken: names the
    // file and gives the reason (its size in pixels and the limit, when it is too large).
    static QString fileMessage(const QString &path, const Result &result);

private:
    // Sets `reader` on `device` held to the kind of what the device holds, or says why not
    // (`refusal` may be null).
    static bool holdReader(QImageReader &reader, QIODevice *device, Result *refusal);
    // Reads what `reader`, held by holdReader(), holds under the rule above. A scaled size set
    // on the reader is honoured; the picture is measured at the size the reader decodes it at.
    static Result read(QImageReader &reader);
};
