#include "panels/ui/PanelHost.h"

PanelHost::~PanelHost() = default;
