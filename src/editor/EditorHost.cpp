#include "editor/EditorHost.h"

EditorHost::~EditorHost() = default;
