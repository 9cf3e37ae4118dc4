/** @defgroup frame Frame
 * The library frame (its module, slots and the string search), memory
 * allocation, profiles, the registry, and the regional and application
 * settings.
 * @{ */
#ifndef CORVALIB_FRAME_H
#define CORVALIB_FRAME_H

#include "base.h"

CORVA_BEGIN_DECLS

/** The shared record; set before any library code runs, never changes. */
extern CORVA_API CorvaLibDataType *const MyCorvaLibDataPtr;

/** @defgroup frame_slots Library frame: module, slots, string search
 * @{ */

/** Chains the library into the host framework's extension modules (call once). */
CORVA_API void InitCorvaLibDLL(void);
/** The library's own module handle. */
CORVA_API CvHMODULE CorvaLibHandle(void);
/** Stores module and data in slot 0-14 and returns 1. A slot outside 0-14 is
 * ignored (nothing is stored) and the result is still 1. */
CORVA_API int32_t RequirePerInstanceData(CvHMODULE module, int32_t slot, uintptr_t data);
/** The slot's data / module handle; 0 for a slot never set or outside 0-14. */
CORVA_API uintptr_t GetPerInstanceData(int32_t slot);
/** The module handle stored in the slot; 0 for a slot never set or outside 0-14. */
CORVA_API CvHMODULE GetLibraryHandle(int32_t slot);
/** Adds the module to the string search; smaller priorities are asked first.
 * At most 10922 entries: a registration beyond that is dropped. */
CORVA_API void RegisterInstanceForStringSearch(CvHMODULE module, int16_t priority);
/** Loads string id into the bounded string from the registered modules, the
 * module that answered last being asked first. Returns the characters placed
 * (cut to high); 0 and an all-NUL buffer when no module has the string. */
CORVA_API int16_t MyLoadString(uint16_t id, uint16_t high, char *buffer);

/** @} */

/** @defgroup frame_memory Memory allocation
 * Heap blocks are zero-filled and carry their total size (payload + 4) in a
 * 32-bit header just before the payload. Out of memory shows message 20301
 * and gives null.
 * @{ */

/** A zero-filled heap block of size bytes; null (and message 20301) when
 * memory runs out. */
CORVA_API void *_RealAllocate(uint32_t size);
/** Frees a heap block (null does nothing); returns null. */
CORVA_API void *_RealDeAllocate(void *pointer);
/** A new block holding the old contents (always moves); null on failure, the
 * old block then untouched. A null old pointer allocates. */
CORVA_API void *_RealReAllocate(void *pointer, uint32_t size);
/** *variable = _RealAllocate(size); returns 1 when not null. */
CORVA_API int32_t _CppAllocate(void **variable, uint32_t size, const char *file, int32_t line);
/** *new_variable = _RealReAllocate(*old_variable, size); returns 1 when not null.
 * The two variables may be the same. */
CORVA_API int32_t _CppReAllocate(void **old_variable, void **new_variable, uint32_t size,
                                 const char *file, int32_t line);
/** A locked, zero-filled moveable global block; its handle goes to *handle. */
CORVA_API void *_OldAllocate(uint32_t *handle, uint32_t size);
/** Unlocks and frees the global block in *handle (0 stored on success). A block
 * still locked after one unlock ends the process (message 20402). */
CORVA_API void OldDeAllocate(uint32_t *handle);

/** @} */

/** @defgroup frame_profiles Profiles (INI files)
 * Names and values are plain NUL-terminated strings. The INI reads and writes
 * are thin: they answer what the platform's profile services answer (see
 * corvaplat/profile.h for matching, trimming, cutting and listing). Sizes are
 * INTEGER; a negative size is taken as 0 (nothing written, result 0).
 * "CVX70.INI" and WIN.INI live in the Windows directory (CORVALIB_WINDIR).
 * @{ */

/** Writes (null value: deletes the key; null key: deletes the section) in
 * "CVX70.INI". Returns 1 on success, 0 on failure. */
CORVA_API int32_t WriteCVXProfileString(const char *section, const char *key, const char *value);
/** Copies the value (or the default) cut to size - 1 characters and a NUL;
 * returns the characters copied. The default may be the buffer itself. */
CORVA_API uint32_t GetCVXProfileString(const char *section, const char *key,
                                       const char *default_value, char *buffer, int16_t size);
/** The value's leading signed digits, or the default when the key is missing
 * or empty. */
CORVA_API uint32_t GetCVXProfileInt(const char *section, const char *key, int16_t default_value);
/** GetCVXProfileString on any INI file (null file name: WIN.INI). */
CORVA_API uint32_t GetSYSProfileString(const char *section, const char *key,
                                       const char *default_value, char *buffer, int16_t size,
                                       const char *file_name);
/** WriteCVXProfileString on WIN.INI. */
CORVA_API int32_t WriteWINProfileString(const char *section, const char *key, const char *value);
/** GetCVXProfileString on WIN.INI. */
CORVA_API uint32_t GetWINProfileString(const char *section, const char *key,
                                       const char *default_value, char *buffer, int16_t size);
/** GetCVXProfileInt on WIN.INI. */
CORVA_API uint32_t GetWINProfileInt(const char *section, const char *key, int16_t default_value);

/** @} */

/** @defgroup frame_registry Registry
 * Registry keys of a product: sections "Options" and "Tips" (exact case) live
 * under HKEY_CURRENT_USER, key `Software\Corvantis\<product key>\<section>`;
 * every other section under HKEY_LOCAL_MACHINE, key
 * `SOFTWARE\Corvantis\<product key>\<section>`. Results are Windows error
 * numbers: 0 success, 2 not found,
 * 5 access denied, 87 a null name or key variable, 234 buffer too small,
 * 1009 the registry store is unreadable.
 * @{ */

/** Opens the key into *key (creating it when create is non-zero); the caller
 * closes it with the platform's RegCloseKey. */
CORVA_API int32_t CVXGetRegKey(const char *product_key, const char *section, CvHANDLE *key,
                               int32_t create);
/** Creates the key as needed and writes the value: size bytes of data, kept
 * exactly, with the given type (1 text, 3 binary, 4 32-bit number). */
CORVA_API int32_t CVXRegSetValue(const char *product_key, const char *section,
                                 const char *value_name, uint32_t type, const uint8_t *data,
                                 uint32_t size);
/** Reads the value: its type to *type (may be null), its bytes to data when
 * *size is large enough, the byte count to *size. A missing key or value
 * leaves data untouched. */
CORVA_API int32_t CVXRegQryValue(const char *product_key, const char *section,
                                 const char *value_name, uint32_t *type, uint8_t *data,
                                 uint32_t *size);
/** On Windows NT, reads the "boot.description" section of "system.ini" from
 * its registry home and returns the bytes read (NUL included). Everywhere
 * else, and for any other file or section, returns -1 at once: the caller
 * reads the INI file itself. */
CORVA_API int16_t CVXRegQrySysValue(const char *file_name, const char *section, const char *key,
                                    const char *default_value, char *buffer, int16_t size);

/** @} */

/** @defgroup frame_settings Regional and application settings
 * Process-wide values, built in until the first refresh: date separator "-",
 * date order 0, decimal point ".", thousands separator ",", currency digits 2,
 * automatic decimal point on, large clipboard text off, real precision 2, an
 * empty data path. A refresh passes each current value as the default of its
 * read, so a key missing from its file leaves the setting as it was.
 * @{ */

/** Reads WIN.INI section "intl": sDate, iDate, sDecimal, sThousand (one
 * character each for the texts) and iCurrDigits. Run at load as well. */
CORVA_API void ReReadWinIni(void);
/** Reads "CVX70.INI": the data path ("Lib", "DATAPATH", into the shared
 * record's DataPath, ending in a backslash) and the switches "Lib"
 * "AUTODECIMAL" and "Options" "AllowLargeClip" (on when the text starts with
 * Y or y). */
CORVA_API void ReReadCorvaIni(void);
/** Stores the date order; returns the previous one. */
CORVA_API int32_t SetDateOrder(int32_t order);
/** The decimal point and a NUL into a bounded string; nothing when high is 0. */
CORVA_API void GetDecimalPoint(uint16_t high, char *buffer);
/** The number of currency digits (iCurrDigits; 2 until read). */
CORVA_API uint16_t GetCurrencyPrecision(void);
/** 1 while the automatic decimal point is on (the "AUTODECIMAL" switch). */
CORVA_API uint8_t GetAutoDecimal(void);
/** Stores the switch and writes "Yes" or "No" to "CVX70.INI" ("Lib",
 * "AUTODECIMAL"); returns the write's success flag. */
CORVA_API int32_t SetAutoDecimal(uint8_t on);
/** The number of decimals quantities keep (2 until set). */
CORVA_API int16_t GetRealPrecision(void);

/** Stores the precision; returns the previous one. */
CORVA_API int16_t SetRealPrecision(uint16_t precision);

/** @} */

/** @} */

CORVA_END_DECLS

#endif
