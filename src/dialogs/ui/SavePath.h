#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The file a save writes for the name the user gave, and the question before an existing file
// is replaced. A save chooser asks about the very path it returns; the program asks about
// every other file it is about to write over.
class SavePath
{
public:
    // `chosen` as it is when it ends in ".<extension>" in any letter case, else with it added.
    static QString withExtension(const QString &chosen, const QString &extension);

    // Asks whether to replace the existing file `path`. True for Yes; No (the default) or a
    // closed box keeps the file.
    static bool mayReplace(const QString &path, QWidget *parent = nullptr);

    // True when every file of `files` may be written: each one that exists and is not
    // `askedPath` (the one the chooser asked about) is asked about, in order, until one is
    // refused.
    static bool mayWrite(const QStringList &files, const QString &askedPath, QWidget *parent = nullptr);

    // A save chooser for a file of one format: the path to write, with the format's extension,
    // or empty when the chooser was cancelled or the user would not replace the file there.
    static QString choose(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                          const QString &extension);
};
