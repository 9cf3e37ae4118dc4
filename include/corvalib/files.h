/* Buffered files, paths, directories and searches, file copy. */
#ifndef CORVALIB_FILES_H
#define CORVALIB_FILES_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
