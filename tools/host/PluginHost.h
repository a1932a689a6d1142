// Host-side code: loads a VST 2.4 plug-in binary, answers its callbacks from a script and
// drives it the way a host application does. It uses only the interface header, never the
// plug-in's own code, so what it exercises is the built binary.
#pragma once

#include "tools/host/HostError.h"
#include "tools/host/PlanarBuffer.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/PluginLibrary.h"
#include "tools/host/ScriptedHost.h"
