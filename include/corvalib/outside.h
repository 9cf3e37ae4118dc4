/* The 16-bit bridge and the report writer launch. */
#ifndef CORVALIB_OUTSIDE_H
#define CORVALIB_OUTSIDE_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
