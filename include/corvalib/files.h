/* Buffered files, paths, directories and searches, file copy. */
#ifndef CORVALIB_FILES_H
#define CORVALIB_FILES_H

#include "base.h"

CORVA_BEGIN_DECLS

/* ---- Paths and directories ------------------------------------------------ */

/* DOS file names: a drive letter and colon, a directory of parts separated by
 * '\' (or '/'), a name of up to 8 characters and an extension of up to 3 after a
 * dot. "X:" stands for the host directory of CORVALIB_DRIVE_X (C: defaults to
 * "/"), and each part is found without regard to case when its exact case does
 * not exist. Drive numbers count from 0 for A in GetDrive and SetDrive, and
 * from 1 for A (0 the current drive) in GetDiskSpace and GetDir. */

#pragma pack(push, 1)

/* A file name taken apart by ParseFileName. Each field is NUL-filled before it
 * is filled, so a part that fills its field has no NUL; a longer part is cut.
 * 'c:\data\co1\ledger.dat' gives "C:", "\data\co1\", "ledger", ".dat". */
typedef struct CvNameRecord {
  char drive[2];      /* the drive letter in upper case and its colon, or empty */
  char directory[64]; /* the directory with its leading and trailing separator */
  char name[8];       /* the name up to the first dot after the directory */
  char extension[4];  /* the extension with its dot, or empty */
} CvNameRecord;

/* The find record of the directory searches. */
typedef struct CvFindRecord {
  uint32_t attrib;      /* 0x01 read-only, 0x02 hidden, 0x10 directory, 0x20 archive */
  int32_t time_create;  /* seconds since 1970 */
  int32_t time_access;
  int32_t time_write;
  uint32_t size;        /* bytes, cut to 32 bits */
  char name[260];       /* the found name without its directory */
} CvFindRecord;

#pragma pack(pop)

/* Fills the record from name (a bounded string); always TRUE. HIGH 0 never
 * finds a drive; 'A:' alone gives only the drive; "\" alone only the directory. */
CORVA_API uint8_t ParseFileName(uint16_t high, const char *name, CvNameRecord *record);
/* result := each part of name1, or of name2 where name1 lacks it, in the order
 * drive, directory, name, extension; up to high3 + 1 characters, then a NUL when
 * it fits. '.BAK' with 'C:\DATA\LEDGER.DAT' gives 'C:\DATA\LEDGER.BAK'. */
CORVA_API void ConstructFileName(uint16_t high1, const char *name1, uint16_t high2,
                                 const char *name2, uint16_t high3, char *result);
/* Appends '\' unless the text is empty or already ends with one. */
CORVA_API void AddBackSlash(uint16_t high, char *path);
/* Makes a new, empty file in the directory for temporary files (name needs room
 * for 260 characters) and returns its number; 0 when it cannot. */
CORVA_API int32_t CVX_GetTempFileName(const char *prefix, char *name);

/* The current drive, 0 for A. */
CORVA_API int32_t GetDrive(void);
/* Makes drive (0 for A) current: 0 when done, -1 when it has no mapping. */
CORVA_API int32_t SetDrive(uint16_t drive);
/* Free bytes of the drive's disk (0 the current drive, 1 for A), at most
 * 0x7FFFFFFF; -1 when the disk cannot be asked. */
CORVA_API int32_t GetDiskSpace(uint16_t drive);
/* Make and remove a directory (bounded-string names); TRUE when done. */
CORVA_API uint8_t MakeDir(uint16_t high, const char *path);
CORVA_API uint8_t RemoveDir(uint16_t high, const char *path);
/* A leading "X:" makes that drive current (that change stays even when the
 * rest fails); then the rest becomes the current directory. TRUE when it did. */
CORVA_API uint8_t SetFullDir(uint16_t high, const char *path);
/* The current directory of drive (0 current, 1 for A) without its drive:
 * '\DATA\CO1', "\" at the root. FALSE when high < 63 or it does not fit. */
CORVA_API uint8_t GetDir(uint16_t drive, uint16_t high, char *dir);
/* The current directory of the current drive with its drive: 'C:\DATA\CO1'. */
CORVA_API uint8_t GetFullDir(uint16_t high, char *dir);

/* The library keeps one directory search for the whole process: FindFirst
 * ends the one before it, FindNext goes on with whichever search is open, and
 * the search closes when it reaches its end. attributes is not used. */
CORVA_API uint8_t FindFirst(uint16_t high, const char *pattern, uint16_t attributes,
                            CvFindRecord *find);
CORVA_API uint8_t FindNext(CvFindRecord *find);
CORVA_API void CloseFinds(void);
/* name holds the pattern on entry and receives the first found name whose
 * attributes equal attribute exactly (0 takes every entry); names that begin
 * with a dot ("." and ".." too) are never returned. */
CORVA_API uint8_t CVXFindFirstFile(CvFindRecord *find, uint16_t high, char *name,
                                   uint8_t attribute);
/* The next such name; note the order of the arguments. */
CORVA_API uint8_t CVXFindNextFile(uint16_t high, char *name, CvFindRecord *find,
                                  uint8_t attribute);
/* Makes the directory current and lists its entries in the dialog's list box
 * listId (its caption in item staticId when not 0); 1 when it listed any. */
CORVA_API int32_t MyDlgDirList(CvHWND dialog, uint16_t high, const char *path, int16_t listId,
                               int16_t staticId, uint8_t attribute);

/* TRUE when the file (or directory) exists. */
CORVA_API uint8_t FileExist(const char *name);
/* 0 when the file was deleted, 1 when not. */
CORVA_API int16_t FileDelete(uint16_t high, const char *name);
/* Deletes name with its extension replaced: 'C:\DATA\LEDGER.DAT' with "LCK"
 * deletes 'C:\DATA\LEDGER.LCK'; a name without a dot becomes '.LCK'. */
CORVA_API int16_t FileDeleteByExt(const char *name, const char *extension);
/* Deletes the file, then its lock file (extension LCK); answers the latter. */
CORVA_API int16_t FileDeleteWithLCK(uint16_t high, const char *name);
/* Renames (each name cut to 79 characters): 0, or the run-time error number
 * (2 not found, 13 denied - also when the new name exists -, 22 a bad name). */
CORVA_API uint16_t Rename(uint16_t high1, const char *oldName, uint16_t high2,
                          const char *newName);
/* Copies source to destination; with copyData FALSE the destination is left
 * made but empty and the answer is FALSE. */
CORVA_API uint8_t CopyFile2(const char *destination, const char *source, uint8_t copyData);

/* ---- File copy ------------------------------------------------------------ */

/* The progress module registered in per-instance slot 5 exports these entry
 * points under the names "_BeginProgressNicely@16", "_ProgressMessage@16",
 * "_CheckForAbortProgress@4", "_MarkProgress@4" and "_EndProgress@4". The copy
 * opens its window with BeginProgressNicely(0, owner, 13, "Copying Files"), a
 * handle of 0 meaning none. */
typedef uintptr_t (*CvBeginProgressNicely)(int32_t reserved, CvHWND owner, int32_t titleHigh,
                                           const char *title);
typedef int32_t (*CvProgressMessage)(uintptr_t progress, int32_t line, int32_t high,
                                     const char *text);
typedef int32_t (*CvCheckForAbortProgress)(uintptr_t progress);
typedef int32_t (*CvMarkProgress)(uintptr_t progress);
typedef int32_t (*CvEndProgress)(uintptr_t *progress);

/* Copies every file that the source pattern names (a directory followed by a
 * wildcard name, HIGH up to 260 used) into the destination directory (written
 * with its trailing '\'), one whole file per disk; when the destination fills
 * up the user is asked to change diskettes, and a "CONTINUE" marker on a
 * source diskette asks for the next one. Answers 0 done (or the user declined
 * the next diskette), 1 a source would not open, 2 a destination file could
 * not be made, 3 nothing matched, 4 the disk is full, 5 no memory, 6 a file is
 * in use by another user, 7 a read failed; every result but 0 and 5 is also
 * shown as message 21000 + result. The caller's strings are not changed. */
CORVA_API int16_t CVXCopyFile(CvHWND owner, uint16_t sourceHigh, const char *source,
                              uint16_t destHigh, const char *dest);
/* Deletes at the destination every file that the source pattern names now;
 * nothing when result (of CVXCopyFile) is 2, 3 or 5. */
CORVA_API void UndoCopy(uint16_t sourceHigh, const char *source, uint16_t destHigh,
                        const char *dest, int16_t result);
/* The step of the copy that makes one destination file from the copy's work
 * record; resultOut receives 2 or 6 on failure and is left alone on success. */
CORVA_API void CreateFileAndTest(void *work, uint16_t destHigh, const char *dest,
                                 int16_t *resultOut);

CORVA_END_DECLS

#endif
