/* Real arithmetic, number and money formatting and parsing, amounts in words. */
#ifndef CORVALIB_NUMBERS_H
#define CORVALIB_NUMBERS_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
