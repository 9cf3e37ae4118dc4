// The whole platform layer: the services that stand in for the operating
// system's kernel, files, configuration, user interface and graphics.
#pragma once

// Base services: errors, atoms, clock, global memory, modules and string
// resources, the process, the host framework, the system-call table.
#include <corvaplat/api.h>
#include <corvaplat/atoms.h>
#include <corvaplat/clock.h>
#include <corvaplat/config.h>
#include <corvaplat/console.h>
#include <corvaplat/framework.h>
#include <corvaplat/globalmem.h>
#include <corvaplat/modules.h>
#include <corvaplat/process.h>
#include <corvaplat/resources.h>
#include <corvaplat/sys.h>
#include <corvaplat/text.h>

// Files: handles, DOS names and paths, searches, disks, directories, programs.
#include <corvaplat/dirsys.h>
#include <corvaplat/disk.h>
#include <corvaplat/exec.h>
#include <corvaplat/files.h>
#include <corvaplat/headfile.h>
#include <corvaplat/paths.h>
#include <corvaplat/search.h>

// Settings: profiles, the registry, the host's locale.
#include <corvaplat/locale.h>
#include <corvaplat/profile.h>
#include <corvaplat/registry.h>

// Graphics: fonts, device contexts, drawing, surfaces and image files.
#include <corvaplat/gdi.h>
#include <corvaplat/raster.h>

// The window system: windows, the queue, controls, dialogs, menus, message
// boxes, painting and rendering windows into images.
#include <corvaplat/menus.h>
#include <corvaplat/msgbox.h>
#include <corvaplat/paint.h>
#include <corvaplat/render.h>
#include <corvaplat/windows.h>
