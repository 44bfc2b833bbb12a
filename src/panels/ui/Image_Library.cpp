#include "panels/ui/Image_Library.h"

#include "dialogs/ui/UiUtilities.h"

#include "dialogs/ui/SharedWindow.h"
#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "panels/ImageBrowserModel.h"
#include "panels/PictureFolders.h"
#include "panels/ThumbnailCache.h"
#include "panels/ui/ImageBrowserView.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

Image_Library::Image_Library(QWidget *parent)
    : QDialog(parent)
    , m_thumbnails(new ThumbnailCache(QSize(256, 256), 0, this))
    , m_model(new ImageBrowserModel(m_thumbnails, this))
{
    ui.setupUi(this);
    setStyleSheet(QStringLiteral("Image_Library { background: rgb(241, 244, 250); }"));
    ImageBrowserView::setUp(ui.imageBrowser);
    ui.imageBrowser->setModel(m_model);
    connect(ui.imageBrowser->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Image_Library::selectionDidChange);
    connect(ui.cat_cmbo_bx, &QComboBox::activated, this, &Image_Library::categoryChosen);
    connect(ui._zoom_slider, &QSlider::valueChanged, this,
            [this](int value) { ImageBrowserView::setZoom(ui.imageBrowser, value / 100.0); });
    connect(ui.ok_btn, &QPushButton::clicked, this, &Image_Library::OK_Clicked);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Image_Library::Cancel_Clicked);
    Apply_Dialog_Keys(this);
}

Image_Library::~Image_Library() = default;

Image_Library *Image_Library::defaultInstance()
{
    return sharedWindow<Image_Library>();
}

int Image_Library::Open_Library_Window()
{
    try {
        setResult(0);
        m_model->clear();
        ui._zoom_slider->setValue(40);
        ImageBrowserView::setZoom(ui.imageBrowser, 0.4);
        const bool elementPictures = control_or_BG == QLatin1String("C");
        setWindowTitle(elementPictures ? QStringLiteral("Image Library") : QStringLiteral("Background Image Library"));
        ui.cat_cmbo_bx->setVisible(elementPictures);
        ui.category_label->setVisible(elementPictures);
        if (elementPictures) {
            Fill_Combobox();
            categoryChosen();
        } else {
            Load_and_fill_backgrounds();
        }
        // The last choice stands only while it is listed; then it is shown selected.
        const int row = m_model->rowOfPath(selected_image);
        if (row >= 0)
            ui.imageBrowser->setCurrentIndex(m_model->index(row));
        else
            selected_image.clear();
        const int result = ModalSeam::instance().execDialog(this);
        hide();
        return result == QDialog::Accepted ? 1 : 0;
    } catch (const std::exception &error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
        return 0;
    }
}

void Image_Library::Fill_Combobox()
{
    ui.cat_cmbo_bx->clear();
    for (const PictureFolders::Category &category : PictureFolders::categories(Resource_Path))
        ui.cat_cmbo_bx->addItem(category.title, category.folder);
    if (ui.cat_cmbo_bx->count() > 0)
        ui.cat_cmbo_bx->setCurrentIndex(0);
}

void Image_Library::categoryChosen()
{
    // The item keeps the folder's own name behind its capitalised title.
    const QString folder = ui.cat_cmbo_bx->currentData().toString();
    if (folder.isEmpty())
        return;
    const QString path = QDir(QDir(Resource_Path).filePath(QStringLiteral("LibraryImage"))).filePath(folder);
    if (!QFileInfo(path).isDir())
        return;
    m_model->setImages(PictureFolders::pictures(path));
}

void Image_Library::Load_and_fill_backgrounds()
{
    const QString folder = QDir(Resource_Path).filePath(QStringLiteral("Background"));
    if (!QFileInfo(folder).isDir())
        return;
    m_model->setImages(PictureFolders::pictures(folder));
}

void Image_Library::selectionDidChange()
{
    const QString path = ImageBrowserView::firstSelectedPath(ui.imageBrowser);
    if (!path.isEmpty())
        selected_image = path;
}

void Image_Library::OK_Clicked()
{
    if (!selected_image.isEmpty() && QFileInfo(selected_image).isFile()) {
        accept();
        return;
    }
    Show_MessageBox(QStringLiteral("Please select image."));
}

void Image_Library::Cancel_Clicked()
{
    selected_image.clear();
    reject();
}
