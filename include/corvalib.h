/* CorvaLib: the whole exported interface. Usable from C11 and C++. */
#ifndef CORVALIB_H
#define CORVALIB_H

#include "corvalib/version.h"
#include "corvalib/base.h"
#include "corvalib/frame.h"
#include "corvalib/text.h"
#include "corvalib/numbers.h"
#include "corvalib/calendar.h"
#include "corvalib/messages.h"
#include "corvalib/payroll.h"
#include "corvalib/files.h"
#include "corvalib/containers.h"
#include "corvalib/ui.h"
#include "corvalib/outside.h"

#endif
