// The whole platform layer: the services that stand in for the operating
// system's kernel, user interface, graphics, registry and host framework.
#pragma once
#include <corvaplat/api.h>
#include <corvaplat/atoms.h>
#include <corvaplat/clock.h>
#include <corvaplat/config.h>
#include <corvaplat/dirsys.h>
#include <corvaplat/disk.h>
#include <corvaplat/framework.h>
#include <corvaplat/globalmem.h>
#include <corvaplat/menus.h>
#include <corvaplat/modules.h>
#include <corvaplat/msgbox.h>
#include <corvaplat/paths.h>
#include <corvaplat/search.h>
#include <corvaplat/process.h>
#include <corvaplat/resources.h>
#include <corvaplat/gdi.h>
#include <corvaplat/sys.h>
#include <corvaplat/text.h>
#include <corvaplat/windows.h>
