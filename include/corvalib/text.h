/** @defgroup text Text
 * Bounded strings, whole-number conversions, text utilities.
 * Every text parameter is a bounded string (high, text), HIGH first; see base.h.
 * A null text pointer reads as the empty text and is never written. Sources may
 * overlap the destination: the result is as if the sources were copied first.
 * @{ */
#ifndef CORVALIB_TEXT_H
#define CORVALIB_TEXT_H

#include "base.h"

CORVA_BEGIN_DECLS

/** @defgroup text_whole_number_conversions Whole-number conversions
 * Each conversion works at a caller-held position (*position), which it leaves
 * just after the last character written or consumed, and sets *done. HIGH 65535
 * is taken as 65534 for the characters put or read (the position must be able
 * to point one past them). A null text reads as the empty text and is never
 * written; a null position or value variable: nothing happens, done is 0.
 * @{ */

/** Writes value right-aligned in at least width characters at *position, then a
 * NUL when the position is still within the array (a text reaching the end of
 * the array gets none). Characters past HIGH are dropped and done is 0:
 * CardToString(12345, 0, ...) into HIGH 2 stores "123", position 3, done 0. */
CORVA_API void CardToString(uint16_t value, uint16_t width, uint16_t high, char *text,
                            uint16_t *position, uint8_t *done);
/** As CardToString, with a leading "-" for a negative value:
 * IntToString(-7, 4) is "  -7". */
CORVA_API void IntToString(int16_t value, uint16_t width, uint16_t high, char *text,
                           uint16_t *position, uint8_t *done);
/** Reads a CARDINAL: digits from *position; the first non-digit ends the number and is left
 * for the caller. done is 1 when at least one digit was read without passing
 * the largest value; on overflow the position stays at the digit that would
 * pass it and *value holds what was read before it ("65536" gives 6553). */
CORVA_API void StringToCard(uint16_t high, const char *text, uint16_t *position,
                            uint16_t *value, uint8_t *done);
/** As StringToCard, for a 32-bit unsigned value; the largest value is
 * 4294967294: "4294967295" is refused. */
CORVA_API void StringToUnsignedLong(uint16_t high, const char *text, uint16_t *position,
                                    uint32_t *value, uint8_t *done);
/** As StringToCard, for a byte; the largest value is 254: "255" is refused. */
CORVA_API void StringToUnsignedChar(uint16_t high, const char *text, uint16_t *position,
                                    uint8_t *value, uint8_t *done);
/** Reads an INTEGER: an optional "-" or "+", then digits; -32768 to 32767. When done is 0, *value
 * is left as it was and the position stays where the reading stopped (after a
 * sign: "-" alone leaves it at 1). */
CORVA_API void StringToInt(uint16_t high, const char *text, uint16_t *position, int16_t *value,
                           uint8_t *done);
/** As StringToInt, for -2147483642 to 2147483641 (not the whole 32-bit range). */
CORVA_API void StringToLong(uint16_t high, const char *text, uint16_t *position,
                            int32_t *value, uint8_t *done);
/** Skips leading spaces, then reads digits from the start of the text; *value is
 * what was read: 0 without digits, the digits before the overflow point for a
 * number too large ("70000" gives 7000). No position, no done flag. */
CORVA_API void MyStringToCard(uint16_t high, const char *text, uint16_t *value);

/** @} */

/** @defgroup text_bounded_strings Bounded strings
 * @{ */

/** Characters before the first NUL; high + 1 when the array holds none. */
CORVA_API uint16_t Length(uint16_t high, const char *text);
/** dest := source, cut to dest's high, NUL-filled to the end. */
CORVA_API void Assign(uint16_t shigh, const char *source, uint16_t dhigh, char *dest);
/** Assign, then Trim. */
CORVA_API void AssignWithTrim(uint16_t shigh, const char *source, uint16_t dhigh, char *dest);
/** Inserts before position (a position past the end appends). When it does not
 * fit, the inserted text wins over the target's tail:
 * Insert("XY" into "abcd" at 1, high 4) gives "aXYb". */
CORVA_API void Insert(uint16_t ihigh, const char *inserted, uint16_t thigh, char *target,
                      uint16_t position);
/** Removes count characters from position; nothing when count is 0 or the
 * position is past the end. */
CORVA_API void Delete(uint16_t high, char *text, uint16_t position, uint16_t count);
/** Position of the pattern in the text, or the text's high + 1 when absent. An
 * empty pattern is found at the end of the text: Pos("", "abc") is 3. */
CORVA_API uint16_t Pos(uint16_t phigh, const char *pattern, uint16_t thigh, const char *text);
/** dest := count characters of source from position (of the part of source that
 * fits dest); empty when position is at or past that part. */
CORVA_API void Copy(uint16_t shigh, const char *source, uint16_t position, uint16_t count,
                    uint16_t dhigh, char *dest);
/** dest := first, then Append second. */
CORVA_API void Concat(uint16_t fhigh, const char *first, uint16_t shigh, const char *second,
                      uint16_t dhigh, char *dest);
/** Inserts source at the end of dest, cutting source's tail. */
CORVA_API void Append(uint16_t dhigh, char *dest, uint16_t shigh, const char *source);
/** Copies source into all the room after dest's text and justifies it there
 * (mode 0 left, 1 centre, 2 right); width is accepted and does not take part. */
CORVA_API void AppendWithJustify(uint16_t dhigh, char *dest, uint16_t shigh, const char *source,
                                 uint16_t width, uint16_t mode);
/** 1, 0 or -1; characters compare as signed 8-bit values, so a text continued
 * by a character from 0x80 up sorts before its prefix. */
CORVA_API int16_t CompareStr(uint16_t ahigh, const char *a, uint16_t bhigh, const char *b);
/** Pads with spaces or cuts to exactly width (at most high) characters;
 * mode 0 left, 1 centre (an odd space goes right), 2 right, others no padding. */
CORVA_API void Justify(uint16_t high, char *text, uint16_t width, uint16_t mode);
/** Justify with mode 0: the text first, spaces after it. */
CORVA_API void JustifyLeft(uint16_t high, char *text, uint16_t width);
/** Justify with mode 1: centred, an odd space going to the right. */
CORVA_API void JustifyCenter(uint16_t high, char *text, uint16_t width);
/** Justify with mode 2: spaces first, the text ending at width. */
CORVA_API void JustifyRight(uint16_t high, char *text, uint16_t width);
/** Removes trailing spaces. Only the space character 0x20 is trimmed. */
CORVA_API void TrimRight(uint16_t high, char *text);
/** Removes leading spaces (0x20 only). It first puts a NUL at position high,
 * so a text filling the whole array loses its last character. */
CORVA_API void TrimLeft(uint16_t high, char *text);
/** TrimRight, then TrimLeft. */
CORVA_API void Trim(uint16_t high, char *text);
/** Upper-cases in place with the code page's mapping; a text filling the whole
 * array first loses its last character. */
CORVA_API void UpperCase(uint16_t high, char *text);
/** Removes the first occurrence of the pattern and returns its position; -1 and
 * no change when there is none. */
CORVA_API int16_t FindString(uint16_t thigh, char *text, uint16_t phigh, const char *pattern);
/** Replaces the first occurrence of the pattern. */
CORVA_API void FindAndReplace(uint16_t thigh, char *text, uint16_t phigh, const char *pattern,
                              uint16_t rhigh, const char *replacement);
/** Overwrites count characters at position with source (at most 80 characters)
 * right-justified in a field of count characters. */
CORVA_API void Replace(uint16_t high, char *text, uint16_t position, uint16_t shigh,
                       const char *source, uint16_t count);
/** Replaces the first occurrence of a plain-string pattern (null: no change). */
CORVA_API void ReplaceString(uint16_t high, char *text, const char *pattern,
                             const char *replacement);
/** Replaces the first "###" with the number in decimal. */
CORVA_API void InsertCard(uint16_t high, char *text, uint16_t number);
/** Replaces the first "$$$" with the inserted text. */
CORVA_API void InsertString(uint16_t high, char *text, uint16_t ihigh, const char *inserted);
/** Copies at most size characters (NUL-filling the rest of size) and puts a NUL
 * at size - 1. Size 0 or less, or a null pointer: nothing. Returns dest. */
CORVA_API char *sstrcpy(char *dest, const char *source, int16_t size);
/** Appends within size bytes of dest; returns where the source was placed. A
 * dest with no NUL within size is left unchanged and dest + size returned. */
CORVA_API char *sstrcat(char *dest, const char *source, int16_t size);
/** Copies source characters to *dest while *room is not 0, advancing *dest and
 * counting *room down; writes no terminator. Returns the characters copied. */
CORVA_API int16_t RunningStringCopy(const char *source, char **dest, uint32_t *room);
/** A heap copy (free with _RealDeAllocate); null for null or when memory runs
 * out. Texts longer than 65534 characters are cut to 65534. */
CORVA_API char *lstrdup(const char *text);

/** @} */

/** @defgroup text_utilities Text utilities
 * @{ */

/** Steps the number in a reference up / down by one. The number is the last
 * run of digits; what is around it stays: "INV-0099-A" steps up to
 * "INV-0100-A" and back. All nines grow by a digit when the array has room
 * ("99" gives "100"), else they become zeros ("A9" in HIGH 1 gives "A0").
 * Going down, a run of 7 or more digits that gains a leading zero loses it
 * ("1000000" gives "999999"); shorter runs keep their width ("100" gives
 * "099"); a number that is all zeros stays as it is. A text without digits
 * gets "1" (up) or "0" (down) at its end, or at position high - 1 when there
 * is no room ("ABC" in HIGH 3 gives "AB1"); in an array of HIGH 0 it is left
 * alone. Empty texts stay empty. */
CORVA_API void TextIncrement(uint16_t high, char *text);
/** Steps the number in a reference down by one; see TextIncrement for the
 * rules: "INV-0100-A" gives "INV-0099-A", "100" gives "099". */
CORVA_API void TextDecrement(uint16_t high, char *text);

/** Two plain strings. 0 when text matches mask, where "*" stands for exactly
 * one character and a run of trailing "*" also matches a shorter text
 * ("AB1" and "AB12" match "AB**", "AB123" does not). Otherwise 1 or -1 in
 * the manner of a comparison, characters as signed 8-bit values; a longer
 * text gives 1. An empty or null mask matches everything. */
CORVA_API int16_t MatchMask(const char *text, const char *mask);
/** Moves the first line of text, at most line_high characters, into line:
 * up to a line feed, else broken after the last whitespace when the line
 * fills up inside a word (a word longer than the line is cut). Whitespace
 * at the end of the line and after it in the text is dropped. 1 when the
 * line received a character; 0, and an all-NUL line, for an empty text. A
 * line of HIGH 0 takes nothing, so the text keeps its words. Null line: 0,
 * the text untouched. */
CORVA_API int32_t LineWrapper(uint16_t line_high, char *line, uint16_t text_high, char *text);
/** Doubles every "&" before position high, cutting the text at high:
 * "Save & Exit" gives "Save && Exit". */
CORVA_API void FixPrefix(uint16_t high, char *text);

/** @} */

/** @} */

CORVA_END_DECLS

#endif
