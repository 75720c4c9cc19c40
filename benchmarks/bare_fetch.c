/* The floor of an export: prepares the select and fetches every row into its
   XSQLDA through the client library, formatting nothing. Prints the rows.
     bare_fetch DATABASE SELECT */
#include "reference_client.h"

/* Kept out of line: the callgrind mode counts this function alone. */
__attribute__((noinline)) static long fetch_rows(reference_select* s) {
    long rows = 0;
    while (reference_fetch(s) == 0)
        ++rows;
    return rows;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: bare_fetch DATABASE SELECT\n");
        return 2;
    }
    isc_db_handle database = reference_attach(argv[1]);
    isc_tr_handle transaction = reference_start(&database);
    reference_select s = reference_prepare(&database, &transaction, argv[2]);
    const long rows = fetch_rows(&s);
    reference_close(&s);
    reference_finish(&database, &transaction);
    printf("%ld\n", rows);
    return 0;
}
