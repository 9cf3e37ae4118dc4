/* The message engine: numbered messages shown as boxes, and the error log. */
#ifndef CORVALIB_MESSAGES_H
#define CORVALIB_MESSAGES_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
