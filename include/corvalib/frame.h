/* Library frame, memory allocation, profiles and registry, settings. */
#ifndef CORVALIB_FRAME_H
#define CORVALIB_FRAME_H

#include "base.h"

CORVA_BEGIN_DECLS

/* The shared record; set before any library code runs, never changes. */
extern CORVA_API CorvaLibDataType *const MyCorvaLibDataPtr;

/* ---- Frame ---------------------------------------------------------------- */

/* Chains the library into the host framework's extension modules (call once). */
CORVA_API void InitCorvaLibDLL(void);
/* The library's own module handle. */
CORVA_API CvHMODULE CorvaLibHandle(void);
/* Stores module and data in slot 0-14 and returns 1. A slot outside 0-14 is
 * ignored (nothing is stored) and the result is still 1. */
CORVA_API int32_t RequirePerInstanceData(CvHMODULE module, int32_t slot, uintptr_t data);
/* The slot's data / module handle; 0 for a slot never set or outside 0-14. */
CORVA_API uintptr_t GetPerInstanceData(int32_t slot);
CORVA_API CvHMODULE GetLibraryHandle(int32_t slot);
/* Adds the module to the string search; smaller priorities are asked first.
 * At most 10922 entries: a registration beyond that is dropped. */
CORVA_API void RegisterInstanceForStringSearch(CvHMODULE module, int16_t priority);
/* Loads string id into the bounded string from the registered modules, the
 * module that answered last being asked first. Returns the characters placed
 * (cut to high); 0 and an all-NUL buffer when no module has the string. */
CORVA_API int16_t MyLoadString(uint16_t id, uint16_t high, char *buffer);

/* ---- Memory allocation ----------------------------------------------------
 * Heap blocks are zero-filled and carry their total size (payload + 4) in a
 * 32-bit header just before the payload. Out of memory shows message 20301
 * and gives null. */

CORVA_API void *_RealAllocate(uint32_t size);
/* Frees a heap block (null does nothing); returns null. */
CORVA_API void *_RealDeAllocate(void *pointer);
/* A new block holding the old contents (always moves); null on failure, the
 * old block then untouched. A null old pointer allocates. */
CORVA_API void *_RealReAllocate(void *pointer, uint32_t size);
/* *variable = _RealAllocate(size); returns 1 when not null. */
CORVA_API int32_t _CppAllocate(void **variable, uint32_t size, const char *file, int32_t line);
/* *new_variable = _RealReAllocate(*old_variable, size); returns 1 when not null.
 * The two variables may be the same. */
CORVA_API int32_t _CppReAllocate(void **old_variable, void **new_variable, uint32_t size,
                                 const char *file, int32_t line);
/* A locked, zero-filled moveable global block; its handle goes to *handle. */
CORVA_API void *_OldAllocate(uint32_t *handle, uint32_t size);
/* Unlocks and frees the global block in *handle (0 stored on success). A block
 * still locked after one unlock ends the process (message 20402). */
CORVA_API void OldDeAllocate(uint32_t *handle);

CORVA_END_DECLS

#endif
