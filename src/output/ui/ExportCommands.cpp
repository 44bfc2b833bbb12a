#include "output/ui/ExportCommands.h"

#include "output/OutputGlobals.h"

#include "output/CardExport.h"
#include "data/DataBinding.h"
#include "data/DataGlobals.h"
#include "output/ui/BatchExportSession.h"
#include "data/ui/CardSnapshotTaker.h"
#include "output/ui/ExportWindow.h"
#include "document/LMNRenderingView.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/SavePath.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "document/EditorHost.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace {

const QString kFolderFailure = QStringLiteral(
    "Unable to continue saving barcode image.\n\nEither Destination Drive is inaccessible or there is no free space "
    "available in drive to save barcode image.");

QImage renderSide(EditorHost &editor, int side, double dpi)
{
    const CardSnapshot snapshot = CardSnapshotTaker::take(editor);
    LMNRenderingView view(snapshot.cardSize, side != 0 ? snapshot.backBackground : snapshot.frontBackground,
                          snapshot.drawContext);
    view.setResolution(dpi);
    return view.image_From_Card_Graphics(side != 0 ? snapshot.back : snapshot.front, 0);
}

} // namespace

int ExportCommands::workerCount()
{
    return std::clamp(QThread::idealThreadCount(), 1, 4);
}

void ExportCommands::Export_Button(EditorHost &editor)
{
    if (BatchExportSession::current())
        return;
    ExportWindow *window = ExportWindow::defaultInstance();
    CardSnapshotTaker::checkSources(editor);
    window->reset(Use_Data_Sheet_Values, Use_Excel_Binding_Values);
    if (ModalSeam::instance().execDialog(window) == 0)
        return;
    if (!window->ui.Export_with_batch_chk->isChecked())
        Use_Data_Sheet_Values = false;
    if (!window->ui.Export_with_excel_chk->isChecked())
        Use_Excel_Binding_Values = false;
    DataBinding::Get_total_Card_count();

    const QString extension = window->extension();
    const double dpi = window->resolution();
    const bool combined = window->ui.export_combined_image_chk->isChecked();
    if (!Use_Data_Sheet_Values && !Use_Excel_Binding_Values) {
        const QString chosen = ModalSeam::instance().saveFileName(
            editor.dialogParent(), QStringLiteral("Export"), QString(), QStringLiteral("%1 (*.%1)").arg(extension));
        if (chosen.isEmpty())
            return;
        Export_Single_File(editor, SavePath::withExtension(chosen, extension), true, dpi, combined, chosen);
        return;
    }
    const QString folder = ModalSeam::instance().existingDirectory(editor.dialogParent(), QStringLiteral("Export"), QString());
    if (folder.isEmpty())
        return;
    Export_Batch_File(editor, folder, extension, dpi, combined);
}

bool ExportCommands::Export_Single_File(EditorHost &editor, const QString &path, bool showMessage,
                                        double dpi, bool combined, const QString &askedPath)
{
    const QString backPath = CardExport::Create_Back_Card_Path(path);
    const bool writesBack = export_card_side == QLatin1String("B")
                            || (export_card_side == QLatin1String("BOTH") && !combined);
    const bool writesFront = export_card_side != QLatin1String("B");
    // The save panel asked about the name chosen only; every other file written is asked about.
    QStringList files;
    if (writesBack)
        files.append(backPath);
    if (writesFront)
        files.append(CardExport::Create_Front_Card_Path(path));
    if (!SavePath::mayWrite(files, askedPath.isNull() ? path : askedPath, editor.dialogParent()))
        return false;
    if (export_card_side == QLatin1String("BOTH")) {
        const QImage back = renderSide(editor, 1, dpi);
        const QImage front = renderSide(editor, 0, dpi);
        if (combined)
            return Export_Combined_Image(front, back, CardExport::Create_Front_Card_Path(path), showMessage);
        return Export_File_Function(backPath, back, false)
               && Export_File_Function(CardExport::Create_Front_Card_Path(path), front, showMessage);
    }
    if (export_card_side == QLatin1String("F"))
        return Export_File_Function(CardExport::Create_Front_Card_Path(path), renderSide(editor, 0, dpi),
                                    showMessage);
    return Export_File_Function(backPath, renderSide(editor, 1, dpi), showMessage);
}

bool ExportCommands::Export_File_Function(const QString &path, const QImage &image,
                                          bool showMessage)
{
    QString error;
    if (!CardExport::writePicture(image, path, &error)) {
        Show_Warning_MessageBox(QStringLiteral("%1\n\n%2").arg(path, error));
        return false;
    }
    if (showMessage) {
        Open_Export_Files::showFinished(path, QStringLiteral("Card has been exported successfully."));
    }
    return true;
}

bool ExportCommands::Export_Combined_Image(const QImage &front, const QImage &back,
                                           const QString &path, bool showMessage)
{
    const QImage picture = CardExport::combined(front, back);
    if (picture.isNull()) {
        qWarning("Invalid image");
        return false;
    }
    return Export_File_Function(path, picture, showMessage);
}

bool ExportCommands::Export_Batch_File(EditorHost &editor, const QString &chosenFolder,
                                       const QString &extension, double dpi, bool combined)
{
    const QString folder = CardExport::batchFolder(chosenFolder);
    QString folderError;
    if (!CardExport::makeFolder(folder, &folderError)) {
        Show_Warning_MessageBox(QFileInfo(folder).isSymLink() ? folderError : kFolderFailure);
        return false;
    }
    BatchExportRun::Options options;
    options.folder = folder;
    options.extension = extension;
    options.side = export_card_side;
    options.combined = combined && export_card_side == QLatin1String("BOTH");
    options.dpi = dpi > 0 ? dpi : 300;
    options.workers = workerCount();
    options.stop = &Stop_SMS_Sending_Now;
    options.progress = &curr_barcode_count;
    auto renderer = std::make_shared<const CardRecordRenderer>(CardSnapshotTaker::take(editor));
    auto *session = new BatchExportSession(editor, renderer, options, Total_Batch_Excel_Card);
    session->start();
    return true;
}
