#pragma once

#include <QObject>

#include <functional>

class BackgroundGallery;
class ElementPanelCommands;
class QMainWindow;
class PanelHost;

// The commands of the card pages of the settings panel: size and shape, the fill check box,
// the background picture from a file or the library, and the side's all-text colour and
// font. Almost every command ends by reading the whole card panel back into the record of the
// side in work (Update_Card_Graphics).
class CardPanelCommands : public QObject
{
    Q_OBJECT

public:
    CardPanelCommands(PanelHost *host, ElementPanelCommands *elements, QObject *parent = nullptr);

    // Makes a picture file the background of the front (back) record, whatever the side in
    // work, and shows the card. An empty path only empties the path view.
    void set_Front_BG_Image(const QString &path);
    void set_Back_BG_Image(const QString &path);

    // Puts the background gallery beside the window's canvas; a click in it makes the picture
    // the front's background and shows the front.
    BackgroundGallery *createBackgroundGallery(QMainWindow *window);
    void galleryPictureChosen(const QString &path);

    void Apply_Size_Clicked();
    void card_shape_CellClick(int shape);
    void Card_Fill_Chk_Box();
    void Card_Image_Browse_Btn();
    void Card_Image_Library_Btn();
    void Content_Font_Clicked();
    void Contect_Color_Clicked();
    // Pushes the all-text colour and font, where they differ from the snapshot taken when
    // the card was last shown, into the side's text elements; then reads the panel back.
    void Update_All_Card_Content();

    // A card control was changed: reads the card panel back (and the number of sides into
    // both records) as one undo step named after the control's `setting`.
    void cardPanelEdited(const QString &setting);
    // Runs `edit`, which changes the card records, shape or size, or the text elements of the
    // side in work, and records what changed as one undo step (named `text`, else after
    // what changed). Edits of one run of the user's fold into one step; nested calls are
    // recorded by the outermost one; nothing is recorded while the panel is being filled.
    void recordCardEdit(const std::function<void()> &edit, const QString &text = {});
    // "Change Card Size", ...: a step named after the setting the user changed, whatever
    // reading the panel back tidied up besides.
    static QString stepName(const char *setting);

private:
    void setBackground(int side, const QString &path);
    // The chosen picture becomes the background of the side in work when it can be read;
    // otherwise the user is told and nothing changes.
    void useChosenPicture(const QString &path);

    PanelHost *m_host;
    ElementPanelCommands *m_elements;
    int m_recording = 0;
};
