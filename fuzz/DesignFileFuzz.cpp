// The design-file reader on any bytes. A design it accepts must save to a file it accepts
// again, holding as many elements.

#include "FuzzSupport.h"

#include "editor/DesignFile.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<CardDesign> design = DesignFile::fromXml(Fuzz::bytes(data, size), &error);
    if (!design) {
        if (error.isEmpty())
            Fuzz::broken("a refused design says why");
        return 0;
    }
    Fuzz::picturesAreOfKindsRead(design->graphics);
    Fuzz::picturesAreOfKindsRead(design->graphics_back);
    const QByteArray saved = DesignFile::toXml(*design);
    const std::optional<CardDesign> again = DesignFile::fromXml(saved, &error);
    if (!again)
        Fuzz::broken("a design that was opened saves to a file that opens");
    if (again->graphics.size() != design->graphics.size() || again->graphics_back.size() != design->graphics_back.size())
        Fuzz::broken("saving keeps every element");
    return 0;
}
