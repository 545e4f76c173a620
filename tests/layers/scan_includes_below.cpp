// The scan module sees the layers below it.
#include "core/Host.h"
#include "definitions/DefinitionFiles.h"
#include "platform/Registry.h"
#include "scan/ScanResults.h"
#include "settings/Settings.h"
#include "text/Text.h"
