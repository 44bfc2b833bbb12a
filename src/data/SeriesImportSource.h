#pragma once

// The sources of the series import wizard, without widgets: text, RTF and CSV files, typed
// text and picture folders, each turned into the list of values to write.

#include <QByteArray>
#include <QString>
#include <QStringList>

class SeriesImportSource
{
public:
    // One value cleaned: every "\", "{" and "}" removed, then trimmed.
    static QString chk_and_insert_validation(const QString &text);

    // Text of a file's bytes: by its byte-order mark (UTF-8, UTF-16, UTF-32), else strict
    // UTF-8, else Windows-1252.
    static QString decodeText(const QByteArray &bytes);
    // The plain text of an RTF document: paragraphs and line breaks become "\n"; font, colour,
    // style, information and picture groups and ignorable destinations are skipped. False when
    // the bytes are not RTF.
    static bool rtfToText(const QByteArray &bytes, QString *text);

    // The cleaned, non-empty values of a text: one per line (CR, LF or CRLF).
    static QStringList lineValues(const QString &content);
    // The cleaned, non-empty fields of CSV content (RFC 4180: records end at CR, LF or CRLF
    // outside quotes; quoted fields keep their commas, line breaks and doubled quotes).
    static QStringList csvValues(const QString &content);

    // The values of a .txt, .rtf or .csv file (by its extension). On failure the list is
    // empty and `errorMessage` holds what to tell the user.
    static QStringList readTextFile(const QString &path, QString *errorMessage);

    // The lines of typed text as the wizard writes them to a file: the whole text trimmed,
    // then every non-empty line as typed.
    static QStringList pastedLines(const QString &text);

    // The full paths of the pictures directly inside a folder, by name. False when the folder
    // cannot be read.
    static bool pictureFiles(const QString &folder, QStringList *paths);
    static const QStringList &pictureExtensions();
};
