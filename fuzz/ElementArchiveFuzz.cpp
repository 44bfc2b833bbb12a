// The element-archive decoder (the clipboard's Paste) on any bytes. Elements it accepts
// encode, in both forms, to archives it accepts again.

#include "FuzzSupport.h"

#include "document/LMNGraphicArchive.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<GraphicList> graphics = LMNGraphicArchive::decodeList(Fuzz::bytes(data, size), &error);
    if (!graphics) {
        if (error.isEmpty())
            Fuzz::broken("a refused archive says why");
        return 0;
    }
    Fuzz::picturesAreOfKindsRead(*graphics);
    for (bool binary : {true, false}) {
        const std::optional<GraphicList> again =
            LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList(*graphics, binary), &error);
        if (!graphics->isEmpty() && (!again || again->size() != graphics->size()))
            Fuzz::broken("decoded elements encode to an archive that decodes");
    }
    return 0;
}
