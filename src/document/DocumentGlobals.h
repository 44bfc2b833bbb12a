#pragma once

// Process-wide state of the card document and canvas, shared by every subsystem.
// Values read by worker threads (batch export, e-mail, printing) are atomic; the rest
// belong to the main thread.

#include <QString>

#include <atomic>

// The side in work: 0 front, 1 back. Every renderer sets it to the side it draws and
// restores it afterwards.
extern std::atomic<int> Card_Front_Or_Back;

// The cascade point at which the next new element is placed (initially 10, 10).
extern float last_ctrl_X;
extern float last_ctrl_Y;

// The picture path the next picture element made by the element factory takes.
extern QString Library_Selected_Image;

// Heading and text of the next information box shown by Long_SMS_Dlg.
extern QString Cutom_Msg_Title;
extern QString Cutom_Msg_Val;

// The apply-to-all check box of Long_SMS_Dlg as its OK button last saw it.
extern std::atomic<int> Msg_Apply_All_Chk;

// The application's per-user resource folder and its "DataSet" folder; set at start-up by
// the editor window, read everywhere.
extern QString Resource_Path;
extern QString Data_Folder_Path;

// The default text font, used at 14 points.
inline const QString Text_Ctrl_Font = QStringLiteral("TimesNewRomanPS-ItalicMT");

// The clipboard type of copied elements.
inline const QString LMNGraphicViewPasteboardType = QStringLiteral("Festiloom card elements pasteboard type");
