#include "output/ui/Print_Wnd.h"

#include "dialogs/ui/ScrolledPart.h"
#include "dialogs/ui/SharedWindow.h"
#include "dialogs/ui/UiUtilities.h"
#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "output/CupsQueue.h"
#include "output/PrintGlobals.h"
#include "output/ui/PageSetupWindow.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QScrollBar>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <algorithm>
#include <atomic>
#include <exception>

namespace {

// Plain and selected pictures of the nine placements, row by row from the top left.
const char *const kAlignPictures[9][2] = {
    {"top_left", "top_left - sel"},         {"top_center", "top_center - sel"},
    {"top_right", "top_right - sel"},       {"middle_left", "middle_left - sel"},
    {"middle_center", "middle_center_sel"}, {"middle_right", "middle_right - sel"},
    {"bootom_left", "bootom_left - sel"},   {"bootom_center", "bootom_center - sel"},
    {"boottom_right", "boottom_right - sel"},
};

QIcon alignIcon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/align/%1.png").arg(QLatin1String(name)));
}

} // namespace

// The shipped pictures live in a static library (outside any namespace: the macro declares it).
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

Print_Wnd::Print_Wnd(QWidget *parent)
    : QDialog(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    initResources();
    ui.setupUi(this);
    // The settings column scrolls on a low screen; the sheet and the buttons stay in view.
    ScrolledPart::wrap(this, ui.left_layout, Qt::Vertical);
    // The sheet's thumbnail takes the room its column leaves, whatever picture it shows now.
    ui.test_image_view->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ui.test_image_view->installEventFilter(this);
    Apply_Dialog_Look(this);   // reaches the scrolled settings column too
    for (int i = 0; i < 9; ++i) {
        m_plain[i] = alignIcon(kAlignPictures[i][0]);
        m_selected[i] = alignIcon(kAlignPictures[i][1]);
    }

    matrix_card_side = new QButtonGroup(this);
    matrix_card_side->addButton(ui.side_both_rb, 0);
    matrix_card_side->addButton(ui.side_front_rb, 1);
    matrix_card_side->addButton(ui.side_back_rb, 2);
    connect(matrix_card_side, &QButtonGroup::idClicked, this, &Print_Wnd::card_side_CellClick);

    QToolButton *const alignButtons[9] = {ui.top_left_btn, ui.top_center_btn, ui.top_rite_btn,
                                          ui.mid_left_btn, ui.mid_center_btn, ui.mid_rite_btn,
                                          ui.bot_left_btn, ui.bot_center_btn, ui.bot_rite_btn};
    for (int i = 0; i < 9; ++i)
        connect(alignButtons[i], &QToolButton::clicked, this, [this, i] { Alignment_clicked(i + 1); });

    for (QComboBox *list : {ui.Printer_ComboBox, ui.Orient_ComboBox, ui.print_alignment})
        connect(list, &QComboBox::currentIndexChanged, this, [this, list] { comboBoxSelectionDidChange(list); });
    for (QDoubleSpinBox *field : {ui.width_Text, ui.height_Text, ui.horz_mar_Text, ui.vert_mar_Text})
        connect(field, &QDoubleSpinBox::valueChanged, this, &Print_Wnd::fieldChanged);
    for (QSpinBox *field : {ui.Row_Text, ui.Col_Text})
        connect(field, &QSpinBox::valueChanged, this, &Print_Wnd::fieldChanged);
    connect(ui.Show_Margins, &QCheckBox::clicked, this, &Print_Wnd::Show_Margin_Checked);
    connect(ui.Auto_Center_chk_bx, &QCheckBox::clicked, this, &Print_Wnd::Auto_Center_Checked);
    connect(ui.print_with_batch_chk, &QCheckBox::clicked, this, &Print_Wnd::Print_With_Batch_Changed);
    connect(ui.print_with_excel_chk, &QCheckBox::clicked, this, &Print_Wnd::Print_With_Excel_Changed);
    connect(ui.page_setup_btn, &QPushButton::clicked, this, &Print_Wnd::pagesetup);
    connect(ui.Preview_btn, &QPushButton::clicked, this, &Print_Wnd::PreviewButtonPressed);
    connect(ui.Print_btn, &QPushButton::clicked, this, &Print_Wnd::PrintButtonPressed);
    connect(ui.Cancel_btn, &QPushButton::clicked, this, &Print_Wnd::CancelButtonPressed);
    connect(ui.Print_sclview->horizontalScrollBar(), &QScrollBar::valueChanged, ui.PrintView,
            qOverload<>(&QWidget::update));
    connect(ui.Print_sclview->verticalScrollBar(), &QScrollBar::valueChanged, ui.PrintView,
            qOverload<>(&QWidget::update));
}

Print_Wnd::~Print_Wnd()
{
}

Print_Wnd *Print_Wnd::defaultInstance()
{
    return sharedWindow<Print_Wnd>();
}

SheetLayout Print_Wnd::sheetLayout(const QSizeF &paper) const
{
    SheetLayout l = m_layout;
    l.paper = paper;
    l.rows = std::max(l.rows, 1);
    l.cols = std::max(l.cols, 1);
    if (l.align < 1 || l.align > 9)
        l.align = 1;
    return l;
}

int Print_Wnd::Open_Print_Wnd(PrintDesign &design)
{
    m_design = &design;
    try {
        // 1-4: a fresh layout: front side, "U", one cell, no gaps, outlines on.
        loading = true;
        ui.side_front_rb->setChecked(true);
        card_side_str = m_layout.side = QStringLiteral("F");
        m_layout.algn = QStringLiteral("U");
        ui.print_alignment->setCurrentIndex(0);
        ui.print_alignment->setEnabled(false);
        m_layout.autoCenter = false;
        ui.Auto_Center_chk_bx->setChecked(false);
        Show_margin_rect = true;
        ui.Show_Margins->setChecked(true);
        m_layout.rows = m_layout.cols = Total_Label = 1;
        m_layout.gh = m_layout.gv = 0;

        // 5: the card pictures, the side in work kept.
        const int side = Card_Front_Or_Back.load();
        Card_Front_Or_Back = 1;
        back_image = design.sideImage(1);
        Card_Front_Or_Back = 0;
        front_image = design.sideImage(0);
        Card_Front_Or_Back = side;
        m_cardSize = design.cardSize();

        // 6: the data sources and the total.
        m_sources = design.dataSources();
        ui.print_with_batch_chk->setEnabled(m_sources.series);
        ui.print_with_batch_chk->setChecked(m_sources.series);
        ui.print_with_excel_chk->setEnabled(m_sources.spreadsheet);
        ui.print_with_excel_chk->setChecked(m_sources.spreadsheet);
        // One field holds both the typed total and its stepper: a total above the record count
        // stays possible (the surplus cards stay empty).
        Total_Label = m_sources.series || m_sources.spreadsheet ? m_sources.records(true, true) : 1;
        ui.Total_Text->setMaximum(999999);
        ui.Total_Text->setValue(Total_Label);

        // 7-8: one card per cell, one cell, no gaps, top left.
        m_layout.W = float(m_cardSize.width());
        m_layout.H = float(m_cardSize.height());
        ui.width_Text->setValue(Points_to_MM_Convert(m_layout.W));
        ui.height_Text->setValue(Points_to_MM_Convert(m_layout.H));
        ui.Row_Text->setValue(1);
        ui.Col_Text->setValue(1);
        ui.horz_mar_Text->setValue(0);
        ui.vert_mar_Text->setValue(0);
        for (QLabel *margin : {ui.l_mar_id, ui.r_mar_id, ui.t_mar_id, ui.b_mar_id})
            margin->setText(QStringLiteral("0"));
        ui.horz_mar_Text->setEnabled(true);
        ui.vert_mar_Text->setEnabled(true);
        ui.align_Gp_Bx->setEnabled(true);
        m_layout.align = 1;
        Set_Reset_Alignemnt_Image();

        // 9-10: the printers, the paper, the preview.
        fillPrinterList();
        Set_values_From_Printer();
        loading = false;
        Refresh_Preview();
    } catch (const std::exception &e) {
        loading = false;
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        Show_Warning_MessageBox(QString::fromLocal8Bit(e.what()));
        m_design = nullptr;
        return 0;
    }
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    m_design = nullptr;
    return result;
}

void Print_Wnd::fillPrinterList()
{
    const QSignalBlocker blocker(ui.Printer_ComboBox);
    ui.Printer_ComboBox->clear();
    ui.Printer_ComboBox->setCurrentText(QString());
    const QStringList names = QPrinterInfo::availablePrinterNames();
    ui.Printer_ComboBox->addItems(names);
    if (names.isEmpty())
        return;
    // The printer of an earlier opening stays chosen while it exists.
    const int kept = names.indexOf(m_printer->printerName());
    ui.Printer_ComboBox->setCurrentIndex(kept >= 0 ? kept : 0);
    if (kept < 0 && m_printer->outputFileName().isEmpty()) {
        m_printer->setOutputFormat(QPrinter::NativeFormat);
        m_printer->setPrinterName(names.first());
    }
}

void Print_Wnd::Set_values_From_Printer()
{
    QPageLayout layout = m_printer->pageLayout();
    layout.setUnits(QPageLayout::Point);
    ui.Paper_id->setText(layout.pageSize().name());
    m_paper = layout.fullRect(QPageLayout::Point).size();
    ui.PrintView->setFixedSize(qRound(m_paper.width()), qRound(m_paper.height()));
    ui.Size_id->setText(QString::asprintf("%.2f x %.2f", double(Points_to_MM_Convert(float(m_paper.width()))),
                                          double(Points_to_MM_Convert(float(m_paper.height())))));
    {
        const QSignalBlocker blocker(ui.Orient_ComboBox);
        ui.Orient_ComboBox->setCurrentIndex(layout.orientation() == QPageLayout::Portrait ? 0 : 1);
    }
    // The printer's own margins (its PPD's imageable area), not Qt's default page margins, or
    // the wider ones chosen in Page Setup.
    const QMarginsF least = layout.minimumMargins();
    m_layout.L = float(std::max(least.left(), m_chosenMargins.left()));
    m_layout.R = float(std::max(least.right(), m_chosenMargins.right()));
    m_layout.T = float(std::max(least.top(), m_chosenMargins.top()));
    m_layout.B = float(std::max(least.bottom(), m_chosenMargins.bottom()));
    ui.l_mar_id->setText(QString::asprintf("%0.2f", double(Points_to_MM_Convert(m_layout.L))));
    ui.r_mar_id->setText(QString::asprintf("%0.2f", double(Points_to_MM_Convert(m_layout.R))));
    ui.t_mar_id->setText(QString::asprintf("%0.2f", double(Points_to_MM_Convert(m_layout.T))));
    ui.b_mar_id->setText(QString::asprintf("%0.2f", double(Points_to_MM_Convert(m_layout.B))));
    Refresh_Preview();
}

void Print_Wnd::Refresh_Preview()
{
    if (loading)
        return;
    ui.Print_sclview->verticalScrollBar()->setValue(0);
    ui.PrintView->update();
    m_sheetPicture = ui.PrintView->imageRepresentation();
    showSheetThumbnail();
}

void Print_Wnd::showSheetThumbnail()
{
    if (m_sheetPicture.isNull())
        return;
    const QSize room = ui.test_image_view->contentsRect().size().expandedTo(ui.test_image_view->minimumSize());
    ui.test_image_view->setPixmap(
        QPixmap::fromImage(m_sheetPicture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool Print_Wnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.test_image_view && event->type() == QEvent::Resize)
        showSheetThumbnail();
    return QDialog::eventFilter(watched, event);
}

void Print_Wnd::Check_Max_Cell_Value()
{
    if (loading || m_fitting)
        return;
    m_fitting = true;
    SheetLayout request = sheetLayout();
    request.W = MM_to_Points_Convert(float(ui.width_Text->value()));
    request.H = MM_to_Points_Convert(float(ui.height_Text->value()));
    request.gh = MM_to_Points_Convert(float(ui.horz_mar_Text->value()));
    request.gv = MM_to_Points_Convert(float(ui.vert_mar_Text->value()));
    request.rows = ui.Row_Text->value();
    request.cols = ui.Col_Text->value();
    const SheetLayout fit = request.fitted();
    m_layout.W = fit.W;
    m_layout.H = fit.H;
    m_layout.gh = fit.gh;
    m_layout.gv = fit.gv;
    if (fit.cols < ui.Col_Text->value())
        ui.Col_Text->setValue(fit.cols);
    if (fit.rows < ui.Row_Text->value())
        ui.Row_Text->setValue(fit.rows);
    m_layout.rows = fit.rows;
    m_layout.cols = fit.cols;
    if (!m_sources.series && !m_sources.spreadsheet) {
        Total_Label = m_layout.rows * m_layout.cols;
        ui.Total_Text->setValue(Total_Label);
    }
    m_fitting = false;
    Refresh_Preview();
}

void Print_Wnd::fieldChanged()
{
    Check_Max_Cell_Value();
}

void Print_Wnd::comboBoxSelectionDidChange(QComboBox *list)
{
    if (loading)
        return;
    if (list == ui.Printer_ComboBox) {
        m_chosenMargins = QMarginsF();   // another printer: its own margins
        const QString name = list->currentText();
        if (!name.isEmpty()) {
            m_printer->setOutputFormat(QPrinter::NativeFormat);
            m_printer->setPrinterName(name);
        }
        Set_values_From_Printer();
    } else if (list == ui.Orient_ComboBox) {
        const bool portrait = list->currentText() == QLatin1String("Portrait");
        m_printer->setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
        Set_values_From_Printer();
        Check_Max_Cell_Value();
    } else if (list == ui.print_alignment) {
        m_layout.algn = list->currentIndex() == 0 ? QStringLiteral("U") : QStringLiteral("L");
        Check_Max_Cell_Value();
    }
}

void Print_Wnd::Show_Margin_Checked()
{
    Show_margin_rect = ui.Show_Margins->isChecked();
    Refresh_Preview();
}

void Print_Wnd::Auto_Center_Checked()
{
    m_layout.autoCenter = ui.Auto_Center_chk_bx->isChecked();
    ui.horz_mar_Text->setEnabled(!m_layout.autoCenter);
    ui.vert_mar_Text->setEnabled(!m_layout.autoCenter);
    ui.align_Gp_Bx->setEnabled(!m_layout.autoCenter);
    Check_Max_Cell_Value();
}

void Print_Wnd::Alignment_clicked(int position)
{
    m_layout.align = position;
    Set_Reset_Alignemnt_Image();
    Refresh_Preview();
}

void Print_Wnd::Set_Reset_Alignemnt_Image()
{
    QToolButton *const buttons[9] = {ui.top_left_btn, ui.top_center_btn, ui.top_rite_btn,
                                     ui.mid_left_btn, ui.mid_center_btn, ui.mid_rite_btn,
                                     ui.bot_left_btn, ui.bot_center_btn, ui.bot_rite_btn};
    for (int i = 0; i < 9; ++i) {
        const bool selected = i + 1 == m_layout.align;
        buttons[i]->setIcon(selected ? m_selected[i] : m_plain[i]);
        buttons[i]->setChecked(selected);
    }
}

void Print_Wnd::card_side_CellClick(int row)
{
    card_side_str = row == 0 ? QStringLiteral("BOTH") : row == 1 ? QStringLiteral("F") : QStringLiteral("B");
    m_layout.side = card_side_str;
    ui.print_alignment->setEnabled(row == 0);
    Check_Max_Cell_Value();
}

void Print_Wnd::Verify_Card_Count()
{
    if (!m_design)
        return;
    const PrintDesign::DataSources now = m_design->dataSources();
    m_sources = now;
    if (m_sources.series && !ui.print_with_batch_chk->isChecked())
        m_sources.series = false;
    if (m_sources.spreadsheet && !ui.print_with_excel_chk->isChecked())
        m_sources.spreadsheet = false;
    const bool any = ui.print_with_batch_chk->isChecked() || ui.print_with_excel_chk->isChecked();
    Total_Label = any ? m_sources.records(true, true) : 1;
    ui.Total_Text->setValue(Total_Label);
}

QList<QPageSize> Print_Wnd::paperChoices() const
{
    QList<QPageSize> papers;
    if (m_printer->outputFormat() == QPrinter::NativeFormat && !m_printer->printerName().isEmpty())
        papers = QPrinterInfo::printerInfo(m_printer->printerName()).supportedPageSizes();
    if (papers.isEmpty())
        for (const QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::A6, QPageSize::B5,
                                               QPageSize::Letter, QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid})
            papers.append(QPageSize(id));
    return papers;
}

void Print_Wnd::pagesetup()
{
    // Our own page settings rather than Qt's: Qt's opens on the queue's default paper (and its
    // OK sets that paper) instead of the one the window shows.
    PageSetupWindow dialog(this);
    const QPageLayout before = m_printer->pageLayout();
    dialog.setPage(paperChoices(), before.pageSize(), before.orientation(),
                   QMarginsF(m_layout.L, m_layout.T, m_layout.R, m_layout.B));
    if (ModalSeam::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    const QPageSize paper = dialog.paper();
    if (paper.isValid() && !(paper.isEquivalentTo(before.pageSize()) && paper.name() == before.pageSize().name()))
        m_printer->setPageSize(paper);
    if (dialog.orientation() != before.orientation())
        m_printer->setPageOrientation(dialog.orientation());
    m_chosenMargins = dialog.margins();
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::CancelButtonPressed()
{
    done(0);
}

void Print_Wnd::closeEvent(QCloseEvent *event)
{
    done(0);
    event->accept();
}

bool Print_Wnd::batchWanted() const
{
    return (m_sources.series && ui.print_with_batch_chk->isChecked())
           || (m_sources.spreadsheet && ui.print_with_excel_chk->isChecked());
}

void Print_Wnd::Execute_Printing(bool preview)
{
    if (!m_design)
        return;
    if (m_layout.W + m_layout.L + m_layout.R + m_layout.gh > float(m_paper.width())
        || m_layout.H + m_layout.T + m_layout.B + m_layout.gv > float(m_paper.height())) {
        if (Show_YES_NO_MessageBox(QStringLiteral("'Card Size' is bigger than selected 'Paper Size' or drawn label may "
                                                  "be out of margin area.\n\nDo you want to continue?"))
            != 1)
            return;
    }
    Total_Label = ui.Total_Text->value();
    Total_Label_Real = Total_Label;
    if (Total_Label == 0) {
        Show_MessageBox(QStringLiteral("There is no barcode to print."));
        return;
    }

    const int sideInWork = Card_Front_Or_Back.load();
    const bool withRecords = batchWanted();
    std::shared_ptr<const SheetCardSource> cards =
        m_design->cards(m_sources.series && ui.print_with_batch_chk->isChecked(),
                        m_sources.spreadsheet && ui.print_with_excel_chk->isChecked());
    Printing_View view(sheetLayout(), cards, Total_Label_Real, preview);
    m_printer->setFullPage(true);
    m_printer->setDocName(QStringLiteral("Festiloom cards"));

    if (preview) {
        view.numberOfPages();
        if (view.previewLimited())
            Show_MessageBox(QStringLiteral("For Qualitative and Performance reason, previewer shows print previews of "
                                           "only first 50 sheets. However, printing has no such restriction."));
        QPrintPreviewDialog dialog(m_printer.get(), this);
        // Printing goes through this window's Print button (queue checks, every sheet), not
        // through the preview's own print command.
        for (QAction *action : dialog.findChildren<QAction *>())
            if (action->text().remove(QLatin1Char('&')) == QLatin1String("Print"))
                action->setVisible(false);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [&](QPrinter *printer) { m_lastPass = runPass(*printer, view, true, nullptr); });
        ModalSeam::instance().execDialog(&dialog);
    } else {
        const bool toQueue = m_printer->outputFormat() == QPrinter::NativeFormat;
        const QString name = m_printer->printerName();
        int jobsBefore = 0;
        if (toQueue) {
            const CupsQueue::State queue = CupsQueue::state(name);
            if (!queue.exists) {
                Show_Warning_MessageBox(tr("The printer \"%1\" is not available.\n%2").arg(name, queue.reason));
                return;
            }
            if (!queue.accepting) {
                Show_Warning_MessageBox(tr("The printer \"%1\" does not accept jobs.\n%2").arg(name, queue.reason));
                return;
            }
            jobsBefore = CupsQueue::lastJobId(name);
        }
        QString cupsError;
        m_lastPass = runPass(*m_printer, view, false, toQueue ? &cupsError : nullptr);
        if (!m_lastPass.stopped) {
            if (toQueue && CupsQueue::lastJobId(name) <= jobsBefore) {
                const CupsQueue::State queue = CupsQueue::state(name);
                const QString reason = !cupsError.isEmpty() ? cupsError : queue.reason;
                Show_Warning_MessageBox(tr("The printer \"%1\" did not take the job.\n%2").arg(name, reason));
            } else if (!m_lastPass.ended) {
                Show_Warning_MessageBox(tr("The sheets could not be printed."));
            }
        }
    }
    reportSkipped(m_lastPass);
    if (!preview && !m_lastPass.stopped && !m_lastPass.missingValues.isEmpty()) {
        const int printed = m_lastPass.cardsDrawn;
        QString text = printed == 1 ? tr("1 card was printed.") : tr("%1 cards were printed.").arg(printed);
        for (const QString &line : std::as_const(m_lastPass.missingValues))
            text += QLatin1Char('\n') + line + QLatin1Char('.');
        Show_MessageBox(text);
    }
    if (withRecords)
        m_design->restoreFirstRecord();
    Card_Front_Or_Back = sideInWork;
}

Printing_View::Pass Print_Wnd::runPass(QPrinter &printer, Printing_View &view, bool preview, QString *cupsError)
{
    const int sheets = view.numberOfPages();
    std::atomic<int> sheet{0};
    std::atomic<bool> stop{false};
    Printing_View::Pass pass;

    QProgressDialog progress(tr("Sheet 1 of %1").arg(sheets), tr("Stop"), 0, sheets, this);
    progress.setWindowTitle(preview ? tr("Preview") : tr("Print"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    connect(&progress, &QProgressDialog::canceled, this, [&stop] { stop = true; });
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        const int n = sheet.load();
        progress.setLabelText(tr("Sheet %1 of %2").arg(qMin(n + 1, sheets)).arg(sheets));
        progress.setValue(n);
    });
    poll.start(100);

    Printing_View::Options options;
    options.carryOn = [&](int n) {
        sheet = n;
        return !stop.load();
    };
    options.abort = [&printer] { printer.abort(); };
    QEventLoop loop;
    QThread *worker = QThread::create([&] {
        pass = view.paint(printer, options);
        if (cupsError)
            *cupsError = CupsQueue::lastError();
    });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    poll.stop();
    progress.close();
    return pass;
}

void Print_Wnd::reportSkipped(const Printing_View::Pass &pass)
{
    if (pass.recordsSkipped == 0)
        return;
    QStringList reasons = pass.failures.mid(0, 10);
    if (pass.failures.size() > 10)
        reasons.append(QStringLiteral("…"));
    Show_Warning_MessageBox(tr("No cards were printed for %Ln record(s), which could not be made into cards:\n%1",
                               nullptr, pass.recordsSkipped)
                        .arg(reasons.join(QLatin1Char('\n'))));
}
