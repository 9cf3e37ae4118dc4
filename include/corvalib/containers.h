/* Named memory blocks and linked lists. */
#ifndef CORVALIB_CONTAINERS_H
#define CORVALIB_CONTAINERS_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
