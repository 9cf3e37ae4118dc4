/* Two processes sharing a record file, with locks.
 *
 * A ledger file starts with a counter record: the next invoice number. Each
 * process takes numbers from it and writes the invoice record the number
 * names. Taking a number is read, add one, write back: without a lock, two
 * processes could read the same value and issue one number twice. With the
 * counter's bytes locked around the update, every number is issued once.
 *
 * The file lives in a temporary directory that the program creates and
 * removes; drive R: is mapped onto it (CORVALIB_DRIVE_R), so the library
 * sees the DOS name R:\LEDGER.DAT.
 *
 * Build: cc shared_records.c $(pkg-config --cflags --libs corvalib) */
#define _POSIX_C_SOURCE 200809L
#include <corvalib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <sys/wait.h>
#include <unistd.h>

#define PER_PROCESS 5
#define INVOICES (2 * PER_PROCESS)
#define LEDGER "R:\\LEDGER.DAT"

/* The records, as they lie in the file. */
typedef struct Counter {
  int32_t next; /* the next invoice number, from 1 */
} Counter;
typedef struct Invoice {
  int32_t number;  /* 0 while the slot is unused */
  int32_t process; /* 1 the first process, 2 the second */
} Invoice;

static int32_t invoice_offset(int32_t number) {
  return (int32_t)(sizeof(Counter) + (size_t)(number - 1) * sizeof(Invoice));
}

/* Takes the next number: lock the counter, read, add one, write, unlock. Lock
 * waits for a counter the other process holds (it tries again once a second,
 * ten times); 0 when it could not be had. */
static int32_t take_number(CvxFileType *file) {
  CvxLockRegion counter = {0, (int32_t)sizeof(Counter)};
  Counter c;
  if (!Lock(file, &counter)) return 0;
  SetPos(file, 0);
  ReadBlock(file, sizeof c, &c);
  c.next++;
  SetPos(file, 0);
  WriteBlock(file, sizeof c, &c);
  UnLock(file, &counter);
  return file->result == CVX_FILE_DONE ? c.next - 1 : 0;
}

/* One process's work: open the shared file (others may read and write it
 * too), take numbers and write the invoices they name. */
static int issue_invoices(int32_t process) {
  const struct timespec pause = {0, 2000000}; /* 2 ms */
  CvxFileType file = {0};
  int i;
  MultiLookup(&file, 0, LEDGER, 1, 0, 0);
  if (file.result != CVX_FILE_DONE) return 1;
  for (i = 0; i < PER_PROCESS; i++) {
    Invoice invoice;
    invoice.number = take_number(&file);
    invoice.process = process;
    if (invoice.number == 0) break;
    /* The invoice's own record needs no lock: nobody else has its number. */
    SetPos(&file, invoice_offset(invoice.number));
    WriteBlock(&file, sizeof invoice, &invoice);
    nanosleep(&pause, NULL); /* the other process's turn, as a clerk would */
  }
  Close(&file);
  return i == PER_PROCESS ? 0 : 1;
}

/* Creates the ledger: the counter at 1 and room for every invoice. */
static int create_ledger(void) {
  CvxFileType file = {0};
  Counter c = {1};
  Invoice empty[INVOICES];
  memset(empty, 0, sizeof empty);
  Create(&file, 0, LEDGER);
  if (file.result != CVX_FILE_DONE) return 1;
  WriteBlock(&file, sizeof c, &c);
  WriteBlock(&file, sizeof empty, empty);
  Close(&file);
  return file.result == CVX_FILE_DONE ? 0 : 1;
}

/* Reads the ledger back: every number issued once, each slot filled. */
static int check_ledger(void) {
  CvxFileType file = {0};
  Counter c;
  Invoice invoices[INVOICES];
  int ok = 1;
  int32_t n;
  MultiLookup(&file, 0, LEDGER, 1, 1, 0);
  ReadBlock(&file, sizeof c, &c);
  ReadBlock(&file, sizeof invoices, invoices);
  Close(&file);
  printf("next number: %d\n", (int)c.next);
  for (n = 1; n <= INVOICES; n++) {
    const Invoice *inv = &invoices[n - 1];
    printf("invoice %2d: %s\n", (int)n,
           inv->number == n ? (inv->process == 1 ? "first process" : "second process") : "MISSING");
    if (inv->number != n) ok = 0;
  }
  return ok && c.next == INVOICES + 1 ? 0 : 1;
}

int main(void) {
  char dir[4096];
  const char *tmp = getenv("TMPDIR");
  pid_t child;
  int status = 1, failed;

  snprintf(dir, sizeof dir, "%s/corva-records-XXXXXX", tmp != NULL && *tmp ? tmp : "/tmp");
  if (mkdtemp(dir) == NULL) {
    perror("mkdtemp");
    return 1;
  }
  setenv("CORVALIB_DRIVE_R", dir, 1);

  failed = create_ledger();
  if (!failed) {
    fflush(stdout); /* the child must not print the parent's buffered output */
    child = fork();
    if (child == 0) _exit(issue_invoices(2));
    failed = child < 0 || issue_invoices(1);
    if (child > 0 && (waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
                      WEXITSTATUS(status) != 0)) {
      failed = 1;
    }
    failed |= check_ledger();
  }

  /* Remove what the program made, through the library's own calls. */
  FileDelete((uint16_t)(sizeof LEDGER - 1), LEDGER);
  RemoveDir((uint16_t)strlen(dir), dir);
  return failed ? 1 : 0;
}
