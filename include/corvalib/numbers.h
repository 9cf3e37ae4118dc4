/* Real arithmetic, number and money formatting and parsing, amounts in words. */
#ifndef CORVALIB_NUMBERS_H
#define CORVALIB_NUMBERS_H

#include "base.h"

CORVA_BEGIN_DECLS

/* ---- Real arithmetic -------------------------------------------------------
 * Amounts and quantities are doubles. The currency digits, their scale and half
 * unit, and the real precision come from the regional and application settings
 * (2 digits, 100.0, 0.005 and precision 2 until they are read). */

/* Rounded to the currency digits, halves away from zero, with a bias of 1e-11
 * of the last digit so that a decimal 5 rounds up even when its binary value
 * lies just below: Round(1.005) is 1.01, Round(-2.675) is -2.68. The sign is
 * put back after rounding, so Round(-0.004) is -0.0. A value already beyond
 * the last digit's resolution (magnitude times the scale of 2^52 or more,
 * infinities, NaN) comes back unchanged. */
CORVA_API double Round(double x);
/* The same at five decimal places, bias 1e-14 of the fifth decimal. */
CORVA_API double Round5(double x);
/* 1 when the magnitude is below the currency half unit (0.005 is not zero). */
CORVA_API uint8_t IsZero(double x);
/* 1 when the magnitude is below half a unit of the real precision's last place:
 * 5 / 10^(precision + 1), computed on each call. */
CORVA_API uint8_t IsZero5(double x);
/* 1 when the magnitude is below 5e-8. */
CORVA_API uint8_t IsZero7(double x);
/* 0.0 when a or b equals 0.0 (-0.0 too); otherwise a / b. Never divides by zero. */
CORVA_API double SafeDivide(double a, double b);
/* Stores +0.0 at out (null: nothing). */
CORVA_API void ZeroReal(double *out);
/* 1 when the sizes are equal and so are the first size bytes. Different sizes
 * give 0 without reading; sizes 0 give 1; a null address with a size gives 0. */
CORVA_API uint8_t Equal(uint32_t size_a, const void *a, uint32_t size_b, const void *b);
/* 1 when the text is not empty (its first character is not NUL); high is not
 * read. A null text gives 0. */
CORVA_API int32_t IsPseudoNumber(uint16_t high, const char *s);

CORVA_END_DECLS

#endif
