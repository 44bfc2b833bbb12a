// From nothing to the start screen on the screen: the editor window made, its resource folder
// checked, its lists filled and the start screen asked to run. The start screen is answered
// at once (cancelled), so the time is the application's, not the user's.

#include "BenchMain.h"
#include "document/LMNDocument.h"
#include "dialogs/ui/ModalSeam.h"
#include "editor/ui/LMNWindowController.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Shows each dialog long enough to be laid out and painted once, then closes it.
class ShowAndClose : public ModalSeam
{
public:
    int showMessage(QWidget *, const Message &) override { return 0; }
    int execDialog(QDialog *dialog) override
    {
        dialog->show();
        QCoreApplication::processEvents();
        dialog->hide();
        return QDialog::Rejected;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
    bool openUrl(const QUrl &) override { return true; }
};

void BM_StartUpToStartScreen(benchmark::State &state)
{
    QTemporaryDir resources;
    qputenv("FESTILOOM_RESOURCE_DIR", resources.path().toUtf8());
    ShowAndClose seam;
    ModalSeam *previous = ModalSeam::install(&seam);
    {
        // The first start seeds the resource folder; every later start finds it ready.
        LMNDocument document;
        LMNWindowController window(&document);
        window.windowDidLoad();
    }
    for (auto _ : state) {
        LMNDocument document;
        LMNWindowController window(&document);
        benchmark::DoNotOptimize(window.windowDidLoad());
    }
    ModalSeam::install(previous);
}
BENCHMARK(BM_StartUpToStartScreen)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
