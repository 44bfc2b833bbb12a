#pragma once

#include <QString>

// Removes the file or folder (with its contents) at the path. A missing path does nothing;
// a symbolic link is removed itself, never what it points to. Failures are logged, not
// reported: callers delete before they write anew and find out then.
void Delete_File(const QString &path);

// Creates whichever of the resource folders is missing, with intermediate folders:
// Data_Folder_Path ("DataSet"), and "Background", "Fill_Style_Image", "LibraryImage",
// "Templates" and "Templates/User" under Resource_Path. Does nothing while Resource_Path is
// not set; failures are logged.
void Check_Path_And_Create_Files();
