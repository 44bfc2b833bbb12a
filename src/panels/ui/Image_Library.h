#pragma once

#include "ui_Image_Library.h"

#include <QDialog>

class ImageBrowserModel;
class ThumbnailCache;

// The picture library: a modal picker of the element pictures of one category (mode "C",
// the sub-folders of "LibraryImage") or of the background pictures (mode "B", "Background").
class Image_Library : public QDialog
{
    Q_OBJECT

public:
    explicit Image_Library(QWidget *parent = nullptr);
    ~Image_Library() override;
    static Image_Library *defaultInstance();

    Ui::Image_Library ui;
    ImageBrowserModel *model() const { return m_model; }

    // "C" a picture for an element, "B" a background picture.
    QString control_or_BG = QStringLiteral("C");
    // The chosen picture's path.
    QString selected_image;

    // Runs the picker in the mode of control_or_BG; 1 for OK, 0 for Cancel or a failure.
    int Open_Library_Window();

    void Fill_Combobox();
    void Load_and_fill_backgrounds();
    void OK_Clicked();
    void Cancel_Clicked();

private:
    void categoryChosen();
    void selectionDidChange();

    ThumbnailCache *m_thumbnails;
    ImageBrowserModel *m_model;
};
