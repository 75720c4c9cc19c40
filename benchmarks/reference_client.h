/* What both reference programs share: an attach as the program makes it
   (SYSDBA, Windows-1251), a snapshot transaction, and a select prepared into
   an XSQLDA whose buffers are laid out once. Any failure ends the program
   with the client's message. */
#ifndef GRAVLINK_REFERENCE_CLIENT_H
#define GRAVLINK_REFERENCE_CLIENT_H

#include <ibase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static ISC_STATUS_ARRAY reference_status;

static void reference_check(ISC_STATUS result, const char* what) {
    if (result == 0)
        return;
    char text[512];
    const ISC_STATUS* vector = reference_status;
    fprintf(stderr, "%s failed:", what);
    while (fb_interpret(text, sizeof text, &vector) > 0)
        fprintf(stderr, " %s", text);
    fputc('\n', stderr);
    exit(1);
}

static void reference_dpb_item(char** at, char item, const char* value) {
    const size_t length = strlen(value) > 255 ? 255 : strlen(value); /* one length byte */
    *(*at)++ = item;
    *(*at)++ = (char)length;
    memcpy(*at, value, length);
    *at += length;
}

/* The user of the environment (ISC_USER, ISC_PASSWORD) where it names one, as the
   program takes it. */
static const char* reference_setting(const char* name, const char* otherwise) {
    const char* value = getenv(name);
    return value != NULL && *value != '\0' ? value : otherwise;
}

static isc_db_handle reference_attach(const char* database) {
    char dpb[600];
    char* at = dpb;
    *at++ = isc_dpb_version1;
    reference_dpb_item(&at, isc_dpb_user_name, reference_setting("ISC_USER", "SYSDBA"));
    reference_dpb_item(&at, isc_dpb_password, reference_setting("ISC_PASSWORD", "quillbark"));
    reference_dpb_item(&at, isc_dpb_lc_ctype, "WIN1251");
    isc_db_handle handle = 0;
    reference_check(
        isc_attach_database(reference_status, 0, database, &handle, (short)(at - dpb), dpb),
        "attach");
    return handle;
}

static isc_tr_handle reference_start(isc_db_handle* database) {
    static char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_nowait, isc_tpb_concurrency};
    isc_tr_handle handle = 0;
    reference_check(isc_start_transaction(reference_status, &handle, 1, database,
                                          (unsigned short)sizeof tpb, tpb),
                    "start transaction");
    return handle;
}

/* The statement and its output descriptor; every column's value and null
   indicator point into one block. */
typedef struct {
    isc_stmt_handle statement;
    XSQLDA* output;
    char* buffers;
    short* nulls;
} reference_select;

static reference_select reference_prepare(isc_db_handle* database, isc_tr_handle* transaction,
                                          const char* sql) {
    reference_select s = {0, NULL, NULL, NULL};
    reference_check(isc_dsql_allocate_statement(reference_status, database, &s.statement),
                    "allocate statement");
    s.output = (XSQLDA*)calloc(1, XSQLDA_LENGTH(1));
    s.output->version = SQLDA_VERSION1;
    s.output->sqln = 1;
    reference_check(isc_dsql_prepare(reference_status, transaction, &s.statement, 0, sql,
                                     SQL_DIALECT_V6, s.output),
                    "prepare");
    if (s.output->sqld > s.output->sqln) {
        const short count = s.output->sqld;
        free(s.output);
        s.output = (XSQLDA*)calloc(1, XSQLDA_LENGTH(count));
        s.output->version = SQLDA_VERSION1;
        s.output->sqln = count;
        reference_check(isc_dsql_describe(reference_status, &s.statement, SQL_DIALECT_V6, s.output),
                        "describe");
    }
    size_t size = 0;
    for (int i = 0; i < s.output->sqld; ++i) {
        const XSQLVAR* var = &s.output->sqlvar[i];
        size += ((size_t)var->sqllen + ((var->sqltype & ~1) == SQL_VARYING ? 2 : 0) + 7) & ~7u;
    }
    s.buffers = (char*)malloc(size ? size : 1);
    s.nulls = (short*)calloc((size_t)s.output->sqld + 1, sizeof(short));
    size_t offset = 0;
    for (int i = 0; i < s.output->sqld; ++i) {
        XSQLVAR* var = &s.output->sqlvar[i];
        var->sqldata = s.buffers + offset;
        var->sqlind = &s.nulls[i];
        offset += ((size_t)var->sqllen + ((var->sqltype & ~1) == SQL_VARYING ? 2 : 0) + 7) & ~7u;
    }
    reference_check(
        isc_dsql_execute(reference_status, transaction, &s.statement, SQL_DIALECT_V6, NULL),
        "execute");
    return s;
}

/* 0 while a row came, 100 at the end; anything else ends the program. */
static ISC_STATUS reference_fetch(reference_select* s) {
    const ISC_STATUS result =
        isc_dsql_fetch(reference_status, &s->statement, SQL_DIALECT_V6, s->output);
    if (result != 0 && result != 100)
        reference_check(result, "fetch");
    return result;
}

static void reference_close(reference_select* s) {
    reference_check(isc_dsql_free_statement(reference_status, &s->statement, DSQL_drop),
                    "free statement");
    free(s->output);
    free(s->buffers);
    free(s->nulls);
}

static void reference_finish(isc_db_handle* database, isc_tr_handle* transaction) {
    reference_check(isc_commit_transaction(reference_status, transaction), "commit");
    reference_check(isc_detach_database(reference_status, database), "detach");
}

#endif
