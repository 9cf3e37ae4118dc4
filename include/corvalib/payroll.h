/* The payroll tax information file. */
#ifndef CORVALIB_PAYROLL_H
#define CORVALIB_PAYROLL_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
