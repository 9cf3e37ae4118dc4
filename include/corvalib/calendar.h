/* Dates, date texts and the clock, times of day and durations. */
#ifndef CORVALIB_CALENDAR_H
#define CORVALIB_CALENDAR_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
