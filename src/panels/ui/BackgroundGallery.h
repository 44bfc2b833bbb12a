#pragma once

#include <QWidget>

#include <functional>

class ImageBrowserModel;
class QListView;
class ThumbnailCache;

// The background gallery beside the editor's canvas: the pictures of the resource folder's
// "Background" as thumbnails; a click makes one the front side's background.
class BackgroundGallery : public QWidget
{
    Q_OBJECT

public:
    explicit BackgroundGallery(QWidget *parent = nullptr);
    ~BackgroundGallery() override;

    QListView *imageBrowser() const { return m_view; }
    ImageBrowserModel *model() const { return m_model; }
    // The path last clicked.
    QString selected_image;
    // What a click does with the picture (the editor makes it the front's background).
    std::function<void(const QString &)> pictureChosen;

    // Lists the pictures of `resourcePath`/"Background"; without the folder nothing changes.
    void Load_and_fill_backgrounds(const QString &resourcePath);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectionDidChange();
    // Thumbnails as wide as the strip: one column filling its width.
    void fitThumbnailsToWidth();

    ThumbnailCache *m_thumbnails;
    ImageBrowserModel *m_model;
    QListView *m_view;
};
