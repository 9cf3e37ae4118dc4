/** @defgroup messages Messages
 * The message engine shows numbered messages as boxes and keeps an error log.
 *
 * A message reference (uintptr_t) is either a message number (a value below
 * 65536, looked up in the string tables of the library and of every module
 * registered for the string search) or the address of a NUL-terminated text
 * (65536 and up). The engine cannot tell a bad address from a good one: a
 * value of 65536 or more that does not point at a text is the caller's fault.
 *
 * A numbered text starts with its class, which gives the box style (and is
 * removed from the text):
 *
 *     "@" 0x10 stop, OK (0x1010 for 20301, 20315 and 20336)
 *     "!" 0x31 exclamation, OK and Cancel     "%" 0x30 exclamation, OK
 *     "*" 0x40 information, OK                "?" 0x123 Yes/No/Cancel, No default
 *     "^^" 0x124 Yes/No, No default           "^" 0x24 Yes/No, Yes default
 *     "~" 0x1 OK and Cancel                   other (kept) 0x35 Retry and Cancel
 *
 * A "|" after the class gives the box a Help button (the message number is
 * its help context); the bar stays in GetTheMessage's text and in the log.
 * A number that no module holds shows "<unknown message N>" with style 0x35.
 * Markers: "###" a number, "$$$" a text, "%$%" (MessageWithPara) an amount or
 * a text; each substitution fills the first marker of its kind still there.
 *
 * Every message shown is first written to "ERRORLOG.TXT" in the data
 * directory (MyCorvaLibDataPtr->DataPath): 50 lines of 79 bytes, newest
 * first; columns 0-4 the number right-aligned (blank for texts and for
 * numbers outside 1-65535), 7-76 the first 70 characters of the text, then
 * CR LF. Writers lock the file, so programs logging at once lose no line.
 * With no data path, or one that cannot be written, nothing is logged and the
 * box still shows.
 *
 * Showing functions return the button (1 OK, 2 Cancel, 3 Abort, 4 Retry,
 * 5 Ignore, 6 Yes, 7 No), or 0 when their work buffer cannot be had. While
 * the application is not the active one (AppActive 0 with MainWindow set) a
 * box that is not system-modal waits, flashing the main window.
 * @{ */
#ifndef CORVALIB_MESSAGES_H
#define CORVALIB_MESSAGES_H

#include "base.h"

CORVA_BEGIN_DECLS

/** One parameter of MessageWithPara: kind 0 a CARDINAL in value's low 16 bits
 * (fills "###"), kind 1 the address of a double amount (fills "%$%" with the
 * money format, e.g. -1,234.50), kind 2 the address of a NUL-terminated text
 * (fills "%$%"); other kinds are skipped. */
typedef struct MessageParam {
  int32_t kind;    /**< 0 a number, 1 an amount, 2 a text */
  uintptr_t value; /**< the number, or the address of the amount or the text */

} MessageParam;

/** The message (style from its class when ref is a number; the caller's style,
 * text unchanged, when ref is a text). Work buffer of 511 characters. */
CORVA_API uint16_t Message(uint32_t style, uintptr_t ref);
/** As Message, with the first "###" replaced by n. Buffer of 256 characters. */
CORVA_API uint16_t MessageWithCard(uint32_t style, uintptr_t ref, uint16_t n);
/** As Message, with the first "$$$" replaced by s. Buffer of 266 characters. */
CORVA_API uint16_t MessageWithString(uint32_t style, uintptr_t ref, uint16_t shigh, const char *s);
/** The message used as a printf format for the arguments (at most 511
 * characters shown); the log holds the text before formatting. */
CORVA_API uint16_t MessageWithArgs(uint32_t style, uintptr_t ref, ...);
/** Messages first..last joined into one text of at most 1023 characters; the
 * first gives the style, the later ones lose their class. last <= first shows
 * first alone. Numbers outside 0-65535 count as unknown messages. */
CORVA_API uint16_t VeryLongMessage(uint32_t style, int32_t first, int32_t last);
/** A text (at most 511 characters) with the caller's style; logged without a
 * number. A null text shows as an empty one. */
CORVA_API uint16_t MessageStr(uint32_t style, const char *text);
/** A printf format and its arguments (at most 511 characters). */
CORVA_API uint16_t MessageStrArg(uint32_t style, const char *format, ...);
/** A text (at most 256 characters) with the first "###" replaced by n. */
CORVA_API uint16_t MessageStrWithCard(uint32_t style, const char *text, uint16_t n);
/** A text (at most 266 characters) with the first "$$$" replaced by s. */
CORVA_API uint16_t MessageStrWithString(uint32_t style, const char *text, uint16_t shigh,
                                        const char *s);
/** The message with count parameters applied in order. A numbered text keeps
 * its class character (it is not read); the caller's style is used. */
CORVA_API uint16_t MessageWithPara(uint32_t style, uintptr_t ref, int16_t count,
                                   const MessageParam *params);
/** Loads a message into the bounded string (high, buffer). A number sets
 * *style from its class (style may be null) and loses the class; a text is
 * copied and *style is left alone. */
CORVA_API void GetTheMessage(uint32_t *style, uintptr_t ref, uint16_t high, char *buffer);
/** Puts text at the top of the error log under number ref; high is not used. */
CORVA_API void SaveTheMessage(int32_t ref, uint16_t high, const char *text);
/** The library's own path: logged, shown without any application window,
 * caption "Corvantis Library", a leading "|" shown as it is. 2 (Cancel) when
 * the box cannot be put up. Buffer of 256 characters. */
CORVA_API uint16_t Lib_Message(uint32_t style, uintptr_t ref);
/** As Lib_Message, with the first "###" replaced by n. */
CORVA_API uint16_t Lib_MessageWithCard(uint32_t style, uintptr_t ref, uint16_t n);
/** As Lib_Message, with the first "$$$" replaced by s. */
CORVA_API uint16_t Lib_MessageWithString(uint32_t style, uintptr_t ref, uint16_t shigh,
                                         const char *s);


/** @} */

CORVA_END_DECLS

#endif
