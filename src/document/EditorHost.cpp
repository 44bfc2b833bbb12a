#include "document/EditorHost.h"

EditorHost::~EditorHost() = default;

EditorHost *Main_App_wnd = nullptr;
