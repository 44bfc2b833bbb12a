#include "document/ui/CanvasHost.h"

CanvasHost::~CanvasHost() = default;
