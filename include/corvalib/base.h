/** @defgroup base Common definitions
 * The export macro, C linkage, the handle types, and the shared data record
 * that the host and the library meet through.
 *
 * Widths: CARDINAL is uint16_t, INTEGER int16_t, LONGINT int32_t, BOOLEAN
 * uint8_t (0 or 1), BOOL int32_t (0 or 1). Window, menu, font, brush, palette,
 * module, atom and accelerator handles are uint32_t with 0 meaning none.
 * A bounded string is passed as (uint16_t high, char *text), HIGH first: the
 * array holds high + 1 bytes and its text ends at the first NUL or fills the
 * whole array. Writers never write past position high and NUL-fill the rest.
 * @{ */
#ifndef CORVALIB_BASE_H
#define CORVALIB_BASE_H

#include <stddef.h>
#include <stdint.h>

/** The library version; the shared object's SONAME carries the major number. */
#define CORVALIB_VERSION_STRING "1.0.0"

#if defined(CORVA_BUILDING)
#define CORVA_API __attribute__((visibility("default")))
#else
#define CORVA_API
#endif

#ifdef __cplusplus
#define CORVA_BEGIN_DECLS extern "C" {
#define CORVA_END_DECLS }
#else
#define CORVA_BEGIN_DECLS
#define CORVA_END_DECLS
#endif

typedef uint32_t CvHWND;    /**< window handle, 0 = none */
typedef uint32_t CvHMENU;   /**< menu handle, 0 = none */
typedef uint32_t CvHMODULE; /**< module handle, 0 = none */
typedef uint32_t CvHANDLE;  /**< any other 32-bit platform handle */

#pragma pack(push, 1)

/** One entry of the string search: a module and its priority (smallest first). */
typedef struct StringInstanceEntry {
  CvHMODULE Module; /**< module whose string table is searched */
  int16_t Priority; /**< smaller values are asked first */
} StringInstanceEntry;

/** The shared data record, one per process, byte-packed. The host reads and
 * writes it through MyCorvaLibDataPtr; its layout is part of the interface. */
typedef struct CorvaLibDataType {
  CvHWND MainWindow;                     /**< host's main frame; 0 until set */
  CvHWND MDIClientWindow;                /**< host's MDI client, 0 if none */
  uint8_t AppActive;                     /**< 1 while the application is active */
  uint8_t HostReserved[4];               /**< the host's; the library only zeroes it */
  CvHWND TopWindow;                      /**< window that should hold the focus */
  uint8_t MessageShowing;                /**< 1 while a library message box shows */
  StringInstanceEntry *StringInstances;  /**< string-search array, null when empty */
  uint16_t StringInstanceCount;          /**< entries in StringInstances */
  CvHMODULE LastStringInstance;          /**< module of the last successful search */
  char DataPath[64];                     /**< company data directory, ends in `\` */
} CorvaLibDataType;

#pragma pack(pop)

/** @} */

#endif
