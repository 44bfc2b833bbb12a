#pragma once

#include <QImage>
#include <QString>

class EditorHost;

// The Export command of the editor window and the single-card export. A batch export goes
// on in a BatchExportSession after Export_Button returns.
class ExportCommands
{
public:
    // Opens the export sheet, then asks for a file (no data source in use) or a folder and
    // exports to it.
    static void Export_Button(EditorHost &editor);

    // Writes the design as it shows now for export_card_side to `path` (and the back beside
    // it) at `dpi`. With `showMessage`, the export-finished panel follows success. Each
    // existing file to be written other than `askedPath` (the one the save chooser asked
    // about; `path` when null) is asked about first. False when something was not written
    // (the user was told why, or would not replace a file).
    static bool Export_Single_File(EditorHost &editor, const QString &path, bool showMessage,
                                   double dpi = 300, bool combined = false, const QString &askedPath = QString());
    // Starts a batch export into "QOVA Festiloom" inside `chosenFolder`; false when that
    // folder cannot be made (the user was told).
    static bool Export_Batch_File(EditorHost &editor, const QString &chosenFolder, const QString &extension,
                                  double dpi, bool combined);

    // Writes one picture; with `showMessage` shows the export-finished panel after success.
    static bool Export_File_Function(const QString &path, const QImage &image,
                                     bool showMessage);
    // Writes front above back as one picture; "Invalid image" in the log when either is missing.
    static bool Export_Combined_Image(const QImage &front, const QImage &back,
                                      const QString &path, bool showMessage);

    // The number of workers a batch run uses.
    static int workerCount();
};
