// The per-side profile dialog on a side of 300 elements: opening it (loading the side's
// profile elements and rendering the side) and one Preview (placing the profile on copies of
// the side and rendering them). Goal: under 50 ms each.

#include "BenchMain.h"
#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/ModalSeam.h"
#include "editor/ui/LMNWindowController.h"
#include "profile/ui/ProfileCommands.h"
#include "profile/ui/Show_User_Profile.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

// Answers every modal run with a handler and nothing else.
class Answering : public ModalSeam
{
public:
    std::function<int(QDialog *)> handler = [](QDialog *) { return 0; };
    int showMessage(QWidget *, const Message &) override { return 0; }
    int execDialog(QDialog *dialog) override { return handler(dialog); }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
    bool openUrl(const QUrl &) override { return true; }
};

struct Editor
{
    Editor()
    {
        qputenv("FESTILOOM_RESOURCE_DIR", resources.path().toUtf8());
        previous = ModalSeam::install(&seam);
        seam.handler = [](QDialog *) { return 1; };   // the start screen: nothing chosen, OK
        window = std::make_unique<LMNWindowController>(&document);
        window->windowDidLoad();
        seam.handler = [](QDialog *) { return 0; };
        window->setSelected_Control_Tool(2);
        for (int i = 0; i < 300; ++i) {
            const QString id = i == 0 ? QStringLiteral("Fup_Name") : i == 1 ? QStringLiteral("Fup_Company") : QString();
            window->_graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(i % 200, i % 140, 40, 12),
                                                       QStringLiteral("F"), QStringLiteral("Text %1").arg(i), id);
        }
        Card_Front_Or_Back = 0;
    }
    ~Editor() { ModalSeam::install(previous); }

    QTemporaryDir resources;
    Answering seam;
    ModalSeam *previous = nullptr;
    LMNDocument document;
    std::unique_ptr<LMNWindowController> window;
};

void BM_OpenProfileDialogOn300Elements(benchmark::State &state)
{
    Editor editor;
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.window->profile()->Open_User_Profile_Window(true, QStringLiteral("F")));
}
BENCHMARK(BM_OpenProfileDialogOn300Elements)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_PreviewOn300Elements(benchmark::State &state)
{
    Editor editor;
    editor.seam.handler = [&state](QDialog *dialog) {
        auto *profile = static_cast<Show_User_Profile *>(dialog);
        profile->ui.email_value->setText(QStringLiteral("someone@example.org"));
        for (auto _ : state)
            profile->Preview_Btn_Clicked();
        return 0;
    };
    editor.window->profile()->Open_User_Profile_Window(true, QStringLiteral("F"));
}
BENCHMARK(BM_PreviewOn300Elements)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
