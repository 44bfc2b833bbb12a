// The series readers on any bytes taken as a series file. (The writers are left out: each
// save is synced to disk, which would slow the run a hundredfold.)

#include "FuzzSupport.h"

#include "data/DataSeries.h"
#include "document/DocumentGlobals.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::start(argc, argv);
    Data_Folder_Path = QDir(Fuzz::folder()).filePath(QStringLiteral("DataSet"));
    QDir().mkpath(Data_Folder_Path);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QStringLiteral("guests");
    Fuzz::writeFile(DataSeries::filePath(name), Fuzz::bytes(data, size));
    DataSeries::readFirstValue(name);
    const QStringList values = DataSeries::readListValues(name);
    if (DataSeries::Get_datasheet_File_Name_Array() != QStringList{name})
        Fuzz::broken("the series is listed");
    // The list leaves out the empty values the binding keeps in their places.
    for (const QString &value : values)
        if (value.isEmpty())
            Fuzz::broken("list values are not empty");
    if (DataSeries::readAllValues(name).size() < values.size())
        Fuzz::broken("the binding sees every listed value");
    return 0;
}
