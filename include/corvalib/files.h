/* Buffered files, paths, directories and searches, file copy. */
#ifndef CORVALIB_FILES_H
#define CORVALIB_FILES_H

#include "base.h"

CORVA_BEGIN_DECLS

/* ==== Buffered files =====================================================
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
 * operation that checks it then answers result 6, so closing twice is safe. */

#define CVX_EOL 30
#define CVX_FILE_SIGNATURE 0x2B91FC69u

enum {
  CVX_FILE_DONE = 0, CVX_FILE_FAILED = 1, CVX_FILE_WRONG_USE = 3,
  CVX_FILE_PATH_NOT_FOUND = 4, CVX_FILE_NOT_FOUND = 5, CVX_FILE_NOT_OPEN = 6,
  CVX_FILE_TOO_MANY_OPEN = 7, CVX_FILE_MEDIUM_FULL = 8, CVX_FILE_ACCESS_DENIED = 11
};

/* Directions of a file variable and of CheckFile. */
enum { CVX_DIR_NONE = 0, CVX_DIR_READ = 1, CVX_DIR_WRITE = 2 };

/* Open modes of CvxOpenFile, added together. */
enum {
  CVX_OF_READ = 0, CVX_OF_WRITE = 1, CVX_OF_READWRITE = 2,
  CVX_OF_SHARE_EXCLUSIVE = 16, CVX_OF_SHARE_DENY_WRITE = 32,
  CVX_OF_SHARE_DENY_READ = 48, CVX_OF_SHARE_DENY_NONE = 64, CVX_OF_CREATE = 4096
};

#pragma pack(push, 1)

/* The file variable, 281 bytes, fields without gaps. */
typedef struct CvxFileType {
  int32_t result;      /* result code of the last operation */
  uint8_t eof;         /* end of the file (reading) or medium full (writing) */
  uint8_t isNew;       /* 1 when the open created the file */
  uint16_t lastCount;  /* bytes moved by the last block transfer */
  uint16_t handle;     /* the system handle; 0 after Close */
  int32_t direction;   /* CVX_DIR_NONE, CVX_DIR_READ or CVX_DIR_WRITE */
  uint8_t again;       /* 1: the last item read is delivered once more */
  int16_t lastItem;    /* last character (sign-widened) or word read */
  char buffer[256];
  uint16_t bufIndex;   /* reading: next byte to deliver; writing: bytes waiting */
  uint16_t bufCount;   /* reading: bytes held */
  uint32_t signature;  /* CVX_FILE_SIGNATURE once opened */
} CvxFileType;

/* A byte range to lock: where it starts and how long it is. */
typedef struct CvxLockRegion {
  int32_t start;
  int32_t length;
} CvxLockRegion;

#pragma pack(pop)

/* Opening and creating. On failure the file variable stays unopened. */

/* An existing file for reading and writing, others may read only. With create
 * 1 a missing file is made (as Create32). */
CORVA_API void Lookup(CvxFileType *file, uint16_t high, const char *name, uint8_t create);
/* An existing file; shared 1 lets others write too, readOnly 1 opens for
 * reading only. isNew 0, eof 0. */
CORVA_API void MultiLookup(CvxFileType *file, uint16_t high, const char *name, uint8_t shared,
                           uint8_t readOnly, uint8_t create);
/* Makes the file empty (replacing one that exists); read and write, exclusive.
 * isNew 1, eof 1. */
CORVA_API void Create(CvxFileType *file, uint16_t high, const char *name);
/* Makes the file only when it is missing (an existing one keeps its
 * contents); read and write, exclusive. isNew 1, eof 1. */
CORVA_API void Create32(CvxFileType *file, uint16_t high, const char *name);
/* Opens with a CVX_OF_ mode and returns the system handle, or -1. The second
 * 16-bit word of *errorRecord receives the system error of a failed step;
 * nothing else of the record is touched (null: nothing is written). */
CORVA_API int32_t CvxOpenFile(const char *name, void *errorRecord, uint32_t mode);

/* Buffered reading and writing. */

/* The next character (0 at the end of the file, with eof 1). */
CORVA_API void ReadChar(CvxFileType *file, char *ch);
/* The next two bytes, low byte first, without line-end translation. */
CORVA_API void ReadWord(CvxFileType *file, uint16_t *w);
/* Writes one character; CVX_EOL is written as CR LF. */
CORVA_API void WriteChar(CvxFileType *file, char ch);
/* Writes a word, low byte first. */
CORVA_API void WriteWord(CvxFileType *file, uint16_t w);
/* The last character or word read is delivered once more by the next read. */
CORVA_API void Again(CvxFileType *file);
/* Reads a line into the bounded string (line, HIGH) without its line end and
 * returns the characters stored. A line longer than HIGH is cut there and the
 * next call goes on with the rest: HIGH 3 on "ABCDEF" gives "ABC", then "DEF". */
CORVA_API uint16_t ReadLn(CvxFileType *file, uint16_t high, char *line);
/* Writes the text of the bounded string and a line end; returns the
 * characters written plus 2 for the line end ("AB" gives 4). */
CORVA_API uint16_t WriteLn(CvxFileType *file, uint16_t high, const char *line);
/* Refills the buffer; 1 when at least one byte came. */
CORVA_API uint8_t FillBuffer(CvxFileType *file);

/* Transfers at the system's position of the file that neither use nor flush
 * the buffer. ReadBlock, WriteBlock and FillBuffer check only the signature
 * (result 6), not the direction; after Close they fail with result 1. */
CORVA_API uint8_t ReadBlock(CvxFileType *file, uint16_t count, void *data);
CORVA_API uint8_t WriteBlock(CvxFileType *file, uint16_t count, const void *data);
/* Any size in one transfer; a block that moves short fails (reading: result
 * 1 and eof 1; writing: result 8). A negative size moves nothing and fails
 * with 1. */
CORVA_API uint8_t ReadLongBlock(CvxFileType *file, int32_t size, void *data);
CORVA_API uint8_t WriteLongBlock(CvxFileType *file, int32_t size, const void *data);

/* Position and state. */

/* Writes a waiting write buffer, then moves to position (bytes from the
 * start); a position below 0 gives result 1 and changes nothing else. */
CORVA_API void SetPos(CvxFileType *file, int32_t position);
/* The logical position, the buffer taken into account. */
CORVA_API void GetPos(CvxFileType *file, int32_t *position);
/* The file's length, without bytes still waiting in a write buffer; not
 * written when the result of the previous operation was not 0. */
CORVA_API void FileLength(CvxFileType *file, int32_t *length);
/* Back to the start, ready for reading or writing anew. */
CORVA_API void FileReset(CvxFileType *file);
/* The system handle, or 0 when the file variable is not open. */
CORVA_API uint16_t GetHandle(CvxFileType *file);
/* Checks the signature (and that the file is not closed) and, for direction 1
 * or 2, that the file variable is not used the other way; a direction above
 * 2 is wrong use (result 3). */
CORVA_API uint8_t CheckFile(CvxFileType *file, int32_t direction);
/* Writes what waits in the buffer and closes the file. */
CORVA_API void Close(CvxFileType *file);
/* Has the system write its buffers of the file to the disk (the file
 * variable's own buffer is not written). */
CORVA_API void Flush(CvxFileType *file);

/* Locks. Between processes and between two file variables of one process,
 * a byte range locked through one cannot be locked through another until it
 * is unlocked, the file is closed or the holder's process ends. */

/* Locks the region; a region held elsewhere is tried again once a second, 10
 * times in all. 1 when the region is now locked. */
CORVA_API uint8_t Lock(CvxFileType *file, CvxLockRegion *region);
/* Unlocks a region locked exactly so by this file variable; 0, or the error
 * number (13 when the region is not locked so, 9 for a file variable that is
 * not open, 22 for a bad region). */
CORVA_API uint16_t UnLock(CvxFileType *file, CvxLockRegion *region);
/* 0 only when the system cannot lock byte ranges at all. */
CORVA_API uint8_t ShareIsLoaded(CvxFileType *file);

/* ==== Paths and directories ============================================== */

/* ==== End of paths and directories ======================================= */

CORVA_END_DECLS

#endif
