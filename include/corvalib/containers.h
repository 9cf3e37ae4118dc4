/* Named memory blocks and linked lists. */
#ifndef CORVALIB_CONTAINERS_H
#define CORVALIB_CONTAINERS_H

#include "base.h"

CORVA_BEGIN_DECLS

/* ---- Named memory blocks ---------------------------------------------------
 * One process-wide table of up to 20 global-memory blocks, each named by a
 * 32-bit identifier of the caller's choosing. Misuse is a program fault: the
 * library shows the fault's message and message 20300, then ends the process
 * with "Problem detected in MemStore". */

/* Adds a zero-filled block of size bytes under identifier. 1 when allocated;
 * 0 when memory ran out (message 20301), the entry then staying in the table
 * without a block. Ends the process when the identifier is already present
 * (message 20401) or the table holds 20 blocks (message 20301). */
CORVA_API uint8_t CreateMem(uint32_t identifier, uint32_t size);
/* Frees the block and closes the gap in the table. Ends the process when the
 * identifier is not present (message 20400). */
CORVA_API void DeleteMem(uint32_t identifier);
/* Locks the block and returns its address; null when the identifier is not
 * present or its allocation failed. Shows nothing. */
CORVA_API void *LockMem(uint32_t identifier);
/* Drops one lock: non-zero while the block stays locked; 0 when it is now
 * unlocked, was not locked, or the identifier is not present. */
CORVA_API int32_t UnLockMem(uint32_t identifier);

CORVA_END_DECLS

#endif
