/* Bounded strings, amounts and dates from C.
 *
 * A bounded string is a char array and its HIGH, the index of its last
 * element: the array holds HIGH + 1 characters and the text ends at the first
 * NUL or fills the array. The HIGH of `char a[N]` is N - 1, so every call
 * below passes HIGH(a). No function ever writes past HIGH, whatever it is
 * given.
 *
 * Number and date texts follow the regional settings (WIN.INI, section
 * [intl]); the outputs quoted in the comments are those of the built-in
 * settings: month-day-year, "-" between the parts of a short date, "." for
 * decimals, "," between thousands and two currency digits.
 *
 * Build: cc bounded_text.c $(pkg-config --cflags --libs corvalib) */
#include <corvalib.h>
#include <stdio.h>
#include <string.h>

#define HIGH(array) ((uint16_t)(sizeof(array) - 1))

static int failures = 0;

/* Prints a result, and counts it as a failure when it differs from what the
 * comments promise (the example doubles as a smoke test). */
static void show(const char *what, const char *text, const char *expected) {
  int same = expected == NULL || strcmp(text, expected) == 0;
  printf("%-22s \"%s\"%s\n", what, text, same ? "" : "   <-- unexpected");
  if (!same) failures++;
}

static void strings(void) {
  char name[31];  /* HIGH 30 */
  char field[11]; /* HIGH 10: a narrow column */

  /* Assign cuts to the destination and NUL-fills the rest of the array. */
  Assign(HIGH("Harbour Timber"), "Harbour Timber", HIGH(name), name);
  Append(HIGH(name), name, HIGH(" Ltd."), " Ltd.");
  show("Assign + Append", name, "Harbour Timber Ltd.");

  /* Too long for the column: the text is cut, never overflows. */
  Assign(HIGH(name), name, HIGH(field), field);
  show("cut to HIGH 10", field, "Harbour Ti");


  /* Justify pads or cuts to an exact width: mode 2 is right. */
  Assign(HIGH("42"), "42", HIGH(field), field);
  Justify(HIGH(field), field, 6, 2);
  show("Justify right, 6", field, "    42");

  /* Templates: "###" takes a number, "$$$" a text. */
  Assign(HIGH("Invoice ### for $$$"), "Invoice ### for $$$", HIGH(name), name);
  InsertCard(HIGH(name), name, 1207);
  InsertString(HIGH(name), name, HIGH("Harbour"), "Harbour");
  show("InsertCard/String", name, "Invoice 1207 for Harbour");

  /* Reference numbers step up keeping their shape. */
  Assign(HIGH("INV-0099-A"), "INV-0099-A", HIGH(field), field);
  TextIncrement(HIGH(field), field);
  show("TextIncrement", field, "INV-0100-A");
}

static void amounts(void) {
  char text[19]; /* HIGH 18: the widest money field */
  char words[81];
  double amount = 0.0;

  /* Reading what a user typed: thousands separators are allowed; with the
   * automatic decimal point on, "1234567" would mean 12,345.67, so type the
   * point. */
  if (!MyStringToReal(HIGH("1,234.5"), "1,234.5", &amount)) {
    printf("\"1,234.5\" did not read as an amount\n");
    failures++;
  }

  /* Money is right-aligned in its field; '<' shows a negative amount in angle
   * brackets. Leading blanks are trimmed here for printing. */
  DollarsToString(amount, HIGH(text), text, 0, '-');
  Trim(HIGH(text), text);
  show("DollarsToString", text, "1,234.50");
  DollarsToString(-amount, HIGH(text), text, 0, '<');
  Trim(HIGH(text), text);
  show("negative, style '<'", text, "<1,234.50>");

  /* Rounding is to the currency digits, halves away from zero. */
  snprintf(text, sizeof text, "%.2f", Round(2.675));
  show("Round(2.675)", text, "2.68");

  /* The amount in words for a cheque. */
  AmountToWords(amount, HIGH(words), words);
  show("AmountToWords", words, "One Thousand Two Hundred Thirty-Four and 50/100 Dollars");
}

static void dates(void) {
  char text[31];
  uint32_t due = 0, invoiced = 0;

  /* A typed date: the parts follow the regional order; a missing year comes
   * from the default date given. */
  MakeDate(1, 31, 2026, &invoiced);
  ShortStrToDate(HIGH("1/31"), "1/31", &due, invoiced);
  if (!IsLegalDate(due) || CompareDates(due, invoiced) != 0) failures++;

  /* A month after 31 January is the end of February. */
  IncDate(&due, CORVA_STEP_MONTH);
  DateToLongStr(due, HIGH(text), text);
  show("a month later", text, "February 28, 2026");
  DateToShortStr(due, HIGH(text), text);
  show("short form", text, "2-28-26");

  /* Day numbers count days; DayOfWeek names them. */
  printf("%-22s %ld days\n", "payment term", (long)(AbsDate(due) - AbsDate(invoiced)));
  GetDayName((int16_t)DayOfWeek(AbsDate(due)), HIGH(text), text);
  show("due on a", text, "Saturday");
}

int main(void) {
  strings();
  amounts();
  dates();
  return failures == 0 ? 0 : 1;
}
