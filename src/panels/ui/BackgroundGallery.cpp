#include "panels/ui/BackgroundGallery.h"

#include "panels/ImageBrowserModel.h"
#include "panels/PictureFolders.h"
#include "panels/ThumbnailCache.h"
#include "panels/ui/ImageBrowserView.h"

#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>

BackgroundGallery::BackgroundGallery(QWidget *parent)
    : QWidget(parent)
    , m_thumbnails(new ThumbnailCache(QSize(256, 256), 0, this))
    , m_model(new ImageBrowserModel(m_thumbnails, this))
    , m_view(new ImageBrowserView(this))
{
    setObjectName(QStringLiteral("background_gallery"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setModel(m_model);
    ImageBrowserView::setZoom(m_view, 0.4);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &BackgroundGallery::selectionDidChange);
}

BackgroundGallery::~BackgroundGallery() = default;

void BackgroundGallery::Load_and_fill_backgrounds(const QString &resourcePath)
{
    const QString folder = QDir(resourcePath).filePath(QStringLiteral("Background"));
    if (!QFileInfo(folder).isDir())
        return;
    m_model->setImages(PictureFolders::pictures(folder));
}

void BackgroundGallery::selectionDidChange()
{
    const QString path = ImageBrowserView::firstSelectedPath(m_view);
    if (path.isEmpty())
        return;
    selected_image = path;
    if (pictureChosen)
        pictureChosen(path);
}
