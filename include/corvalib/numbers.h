/** @defgroup numbers Numbers and money
 * Real arithmetic, number and money formatting and parsing, amounts in words.
 * @{ */
#ifndef CORVALIB_NUMBERS_H
#define CORVALIB_NUMBERS_H

#include "base.h"

CORVA_BEGIN_DECLS

/** @defgroup numbers_real_arithmetic Real arithmetic
 * Amounts and quantities are doubles. The currency digits, their scale and half
 * unit, and the real precision come from the regional and application settings
 * (2 digits, 100.0, 0.005 and precision 2 until they are read).
 * @{ */

/** Rounded to the currency digits, halves away from zero, with a bias of 1e-11
 * of the last digit so that a decimal 5 rounds up even when its binary value
 * lies just below: Round(1.005) is 1.01, Round(-2.675) is -2.68. The sign is
 * put back after rounding, so Round(-0.004) is -0.0. A value already beyond
 * the last digit's resolution (magnitude times the scale of 2^52 or more,
 * infinities, NaN) comes back unchanged. */
CORVA_API double Round(double x);
/** The same at five decimal places, bias 1e-14 of the fifth decimal. */
CORVA_API double Round5(double x);
/** 1 when the magnitude is below the currency half unit (0.005 is not zero). */
CORVA_API uint8_t IsZero(double x);
/** 1 when the magnitude is below half a unit of the real precision's last place:
 * 5 / 10^(precision + 1), computed on each call. */
CORVA_API uint8_t IsZero5(double x);
/** 1 when the magnitude is below 5e-8. */
CORVA_API uint8_t IsZero7(double x);
/** 0.0 when a or b equals 0.0 (-0.0 too); otherwise a / b. Never divides by zero. */
CORVA_API double SafeDivide(double a, double b);
/** Stores +0.0 at out (null: nothing). */
CORVA_API void ZeroReal(double *out);
/** 1 when the sizes are equal and so are the first size bytes. Different sizes
 * give 0 without reading; sizes 0 give 1; a null address with a size gives 0. */
CORVA_API uint8_t Equal(uint32_t size_a, const void *a, uint32_t size_b, const void *b);
/** 1 when the text is not empty (its first character is not NUL); high is not
 * read. A null text gives 0. */
CORVA_API int32_t IsPseudoNumber(uint16_t high, const char *s);

/** @} */

/** @defgroup numbers_number_and_money_formatting Number and money formatting
 * Right-aligned texts with the regional decimal symbol and thousands
 * separator; no currency symbol. A number of 1e9 or more in magnitude, NaN or
 * an infinity never prints: it gives question marks. A NUL decimal symbol
 * stands for "."; a NUL thousands separator, or one equal to the decimal
 * symbol, inserts none (the text would read back as another number).
 * @{ */

/** The formatting core: writes x at *pos right-aligned in width characters with
 * (width - whole_width) decimals, a "-" before a negative value (also -0.00),
 * advances *pos past it, puts a NUL there and sets *done to 1. It fails when
 * whole_width > width, width >= 31, width + *pos >= high, or the text (at most
 * 31 characters) would pass high: then dest is "?" from *pos to high - 1,
 * *pos becomes high, dest[high] is NUL and *done is 0. */
CORVA_API void RealToStringFixed(double x, uint16_t width, uint16_t whole_width, uint16_t high,
                                 char *dest, uint16_t *pos, uint8_t *done);
/** Replaces dest with x right-aligned in (width - 2) characters with `decimals`
 * decimals, the decimal symbol and thousands separators; each separator takes
 * the place of a leading blank, so grouping stops where the blanks run out, and
 * 0 decimals give no separators. high < width: high question marks. A width
 * below 2 or too many decimals: question marks.
 *
 *     MyRealToString(1234567.891, 39, d, 2, 18) gives "    1,234,567.89".
 */
CORVA_API void MyRealToString(double x, uint16_t high, char *dest, uint16_t decimals,
                              uint16_t width);
/** The same, for quantities. */
CORVA_API void MyQtyToString(double x, uint16_t high, char *dest, uint16_t decimals,
                             uint16_t width);
/** An amount with the currency digits in a field of min(18, high) (width - 2
 * characters of text, see MyRealToString). negate changes the sign first; an
 * amount below the currency half unit prints as 0 without a sign. sign_style
 * ' ' prints the magnitude; '<' prints a negative amount as <1,234.50> and a
 * positive one with a trailing blank (field min(18, high - 1)); any other
 * character ('-') a leading minus. */
CORVA_API void DollarsToString(double amount, uint16_t high, char *dest, uint8_t negate,
                               char sign_style);
/** Appends the amount (DollarsToString into 20 characters, leading blanks
 * removed) after dest's text; while it is longer than width the leftmost
 * thousands separators go, and then width question marks stand for it. The
 * piece is right-justified in all the room left in dest (as AppendWithJustify
 * does), so its last character lands at high - 1. */
CORVA_API void AppendRtoString(uint16_t high, char *dest, double amount, uint16_t width,
                               char sign_style);
/** Appends x with the currency digits and no separators, right-justified like
 * AppendRtoString; width question marks when it is longer than width. */
CORVA_API void AppendRtoStringNoComma(uint16_t high, char *dest, double x, uint16_t width);

/** @} */

/** @defgroup numbers_number_and_money_parsing Number and money parsing
 * A number is leading white space, an optional "+" or "-", digits with an
 * optional "." and an optional exponent; hexadecimal forms, "inf" and "nan"
 * are not numbers. A number too large for a double gives 0.0 and 0.
 * @{ */

/** Converts the text of s from *pos to its NUL: *result is the value of the
 * number at its start (0.0 when there is none), *done 1 when the whole text
 * was one number (an empty text is: 0.0 and 1). A text of 31 characters or
 * more, or one without a NUL before the array ends, gives 0.0 and 0. *pos is
 * left at the end of the text. */
CORVA_API void StringToReal(uint16_t high, const char *s, uint16_t *pos, double *result,
                            uint8_t *done);
/** Rewrites s into the form StringToReal reads: every thousands separator
 * deleted, the first decimal symbol made ".", leading and trailing blanks
 * removed. A NUL separator, or one equal to the decimal symbol, deletes
 * nothing (the character is taken as the decimal symbol). */
CORVA_API void PrepString4RealConv(uint16_t high, char *s);
/** Reads an amount: the text prepared, an optional leading "-", and with the
 * automatic decimal point on a text without "." takes its point before the
 * last currency digits (2 digits: "12345" is 123.45, "5" is 0.05, "" is 0.0).
 * 1 when the whole prepared text was a number; "12abc" gives 0 and 12.0, and
 * "(5)", "5-" and "5CR" give 0. A prepared text (with any point and zeros put
 * in) of more than 20 characters gives 0 and 0.0: no typed digit is dropped. */
CORVA_API uint8_t MyStringToReal(uint16_t high, const char *s, double *result);
/** The same for a quantity, the point placed by the real precision and the
 * result rounded at it (also when the answer is 0): "1.005" gives 1.01. */
CORVA_API uint8_t MyStringToQty(uint16_t high, const char *s, double *result);
/** MyStringToReal without the automatic decimal point. */
CORVA_API uint8_t MyStringToRealWithNoExtras(uint16_t high, const char *s, double *result);
/** The same operation, for quantities: no automatic decimal point, no rounding. */
CORVA_API uint8_t MyStringToQtyWithNoExtras(uint16_t high, const char *s, double *result);

/** @} */

/** @defgroup numbers_amount_in_words Amount in words
 * @{ */

/** Clears dest and writes the amount in words for a cheque, cut at high:
 *
 *     1234.56 -> "One Thousand Two Hundred Thirty-Four and 56/100 Dollars",
 *     0.07 -> "Zero and 7/100 Dollars".
 *
 * The cents are the fraction plus 0.005, truncated, so 12.345 gives 35/100 and
 * an amount not rounded to cents with a fraction of 0.995 or more gives 100/100.
 * Amounts from 0 up to (not including) 2,000,000,000; a negative amount, a
 * larger one or NaN leaves dest empty. The words come from the library's
 * string table (numbers 20600 to 20636). */
CORVA_API void AmountToWords(double amount, uint16_t high, char *dest);

/** @} */

/** @} */

CORVA_END_DECLS

#endif
