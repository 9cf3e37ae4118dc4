/** @defgroup outside Outside programs
 * The 16-bit bridge and the report writer launch.
 *
 * The bridge reaches 16-bit component libraries through the thunk library
 * "CRV32T10.DLL", loaded on first use (a module registered in-process under
 * that name, or a shared object on the library path) and freed when the last
 * use ends. Its entry points, looked up by these names, have these C types in
 * this port:
 *
 *     "_thkLoadLibrary16@4"    uint32_t (const char *path): a handle, < 32 an error
 *     "_thkFreeLibrary16@4"    void (uint32_t module)
 *     "_thkGetProcAddress16@8" uint32_t (uint32_t module, const char *name)
 *     "_thkCallProc16@16"      uint32_t (uint32_t procedure, void *description,
 *                                        void *arguments, uint32_t extra)
 *     "_thkAllocCallback16@8"  uint32_t (void *procedure, uint32_t description)
 *     "_thkFreeCallback16@4"   void (uint32_t callback)
 *     "_thkGetLastError@0"     uint32_t (void)
 *     "_thkSetLastError@4"     void (uint32_t error)   (may be missing)
 *     "_thkConnect@0"          int32_t (void): 0 when connected
 *     "_thkDisconnect@0"       void (void)
 *
 * @{ */
#ifndef CORVALIB_OUTSIDE_H
#define CORVALIB_OUTSIDE_H

#include "base.h"

CORVA_BEGIN_DECLS

/** Takes one use of the bridge: 1 when it is ready (thunk library loaded and
 * connected), 0 when not; a failure leaves the use count as it was. */
CORVA_API int32_t ThunkInitialize(void);
/** Releases one use; the last one disconnects and frees the thunk library. */
CORVA_API void ThunkTerminate(void);
/** Loads a 16-bit library and keeps one use of the bridge for it: its handle
 * (32 or more), or 0 for every failure (a null path included). */
CORVA_API uint32_t ThunkLoadLibrary16(const char *path);
/** Frees the 16-bit library and releases its use of the bridge. */
CORVA_API void ThunkFreeLibrary16(uint32_t module);
/** The procedure's 16-bit address as the thunk library gives it; 0 when the
 * bridge is not connected or name is null. */
CORVA_API uint32_t ThunkGetProcAddress16(uint32_t module, const char *name);
/** Calls the procedure through the thunk library with the four values
 * unchanged; its result, or 0 when the bridge is not connected. */
CORVA_API uint32_t ThunkCallProc16(uint32_t procedure, void *description, void *arguments,
                                   uint32_t extra);

/** The argument block of the report writer's "QZ_GetCurrentCompany": the
 * buffer's size (560) and its address, byte-packed. */
#pragma pack(push, 1)
typedef struct CvCompanyQuery {
  uint16_t Length; /**< the size of the buffer at Path (560) */
  char *Path;      /**< receives the report writer's company path */

} CvCompanyQuery;
#pragma pack(pop)

/** Starts the report writer for the company (a data directory; null or empty:
 * the current directory), brings it to the front when it already has that
 * company open (names compared without regard to case), or shows message
 * 20347 when it has another one open. A missing component library
 * "QZUSER.DLL" in the INI's [Install] PROGRAMPATH ends the call silently.
 * Always 0. */
CORVA_API int32_t CVRRun(const char *company);

/** @} */

CORVA_END_DECLS

#endif
