/** @defgroup files Files
 * Buffered record files with locks, paths, directories and searches, file copy.
 * @{ */
#ifndef CORVALIB_FILES_H
#define CORVALIB_FILES_H

#include "base.h"

CORVA_BEGIN_DECLS

/** @defgroup files_buffered Buffered files

 *
 * A file variable is a record that the caller owns and passes by address to
 * every operation. It holds the open file's handle, the result code of the
 * last operation, an end-of-file mark and a 256-byte buffer. Text passes
 * through the buffer character by character or line by line; the line ends
 * CR, CR LF and LF each read as one character CVX_EOL (30), which is written
 * as CR LF, and Ctrl-Z (26) ends a text. A file variable reads or writes, not
 * both: the first character or word operation fixes the direction, and only
 * FileReset (or a new open) frees it again.
 *
 * Result codes (file->result): 0 done, 1 failed, 3 wrong use, 4 path not
 * found, 5 file not found, 6 not an open file variable, 7 too many open
 * files, 8 medium full, 11 access denied (a file another user holds: denied
 * by the system or by the sharing mode of another open).
 *
 * File names are NUL-terminated; the HIGH passed with a name is not used. A
 * name longer than 259 characters is refused (result 4).
 *
 * After Close the file variable keeps its signature with handle 0; every
 * operation that checks it then answers result 6, so closing twice is safe.
 * @{ */

/** The character that stands for a line end (CR, CR LF or LF) in a text. */
#define CVX_EOL 30
/** The mark an opened file variable carries in its signature field. */
#define CVX_FILE_SIGNATURE 0x2B91FC69u

/** Result codes of the file operations (file->result). */
enum {
  CVX_FILE_DONE = 0, CVX_FILE_FAILED = 1, CVX_FILE_WRONG_USE = 3,
  CVX_FILE_PATH_NOT_FOUND = 4, CVX_FILE_NOT_FOUND = 5, CVX_FILE_NOT_OPEN = 6,
  CVX_FILE_TOO_MANY_OPEN = 7, CVX_FILE_MEDIUM_FULL = 8, CVX_FILE_ACCESS_DENIED = 11
};

/** Directions of a file variable and of CheckFile: none yet, reading, writing. */
enum { CVX_DIR_NONE = 0, CVX_DIR_READ = 1, CVX_DIR_WRITE = 2 };

/** Open modes of CvxOpenFile, added together. */
enum {
  CVX_OF_READ = 0, CVX_OF_WRITE = 1, CVX_OF_READWRITE = 2,
  CVX_OF_SHARE_EXCLUSIVE = 16, CVX_OF_SHARE_DENY_WRITE = 32,
  CVX_OF_SHARE_DENY_READ = 48, CVX_OF_SHARE_DENY_NONE = 64, CVX_OF_CREATE = 4096
};

#pragma pack(push, 1)

/** The file variable, 281 bytes, fields without gaps. */
typedef struct CvxFileType {
  int32_t result;      /**< result code of the last operation */
  uint8_t eof;         /**< end of the file (reading) or medium full (writing) */
  uint8_t isNew;       /**< 1 when the open created the file */
  uint16_t lastCount;  /**< bytes moved by the last block transfer */
  uint16_t handle;     /**< the system handle; 0 after Close */
  int32_t direction;   /**< CVX_DIR_NONE, CVX_DIR_READ or CVX_DIR_WRITE */
  uint8_t again;       /**< 1: the last item read is delivered once more */
  int16_t lastItem;    /**< last character (sign-widened) or word read */
  char buffer[256];    /**< the bytes on their way to or from the file */
  uint16_t bufIndex;   /**< reading: next byte to deliver; writing: bytes waiting */
  uint16_t bufCount;   /**< reading: bytes held */
  uint32_t signature;  /**< CVX_FILE_SIGNATURE once opened */
} CvxFileType;

/** A byte range to lock: where it starts and how long it is. */
typedef struct CvxLockRegion {
  int32_t start;  /**< the first byte, counted from 0 */
  int32_t length; /**< bytes from start */
} CvxLockRegion;

#pragma pack(pop)

/** @name Opening and creating
 * On failure the file variable stays unopened. */
/** @{ */

/** An existing file for reading and writing, others may read only. With create
 * 1 a missing file is made (as Create32). */
CORVA_API void Lookup(CvxFileType *file, uint16_t high, const char *name, uint8_t create);
/** An existing file; shared 1 lets others write too, readOnly 1 opens for
 * reading only. isNew 0, eof 0. */
CORVA_API void MultiLookup(CvxFileType *file, uint16_t high, const char *name, uint8_t shared,
                           uint8_t readOnly, uint8_t create);
/** Makes the file empty (replacing one that exists); read and write, exclusive.
 * isNew 1, eof 1. */
CORVA_API void Create(CvxFileType *file, uint16_t high, const char *name);
/** Makes the file only when it is missing (an existing one keeps its
 * contents); read and write, exclusive. isNew 1, eof 1. */
CORVA_API void Create32(CvxFileType *file, uint16_t high, const char *name);
/** Opens with a CVX_OF_ mode and returns the system handle, or -1. The second
 * 16-bit word of *errorRecord receives the system error of a failed step;
 * nothing else of the record is touched (null: nothing is written). */
CORVA_API int32_t CvxOpenFile(const char *name, void *errorRecord, uint32_t mode);

/** @} */

/** @name Buffered reading and writing */
/** @{ */

/** The next character (0 at the end of the file, with eof 1). */
CORVA_API void ReadChar(CvxFileType *file, char *ch);
/** The next two bytes, low byte first, without line-end translation. */
CORVA_API void ReadWord(CvxFileType *file, uint16_t *w);
/** Writes one character; CVX_EOL is written as CR LF. */
CORVA_API void WriteChar(CvxFileType *file, char ch);
/** Writes a word, low byte first. */
CORVA_API void WriteWord(CvxFileType *file, uint16_t w);
/** The last character or word read is delivered once more by the next read. */
CORVA_API void Again(CvxFileType *file);
/** Reads a line into the bounded string (line, HIGH) without its line end and
 * returns the characters stored. A line longer than HIGH is cut there and the
 * next call goes on with the rest: HIGH 3 on "ABCDEF" gives "ABC", then "DEF". */
CORVA_API uint16_t ReadLn(CvxFileType *file, uint16_t high, char *line);
/** Writes the text of the bounded string and a line end; returns the
 * characters written plus 2 for the line end ("AB" gives 4). */
CORVA_API uint16_t WriteLn(CvxFileType *file, uint16_t high, const char *line);
/** Refills the buffer; 1 when at least one byte came. */
CORVA_API uint8_t FillBuffer(CvxFileType *file);

/** Reads count bytes at the system's position of the file, neither using nor
 * flushing the buffer; lastCount holds the bytes read and eof is 1 when fewer
 * than count came. 1 unless the system refused the read (result 1). ReadBlock,
 * WriteBlock and FillBuffer check only the signature (result 6), not the
 * direction; after Close they fail with result 1. */
CORVA_API uint8_t ReadBlock(CvxFileType *file, uint16_t count, void *data);
/** Writes count bytes at the system's position of the file, neither using nor
 * flushing the buffer; lastCount holds the bytes written. 1 when all went; a
 * short write sets eof and result 8, a refused one result 1. */

CORVA_API uint8_t WriteBlock(CvxFileType *file, uint16_t count, const void *data);
/** ReadBlock of any size in one transfer; a block that comes short fails
 * (result 1 and eof 1). A negative size moves nothing and fails with 1. */
CORVA_API uint8_t ReadLongBlock(CvxFileType *file, int32_t size, void *data);
/** WriteBlock of any size in one transfer; a block that goes short fails
 * (result 8). A negative size moves nothing and fails with 1. */
CORVA_API uint8_t WriteLongBlock(CvxFileType *file, int32_t size, const void *data);

/** @} */

/** @name Position and state */
/** @{ */

/** Writes a waiting write buffer, then moves to position (bytes from the
 * start); a position below 0 gives result 1 and changes nothing else. */
CORVA_API void SetPos(CvxFileType *file, int32_t position);
/** The logical position, the buffer taken into account. */
CORVA_API void GetPos(CvxFileType *file, int32_t *position);
/** The file's length, without bytes still waiting in a write buffer; not
 * written when the result of the previous operation was not 0. */
CORVA_API void FileLength(CvxFileType *file, int32_t *length);
/** Back to the start, ready for reading or writing anew. */
CORVA_API void FileReset(CvxFileType *file);
/** The system handle, or 0 when the file variable is not open. */
CORVA_API uint16_t GetHandle(CvxFileType *file);
/** Checks the signature (and that the file is not closed) and, for direction 1
 * or 2, that the file variable is not used the other way; a direction above
 * 2 is wrong use (result 3). */
CORVA_API uint8_t CheckFile(CvxFileType *file, int32_t direction);
/** Writes what waits in the buffer and closes the file. */
CORVA_API void Close(CvxFileType *file);
/** Has the system write its buffers of the file to the disk (the file
 * variable's own buffer is not written). */
CORVA_API void Flush(CvxFileType *file);

/** @} */

/** @name Locks
 * Between processes and between two file variables of one process,
 * a byte range locked through one cannot be locked through another until it
 * is unlocked, the file is closed or the holder's process ends. */
/** @{ */

/** Locks the region; a region held elsewhere is tried again once a second, 10
 * times in all. 1 when the region is now locked. */
CORVA_API uint8_t Lock(CvxFileType *file, CvxLockRegion *region);
/** Unlocks a region locked exactly so by this file variable; 0, or the error
 * number (13 when the region is not locked so, 9 for a file variable that is
 * not open, 22 for a bad region). */
CORVA_API uint16_t UnLock(CvxFileType *file, CvxLockRegion *region);
/** 0 only when the system cannot lock byte ranges at all. */
CORVA_API uint8_t ShareIsLoaded(CvxFileType *file);
/** @} */

/** @} */


/** @defgroup files_paths Paths and directories
 * @{ */

/** DOS file names: a drive letter and colon, a directory of parts separated by
 * `\` (or '/'), a name of up to 8 characters and an extension of up to 3 after a
 * dot. "X:" stands for the host directory of CORVALIB_DRIVE_X (C: defaults to
 * "/"), and each part is found without regard to case when its exact case does
 * not exist. Drive numbers count from 0 for A in GetDrive and SetDrive, and
 * from 1 for A (0 the current drive) in GetDiskSpace and GetDir. */

#pragma pack(push, 1)

/** A file name taken apart by ParseFileName. Each field is NUL-filled before it
 * is filled, so a part that fills its field has no NUL; a longer part is cut.
 * `c:\data\co1\ledger.dat` gives "C:", `\data\co1\`, "ledger", ".dat". */
typedef struct CvNameRecord {
  char drive[2];      /**< the drive letter in upper case and its colon, or empty */
  char directory[64]; /**< the directory with its leading and trailing separator */
  char name[8];       /**< the name up to the first dot after the directory */
  char extension[4];  /**< the extension with its dot, or empty */
} CvNameRecord;

/** The find record of the directory searches. */
typedef struct CvFindRecord {
  uint32_t attrib;      /**< 0x01 read-only, 0x02 hidden, 0x10 directory, 0x20 archive */
  int32_t time_create;  /**< seconds since 1970 */
  int32_t time_access;  /**< seconds since 1970 */
  int32_t time_write;   /**< seconds since 1970 */

  uint32_t size;        /**< bytes, cut to 32 bits */
  char name[260];       /**< the found name without its directory */
} CvFindRecord;

#pragma pack(pop)

/** Fills the record from name (a bounded string); always TRUE. HIGH 0 never
 * finds a drive; 'A:' alone gives only the drive; `\` alone only the directory. */
CORVA_API uint8_t ParseFileName(uint16_t high, const char *name, CvNameRecord *record);
/** result := each part of name1, or of name2 where name1 lacks it, in the order
 * drive, directory, name, extension; up to high3 + 1 characters, then a NUL when
 * it fits. '.BAK' with `C:\DATA\LEDGER.DAT` gives `C:\DATA\LEDGER.BAK`. */
CORVA_API void ConstructFileName(uint16_t high1, const char *name1, uint16_t high2,
                                 const char *name2, uint16_t high3, char *result);
/** Appends `\` unless the text is empty or already ends with one. */
CORVA_API void AddBackSlash(uint16_t high, char *path);
/** Makes a new, empty file in the directory for temporary files (name needs room
 * for 260 characters) and returns its number; 0 when it cannot. */
CORVA_API int32_t CVX_GetTempFileName(const char *prefix, char *name);

/** The current drive, 0 for A. */
CORVA_API int32_t GetDrive(void);
/** Makes drive (0 for A) current: 0 when done, -1 when it has no mapping. */
CORVA_API int32_t SetDrive(uint16_t drive);
/** Free bytes of the drive's disk (0 the current drive, 1 for A), at most
 * 0x7FFFFFFF; -1 when the disk cannot be asked. */
CORVA_API int32_t GetDiskSpace(uint16_t drive);
/** Makes a directory (a bounded-string name); TRUE when done. */
CORVA_API uint8_t MakeDir(uint16_t high, const char *path);
/** Removes an empty directory (a bounded-string name); TRUE when done. */
CORVA_API uint8_t RemoveDir(uint16_t high, const char *path);
/** A leading "X:" makes that drive current (that change stays even when the
 * rest fails); then the rest becomes the current directory. TRUE when it did. */
CORVA_API uint8_t SetFullDir(uint16_t high, const char *path);
/** The current directory of drive (0 current, 1 for A) without its drive:
 * `\DATA\CO1`, `\` at the root. FALSE when high < 63 or it does not fit. */
CORVA_API uint8_t GetDir(uint16_t drive, uint16_t high, char *dir);
/** The current directory of the current drive with its drive: `C:\DATA\CO1`. */
CORVA_API uint8_t GetFullDir(uint16_t high, char *dir);

/** Starts a directory search for the pattern and fills find with the first
 * entry; TRUE when there was one. The library keeps one search for the whole
 * process: FindFirst ends the one before it, FindNext goes on with whichever
 * search is open, and the search closes when it reaches its end. attributes
 * is not used. */
CORVA_API uint8_t FindFirst(uint16_t high, const char *pattern, uint16_t attributes,
                            CvFindRecord *find);
/** Fills find with the next entry of the open search; FALSE at its end (the
 * search is then closed) or when none is open. */
CORVA_API uint8_t FindNext(CvFindRecord *find);
/** Ends the open directory search, if any. */
CORVA_API void CloseFinds(void);
/** name holds the pattern on entry and receives the first found name whose
 * attributes equal attribute exactly (0 takes every entry); names that begin
 * with a dot ("." and ".." too) are never returned. */
CORVA_API uint8_t CVXFindFirstFile(CvFindRecord *find, uint16_t high, char *name,
                                   uint8_t attribute);
/** The next such name; note the order of the arguments. */
CORVA_API uint8_t CVXFindNextFile(uint16_t high, char *name, CvFindRecord *find,
                                  uint8_t attribute);
/** Makes the directory current and lists its entries in the dialog's list box
 * listId (its caption in item staticId when not 0); 1 when it listed any. */
CORVA_API int32_t MyDlgDirList(CvHWND dialog, uint16_t high, const char *path, int16_t listId,
                               int16_t staticId, uint8_t attribute);

/** TRUE when the file (or directory) exists. */
CORVA_API uint8_t FileExist(const char *name);
/** 0 when the file was deleted, 1 when not. */
CORVA_API int16_t FileDelete(uint16_t high, const char *name);
/** Deletes name with its extension replaced: `C:\DATA\LEDGER.DAT` with "LCK"
 * deletes `C:\DATA\LEDGER.LCK`; a name without a dot becomes '.LCK'. */
CORVA_API int16_t FileDeleteByExt(const char *name, const char *extension);
/** Deletes the file, then its lock file (extension LCK); answers the latter. */
CORVA_API int16_t FileDeleteWithLCK(uint16_t high, const char *name);
/** Renames (each name cut to 79 characters): 0, or the run-time error number
 * (2 not found, 13 denied - also when the new name exists -, 22 a bad name). */
CORVA_API uint16_t Rename(uint16_t high1, const char *oldName, uint16_t high2,
                          const char *newName);
/** Copies source to destination; with copyData FALSE the destination is left
 * made but empty and the answer is FALSE. */
CORVA_API uint8_t CopyFile2(const char *destination, const char *source, uint8_t copyData);

/** @} */

/** @defgroup files_file_copy File copy
 * @{ */

/** The progress module registered in per-instance slot 5 exports these entry
 * points under the names "_BeginProgressNicely@16", "_ProgressMessage@16",
 * "_CheckForAbortProgress@4", "_MarkProgress@4" and "_EndProgress@4". The copy
 * opens its window with BeginProgressNicely(0, owner, 13, "Copying Files"), a
 * handle of 0 meaning none. */
typedef uintptr_t (*CvBeginProgressNicely)(int32_t reserved, CvHWND owner, int32_t titleHigh,
                                           const char *title);
/** Shows a text on a line of the progress window. */
typedef int32_t (*CvProgressMessage)(uintptr_t progress, int32_t line, int32_t high,
                                     const char *text);
/** Non-zero when the user asked to stop. */
typedef int32_t (*CvCheckForAbortProgress)(uintptr_t progress);
/** Advances the progress mark by one step. */
typedef int32_t (*CvMarkProgress)(uintptr_t progress);
/** Closes the progress window and clears its handle. */
typedef int32_t (*CvEndProgress)(uintptr_t *progress);


/** Copies every file that the source pattern names (a directory followed by a
 * wildcard name, HIGH up to 260 used) into the destination directory (written
 * with its trailing `\`), one whole file per disk; when the destination fills
 * up the user is asked to change diskettes, and a "CONTINUE" marker on a
 * source diskette asks for the next one. Answers 0 done (or the user declined
 * the next diskette), 1 a source would not open, 2 a destination file could
 * not be made, 3 nothing matched, 4 the disk is full, 5 no memory, 6 a file is
 * in use by another user, 7 a read failed; every result but 0 and 5 is also
 * shown as message 21000 + result. The caller's strings are not changed. */
CORVA_API int16_t CVXCopyFile(CvHWND owner, uint16_t sourceHigh, const char *source,
                              uint16_t destHigh, const char *dest);
/** Deletes at the destination every file that the source pattern names now;
 * nothing when result (of CVXCopyFile) is 2, 3 or 5. */
CORVA_API void UndoCopy(uint16_t sourceHigh, const char *source, uint16_t destHigh,
                        const char *dest, int16_t result);
/** The step of the copy that makes one destination file from the copy's work
 * record; resultOut receives 2 or 6 on failure and is left alone on success. */
CORVA_API void CreateFileAndTest(void *work, uint16_t destHigh, const char *dest,
                                 int16_t *resultOut);

/** @} */

/** @} */

CORVA_END_DECLS

#endif
