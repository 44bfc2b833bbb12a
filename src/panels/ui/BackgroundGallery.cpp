#include "panels/ui/BackgroundGallery.h"

#include "panels/ImageBrowserModel.h"
#include "panels/PictureFolders.h"
#include "panels/ThumbnailCache.h"
#include "panels/ui/ImageBrowserView.h"

#include <QDir>
#include <QFileInfo>
#include <QEvent>
#include <QVBoxLayout>

#include <algorithm>

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
    // A scroll bar that came and went with the thumbnails' size would resize them again.
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->viewport()->installEventFilter(this);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &BackgroundGallery::selectionDidChange);
}

BackgroundGallery::~BackgroundGallery() = default;

bool BackgroundGallery::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        fitThumbnailsToWidth();
    return QWidget::eventFilter(watched, event);
}

void BackgroundGallery::fitThumbnailsToWidth()
{
    // The grid cell is the thumbnail plus 24 pixels; thumbnails are made at 256 pixels.
    const int side = std::clamp(m_view->viewport()->width() - 26, 56, 256);
    ImageBrowserView::setZoom(m_view, side / 256.0);
}

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
