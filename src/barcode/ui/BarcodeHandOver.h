#pragma once

class LMNGraphic;
class LMNGraphicView;
class PanelHost;

// The glue between the card editor and the barcode designer: opens the designer for the
// primary barcode element of the side in work and hands its result to the selected barcode
// elements. `canvas` is the canvas of the side in work, none while the working side is shown.
// Main thread only.
class BarcodeHandOver
{
public:
    // Opens the designer for the primary element of the front or back canvas. Nothing happens
    // without a primary barcode element or while the working side is shown. After OK the
    // settings and the picture go to every selected barcode element; after Cancel nothing changes.
    static void Open_Barcode_Window(PanelHost &host, LMNGraphicView *canvas);
    // The settings panel's barcode button: the same.
    static void View_barcode_prop_Button(PanelHost &host, LMNGraphicView *canvas);
    // Copies the source's barcode settings and Barcode_output_image into every selected barcode
    // element of the side in work (and the picture into the primary element), the print flag
    // from the settings panel's print box; other kinds and bindings stay as they are. Each
    // receiving frame takes the picture's size in points (its origin kept, moved back inside
    // the card if it would run off). One undo step. Does nothing while the panel's loading
    // guard is set or nothing is selected.
    static void Update_Barcode_Graphics(PanelHost &host, LMNGraphicView *canvas, const LMNGraphic &source);
};
