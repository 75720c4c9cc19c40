#include "fib/database_params.h"

#include "fib/fib_error.h"
#include "fib/integer_text.h"

#include <array>
#include <cstdint>
#include <ibase.h>

namespace gravlink {

namespace {

// The names of the database parameter items; each one's code is its position from 1.
constexpr std::array<const char*, 67> DatabaseParamNames = {
    "cdd_pathname",
    "allocation",
    "journal",
    "page_size",
    "num_buffers",
    "buffer_length",
    "debug",
    "garbage_collect",
    "verify",
    "sweep",
    "enable_journal",
    "disable_journal",
    "dbkey_scope",
    "number_of_users",
    "trace",
    "no_garbage_collect",
    "damaged",
    "license",
    "sys_user_name",
    "encrypt_key",
    "activate_shadow",
    "sweep_interval",
    "delete_shadow",
    "force_write",
    "begin_log",
    "quit_log",
    "no_reserve",
    "user_name",
    "password",
    "password_enc",
    "sys_user_name_enc",
    "interp",
    "online_dump",
    "old_file_size",
    "old_num_files",
    "old_file",
    "old_start_page",
    "old_start_seqno",
    "old_start_file",
    "drop_walfile",
    "old_dump_id",
    "wal_backup_dir",
    "wal_chkptlen",
    "wal_numbufs",
    "wal_bufsize",
    "wal_grp_cmt_wait",
    "lc_messages",
    "lc_ctype",
    "cache_manager",
    "shutdown",
    "online",
    "shutdown_delay",
    "reserved",
    "overwrite",
    "sec_attach",
    "disable_wal",
    "connect_timeout",
    "dummy_packet_interval",
    "gbak_attach",
    "sql_role_name",
    "set_page_buffers",
    "working_directory",
    "sql_dialect",
    "set_db_readonly",
    "set_db_sql_dialect",
    "gfix_attach",
    "gstat_attach",
};

void AppendByte(std::string& block, int value) {
    block += static_cast<char>(static_cast<uint8_t>(value));
}

void AppendText(std::string& block, int code, const std::string& value, const std::string& name) {
    // The length travels in one byte; a longer value would wrap it and garble the block.
    if (value.size() > 255)
        throw EDatabaseError("DPB Constant (isc_dpb_" + name + ") value is longer than 255 bytes.");
    AppendByte(block, code);
    AppendByte(block, static_cast<int>(value.size()));
    block += value;
}

void AppendItem(std::string& block, const TParamItem& item) {
    const int code = DatabaseParamCode(item.Name);
    switch (code) {
    case isc_dpb_user_name:
    case isc_dpb_password:
    case isc_dpb_password_enc:
    case isc_dpb_sys_user_name:
    case isc_dpb_license:
    case isc_dpb_encrypt_key:
    case isc_dpb_lc_messages:
    case isc_dpb_lc_ctype:
    case isc_dpb_sql_role_name:
        AppendText(block, code, item.Value, item.Name);
        return;
    case isc_dpb_sql_dialect: {
        // The digit travels as its number: "3" is sent as byte 3.
        std::string value = item.Value;
        if (!value.empty())
            value[0] = static_cast<char>(value[0] - '0');
        AppendText(block, code, value, item.Name);
        return;
    }
    case isc_dpb_num_buffers:
    case isc_dpb_verify:
    case isc_dpb_dbkey_scope:
    case isc_dpb_damaged:
    case isc_dpb_force_write:
    case isc_dpb_no_reserve:
    case isc_dpb_connect_timeout:
    case isc_dpb_dummy_packet_interval:
        AppendByte(block, code);
        AppendByte(block, 1);
        AppendByte(block, StrToInt(item.Value) & 0xFF);
        return;
    case isc_dpb_sweep:
        AppendByte(block, code);
        AppendByte(block, 1);
        AppendByte(block, 2);
        return;
    case isc_dpb_sweep_interval: {
        const auto value = static_cast<uint32_t>(StrToInt(item.Value));
        AppendByte(block, code);
        AppendByte(block, 4);
        for (int shift = 0; shift < 32; shift += 8)
            AppendByte(block, static_cast<int>((value >> shift) & 0xFF));
        return;
    }
    case isc_dpb_activate_shadow:
    case isc_dpb_delete_shadow:
    case isc_dpb_begin_log:
    case isc_dpb_quit_log:
    case isc_dpb_garbage_collect:
    case isc_dpb_no_garbage_collect:
        AppendByte(block, code);
        AppendByte(block, 1);
        AppendByte(block, 0);
        return;
    case 0:
        RaiseClientError(feDPBConstantUnknown, {item.Name});
    default:
        RaiseClientError(feDPBConstantNotSupported, {item.Name});
    }
}

} // namespace

int DatabaseParamCode(const std::string& name) {
    for (size_t i = 0; i < DatabaseParamNames.size(); ++i)
        if (name == DatabaseParamNames[i])
            return static_cast<int>(i) + 1;
    return 0;
}

std::string BuildDatabaseParamBlock(TParamLines& lines) {
    lines.MarkBuilt();
    std::string block;
    AppendByte(block, isc_dpb_version1);
    for (size_t i = 0; i < lines.Count(); ++i) {
        std::string line = TrimParamLine(lines[i]);
        lines.SetLine(i, line);
        if (line.empty())
            continue;
        AppendItem(block, SplitParamLine(line, "isc_dpb_"));
    }
    return block;
}

} // namespace gravlink
