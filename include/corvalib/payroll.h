/** @defgroup payroll Payroll tax tables
 * The payroll tax information file "TaxInfo.Dat" of the company data
 * directory: the per-state tax setup, the filing statuses, the federal 401(k)
 * limit and the version of the tax tables. The file is only read, never
 * written. Texts here are plain NUL-terminated texts with a separate size,
 * not bounded strings. A missing file shows message 21051 and fails.
 * @{ */
#ifndef CORVALIB_PAYROLL_H
#define CORVALIB_PAYROLL_H

#include "base.h"

CORVA_BEGIN_DECLS

#pragma pack(push, 1)

/** One state's section of the file, byte-packed. Flags are 0 or 1; a text the
 * file does not give is all NUL. SIT, SUI, SDI and LIT stand for the state
 * income, unemployment and disability taxes and the local income tax; Ee and
 * Er mark the employee's and the employer's share. The library passes every
 * value on as read. */
typedef struct StateTaxInfo {
  int32_t HasLocalities; /**< the state has localities with taxes of their own */
  uint16_t SUILimit; /**< the value read, cut to 16 bits */
  char Localities[80]; /**< the localities, read only when HasLocalities is 1 */
  int32_t SIT; /**< state income tax */
  int32_t LITPercent; /**< local income tax: the "LITPercent" flag */
  int32_t LITAmount; /**< local income tax: the "LITAmount" flag */
  int32_t LITEr; /**< local income tax, employer share */
  int32_t SUIEe; /**< state unemployment tax, employee share */
  int32_t SDIEe; /**< state disability tax, employee share */
  int32_t SDIEr; /**< state disability tax, employer share */
  int32_t Special; /**< the "Special" flag */
  char SpecialFields[256]; /**< the "SpecialFields" text, at most 255 characters */
  char SIT_CAG[32]; /**< the "SIT_CAG" text, at most 31 characters */
  char SUI_CAG[32]; /**< the "SUI_CAG" text, at most 31 characters */
  char SDI_CAG[32]; /**< the "SDI_CAG" text, at most 31 characters */
  char HC_CAG[32]; /**< the "HC_CAG" text, at most 31 characters */
  char WF_CAG[32]; /**< the "WF_CAG" text, at most 31 characters */
  char SETT_CAG[32]; /**< the "SETT_CAG" text, at most 31 characters */
  char SUI_ER_CAG[32]; /**< the "SUI_ER_CAG" text, at most 31 characters */
  char SDI_ER_CAG[32]; /**< the "SDI_ER_CAG" text, at most 31 characters */
  char HC_ER_CAG[32]; /**< the "HC_ER_CAG" text, at most 31 characters */
  char WF_ER_CAG[32]; /**< the "WF_ER_CAG" text, at most 31 characters */
  char SETT_ER_CAG[32]; /**< the "SETT_ER_CAG" text, at most 31 characters */
  char Statefilingstatus[256]; /**< comma-separated; the first is the default */
  char Localfilingstatus[256]; /**< the same for the state's localities */
} StateTaxInfo;

#pragma pack(pop)

/** The "StateList" of section "General", as stored. 0 with buffer untouched
 * when buffer is null or size < 256; otherwise clears size bytes and is 1 when
 * at least one character was read. */
CORVA_API int32_t NewGetStates(char *buffer, uint16_t size);
/** Fills info from the section of the two-character state code. Only the
 * code's two characters are read: it need not be terminated, and a longer text
 * is taken by its first two. 0 and info untouched when state is null or
 * shorter than 2 characters or info is null;
 * 0 with the record cleared when the file is missing, and 0 when the state has
 * localities but names none. */
CORVA_API int32_t NewGetStateTaxInfo(const char *state, StateTaxInfo *info);
/** Takes the next token of a list from *cursor into token (at most size - 1
 * characters, terminated), stepping the cursor over one separator after it.
 * 0 with token untouched at the end of the text, or when an argument is null
 * or size < 1. A longer token leaves its rest for the next call; with size 1,
 * which holds no character, the token is passed over whole, so every call
 * that answers 1 moves the cursor. */
CORVA_API int32_t GetTokenFromLine(char **cursor, char *token, int32_t size, char separator);
/** Entry index of the filing-status list (loaded on first use) into name:
 * size bytes cleared, at most size - 1 characters; 0 for an index outside
 * the list, a null name or size 0. */
CORVA_API int32_t GetFilingStatus(int32_t index, char *name, uint16_t size);
/** Index of the first entry equal to name (case-sensitive), or -1. */
CORVA_API int32_t GetFilingStatusFromText(const char *name);
/** Whether the state accepts the filing status: one of its own list
 * (Statefilingstatus) when it has one, else any entry of the general list.
 * 0 for a null name. */
CORVA_API int32_t StateFilingStatusIsValidForState(const char *name, const char *state);
/** StateFilingStatusIsValidForState for the state's local list
 * (Localfilingstatus). */
CORVA_API int32_t LocalFilingStatusIsValidForState(const char *name, const char *state);
/** Index in the general list of the state's first filing status
 * (Statefilingstatus); 0 when the state gives none, -1 when the general list
 * lacks it. */
CORVA_API int32_t GetDefaultStateFilingStatus(const char *state);
/** GetDefaultStateFilingStatus for the state's local list (Localfilingstatus). */
CORVA_API int32_t GetDefaultLocalFilingStatus(const char *state);

/** The version text after ";VERSION~" on line 1 (at most 8 characters, a line
 * feed included when the line is short), written as strncpy writes; "Unknown"
 * and 0 without the mark or the file. 0 and nothing written for a null
 * version. */
CORVA_API int32_t GetTaxTableVersionInfo(char *version, uint16_t size);
/** Stores 0.0, then the "401kLimit" of section "Federal" (default 10000.0)
 * read as atof reads it; 0 when the file is missing or limit401k is null. */
CORVA_API int32_t NewGetFederalTaxInfo(double *limit401k);

/** @} */

CORVA_END_DECLS

#endif
