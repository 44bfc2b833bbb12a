// The picture library picker and the editor's background gallery on a temporary resource folder.

#include "PanelFixture.h"

#include "panels/ImageBrowserModel.h"
#include "panels/PictureFolders.h"
#include "panels/ThumbnailCache.h"
#include "panels/ui/BackgroundGallery.h"
#include "panels/ui/Image_Library.h"
#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QListView>
#include <QSignalSpy>

namespace {

using PictureLibrary = PanelFixture;

QStringList names(const QList<MyImageObject> &items)
{
    QStringList list;
    for (const MyImageObject &item : items)
        list << item.image_Name;
    list.sort();
    return list;
}

} // namespace

TEST(PictureFolders, MovingABlockKeepsEveryItem)
{
    const QList<int> items = {0, 1, 2, 3, 4};
    struct Move
    {
        QList<int> rows;
        int destination;
        QList<int> order;
    };
    const QList<Move> moves = {{{0, 1}, 4, {2, 3, 0, 1, 4}},
                               {{3}, 0, {3, 0, 1, 2, 4}},
                               {{4, 0}, 5, {1, 2, 3, 0, 4}},
                               {{2}, 2, {0, 1, 2, 3, 4}}};
    for (const Move &m : moves)
        EXPECT_EQ(PictureFolders::movedItems(items, m.rows, m.destination), m.order);
}

TEST_F(PictureLibrary, CategoriesKeepTheirFoldersAndOnlyPngAndJpgAreListed)
{
    const QDir resources(m_resources.path());
    QDir(resources.filePath(QStringLiteral("LibraryImage"))).removeRecursively();
    ASSERT_TRUE(resources.mkpath(QStringLiteral("LibraryImage/birthday cakes")));
    ASSERT_TRUE(resources.mkpath(QStringLiteral("LibraryImage/flowers")));
    for (const char *name : {"card.JPG", "card.jpeg", "card.gif", "rose.png"})
        picture(QStringLiteral("LibraryImage/flowers/%1").arg(QLatin1String(name)));
    picture(QStringLiteral("LibraryImage/birthday cakes/cake.jpg"));
    // Pictures from elsewhere may be named with markup: their tips show those characters, and
    // the FIFO an <img> in a name names is never opened.
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    QStringList listed = {QStringLiteral("card.JPG"), QStringLiteral("rose.png")};
    for (const QString &markup : named.markupNames()) {
        picture(QStringLiteral("LibraryImage/flowers/%1.png").arg(markup));
        listed.append(markup + QStringLiteral(".png"));
    }
    listed.sort();

    Image_Library *library = Image_Library::defaultInstance();
    m_seam.onDialog([library, &listed](QDialog *) {
        EXPECT_EQ(library->windowTitle(), QStringLiteral("Image Library"));
        QComboBox *combo = library->ui.cat_cmbo_bx;
        QStringList titles;
        for (int i = 0; i < combo->count(); ++i)
            titles << combo->itemText(i);
        titles.sort();
        EXPECT_EQ(titles, QStringList({QStringLiteral("Birthday Cakes"), QStringLiteral("Flowers")}));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Flowers")));
        emit combo->activated(combo->currentIndex());
        EXPECT_EQ(names(library->model()->images()), listed);
        QListView *view = library->ui.imageBrowser;
        for (int row = 0; row < library->model()->rowCount(); ++row) {
            const QModelIndex item = library->model()->index(row);
            EXPECT_EQ(TestHelpers::shownToolTip(view->viewport(), view->visualRect(item).center()), item.data().toString());
        }
        library->ui.imageBrowser->setCurrentIndex(library->model()->index(0));
        library->ui.ok_btn->click();
        return library->result();
    });
    library->selected_image.clear();
    ASSERT_EQ(commands->Open_Image_Library_Window(QStringLiteral("C")), 1);
    EXPECT_TRUE(lib_window_sel_file.contains(QStringLiteral("/flowers/")));
    EXPECT_EQ(named.fifoOpened(), 0);
}

TEST_F(PictureLibrary, ThumbnailsAreDrawnWholeEachInsideItsOwnCell)
{
    const QDir resources(m_resources.path());
    QDir(resources.filePath(QStringLiteral("LibraryImage"))).removeRecursively();
    ASSERT_TRUE(resources.mkpath(QStringLiteral("LibraryImage/party")));
    const QList<QColor> colors = {Qt::red, Qt::blue, Qt::green};
    for (int i = 0; i < colors.size(); ++i)   // larger than any thumbnail; wide and tall
        picture(QStringLiteral("LibraryImage/party/%1.png").arg(i), colors[i], i == 1 ? QSize(400, 600) : QSize(600, 400));

    Image_Library *library = Image_Library::defaultInstance();
    m_seam.onDialog([&](QDialog *) {
        library->show();
        QListView *view = library->ui.imageBrowser;
        ImageBrowserModel *model = library->model();
        EXPECT_EQ(model->rowCount(), colors.size());
        // Each row's colour, by its file's name.
        auto colorOf = [&](int row) {
            return colors[QFileInfo(model->index(row).data(ImageBrowserModel::PathRole).toString()).baseName().toInt()];
        };
        // The thumbnails arrive from the readers.
        auto allRead = [&] {
            for (int row = 0; row < model->rowCount(); ++row) {
                const QImage thumbnail = model->index(row).data(Qt::DecorationRole).value<QImage>();
                if (thumbnail.isNull() || !TestHelpers::near(thumbnail.pixel(thumbnail.rect().center()), colorOf(row)))
                    return false;
            }
            return true;
        };
        for (int i = 0; i < 500 && !allRead(); ++i)
            QTest::qWait(10);
        EXPECT_TRUE(allRead()) << "the thumbnails never arrived";
        const QImage shown = view->viewport()->grab().toImage();
        // Each thumbnail whole, at the icon size with its picture's shape, inside its own cell.
        const int side = view->iconSize().width();
        for (int row = 0; row < model->rowCount(); ++row) {
            SCOPED_TRACE(row);
            const QRect cell = view->visualRect(model->index(row));
            QRect painted;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    if (TestHelpers::near(shown.pixel(x, y), colorOf(row), 30))
                        painted |= QRect(x, y, 1, 1);
            EXPECT_TRUE(cell.contains(painted));
            const bool tall = colorOf(row) == QColor(Qt::blue);
            const QSize expected = tall ? QSize(side * 2 / 3, side) : QSize(side, side * 2 / 3);
            EXPECT_NEAR(painted.width(), expected.width(), 2);
            EXPECT_NEAR(painted.height(), expected.height(), 2);
        }
        library->ui.cancel_btn->click();
        return library->result();
    });
    commands->Open_Image_Library_Window(QStringLiteral("C"));
}

TEST_F(PictureLibrary, OkWithoutAClickReturnsOnlyAListedEarlierChoice)
{
    const QString kept = picture(QStringLiteral("Background/kept.png"));
    Image_Library *library = Image_Library::defaultInstance();
    auto pressOk = [library](QDialog *) {
        library->ui.ok_btn->click();
        if (library->result() != QDialog::Accepted)
            library->ui.cancel_btn->click();
        return library->result();
    };
    struct Run
    {
        QString before;
        int result;
        int messages;
    };
    const QString elsewhere = picture(QStringLiteral("elsewhere.png"));
    for (const Run &run : {Run{kept, 1, 0}, Run{elsewhere, 0, 1}, Run{{}, 0, 2}}) {
        library->selected_image = run.before;
        m_seam.onDialog(pressOk);
        EXPECT_EQ(commands->Open_Image_Library_Window(QStringLiteral("B")), run.result);
        EXPECT_TRUE(library->windowTitle() == QLatin1String("Background Image Library") && m_seam.messages.size() == run.messages);
    }
    EXPECT_EQ(m_seam.messages.last().text, QStringLiteral("\nPlease select image."));
}

TEST_F(PictureLibrary, AGalleryClickOnTheBackSetsAndShowsTheFront)
{
    const QString path = picture(QStringLiteral("Background/zz-gallery.png"), Qt::green);
    BackgroundGallery *gallery = m_window->backgroundGallery();
    gallery->Load_and_fill_backgrounds(m_resources.path());
    const int row = gallery->model()->rowOfPath(path);
    ASSERT_GE(row, 0);

    m_window->Select_back_side();
    const QString backPath = m_window->Back_card_Prop.Card_BG_Image_Path;
    gallery->imageBrowser()->setCurrentIndex(gallery->model()->index(row));
    EXPECT_TRUE(m_window->Front_card_Prop.Card_BG_Image_Path == path && m_window->Back_card_Prop.Card_BG_Image_Path == backPath);
    EXPECT_TRUE(Card_Front_Or_Back.load() == 0 && m_window->currentCanvas() == m_window->_graphicView);

    // Nothing is removed from the gallery.
    const qsizetype count = gallery->model()->images().size();
    EXPECT_FALSE(gallery->model()->removeRows(0, 1));
    EXPECT_EQ(gallery->model()->images().size(), count);
}

// A library picture whose data is damaged, missing, or of a kind not read (an SVG naming a
// picture of this disk or a FIFO, whatever its name) keeps the placeholder, and no file it
// names is opened.
TEST(Thumbnails, DamagedAndMissingPicturesKeepThePlaceholder)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.png"));
    QImage(400, 200, QImage::Format_RGB32).save(good);
    const QString damaged = TestHelpers::writeFile(dir.filePath(QStringLiteral("damaged.png")), "\x89PNG\r\n\x1a\n broken");
    const ForeignPictures::NamedFiles named(dir.path());
    ASSERT_TRUE(named.ready());
    QStringList placeholders = {damaged, dir.filePath(QStringLiteral("missing.jpg"))};
    for (const auto &[name, svg] : named.svgs())
        placeholders << TestHelpers::writeFile(dir.filePath(name + QStringLiteral(".png")), svg);

    ThumbnailCache cache(QSize(100, 100), 2);
    QSignalSpy ready(&cache, &ThumbnailCache::thumbnailReady);
    EXPECT_EQ(cache.thumbnail(good), cache.placeholder());   // never waits
    for (const QString &path : placeholders)
        EXPECT_EQ(cache.thumbnail(path), cache.placeholder());
    cache.waitForDone();
    while (ready.size() < 1 + placeholders.size())
        QVERIFY2(ready.wait(5000), "thumbnails never arrived");
    EXPECT_EQ(cache.thumbnail(good).size(), QSize(100, 50));
    for (const QString &path : placeholders) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(cache.thumbnail(path), cache.placeholder());
    }
    EXPECT_EQ(named.fifoOpened(), 0);
}

TEST_F(PictureLibrary, PictureToolsAskThroughTheFileChooserAndTheLibrary)
{
    const QString photo = picture(QStringLiteral("tool.png"));
    m_seam.chooseFiles({photo});
    m_window->selectToolNumber(8);
    EXPECT_TRUE(m_window->Selected_Control_Tool() == 8 && Library_Selected_Image == photo);

    m_seam.onDialog([](QDialog *) { return int(QDialog::Rejected); });
    m_window->selectToolNumber(9);
    EXPECT_EQ(m_window->Selected_Control_Tool(), 0);
    ASSERT_FALSE(m_seam.dialogsRun.isEmpty());
    EXPECT_EQ(m_seam.dialogsRun.last(), Image_Library::defaultInstance());
}

// Moving the Size slider lays the thumbnails out again at once: at every size, as soon as it
// is drawn, each item is as tall as its thumbnail asks and the thumbnail is drawn whole.
TEST_F(PictureLibrary, EverySizeOfTheSliderShowsTheThumbnailsWhole)
{
    const QDir resources(m_resources.path());
    QDir(resources.filePath(QStringLiteral("LibraryImage"))).removeRecursively();
    ASSERT_TRUE(resources.mkpath(QStringLiteral("LibraryImage/party")));
    for (int i = 0; i < 3; ++i)   // standing pictures, larger than the largest thumbnail
        picture(QStringLiteral("LibraryImage/party/%1.png").arg(i), Qt::blue, QSize(400, 600));

    Image_Library *library = Image_Library::defaultInstance();
    m_seam.onDialog([&](QDialog *) {
        library->show();
        QListView *view = library->ui.imageBrowser;
        ImageBrowserModel *model = library->model();
        auto allRead = [&] {   // the thumbnails, not their placeholders
            for (int row = 0; row < model->rowCount(); ++row) {
                const QImage thumbnail = model->index(row).data(Qt::DecorationRole).value<QImage>();
                if (thumbnail.isNull() || !TestHelpers::near(thumbnail.pixel(thumbnail.rect().center()), Qt::blue))
                    return false;
            }
            return true;
        };
        for (int i = 0; i < 500 && !allRead(); ++i)
            QTest::qWait(10);
        EXPECT_TRUE(allRead()) << "the thumbnails never arrived";
        // Dragged step by step to the right, then set to other sizes.
        for (int value = library->ui._zoom_slider->value(); value <= 100; ++value) {
            library->ui._zoom_slider->setValue(value);
            QCoreApplication::processEvents();
        }
        for (int value : {100, 70, 10, 100}) {
            SCOPED_TRACE(value);
            library->ui._zoom_slider->setValue(value);   // and drawn at once, as the slider moves
            const int side = view->iconSize().height();
            const QImage shown = view->viewport()->grab().toImage();
            for (int row = 0; row < model->rowCount(); ++row) {
                const QRect cell = view->visualRect(model->index(row)) & shown.rect();
                if (cell.isEmpty())
                    continue;   // scrolled out of view
                QRect painted;
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    for (int x = cell.left(); x <= cell.right(); ++x)
                        if (TestHelpers::near(shown.pixel(x, y), QColor(Qt::blue), 30))
                            painted |= QRect(x, y, 1, 1);
                if (cell.bottom() + 1 < shown.height()) { // a row wholly in view
                    EXPECT_NEAR(painted.height(), side, 2) << row;
                }
            }
        }
        library->ui.cancel_btn->click();
        return library->result();
    });
    commands->Open_Image_Library_Window(QStringLiteral("C"));
}
