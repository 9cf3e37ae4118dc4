/* Window table and messaging, menus, dialog fields, layout, drawing, colours. */
#ifndef CORVALIB_UI_H
#define CORVALIB_UI_H

#include "base.h"

CORVA_BEGIN_DECLS

CORVA_END_DECLS

#endif
