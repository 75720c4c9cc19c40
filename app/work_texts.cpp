#include "app/work_texts.h"

#include "support/code_page.h"

namespace gravlink {

std::string ExportProgressText(long long linesWritten) {
    return Utf8ToWin1251("Экспорт: записано строк ") + std::to_string(linesWritten);
}

std::string ExportDoneText(long long linesWritten, long long recordsStamped) {
    return Utf8ToWin1251("Экспорт завершён: записано строк ") + std::to_string(linesWritten) +
           Utf8ToWin1251(", помечено записей ") + std::to_string(recordsStamped);
}

std::string StampAllProgressText() {
    return Utf8ToWin1251("Установка меток экспорта…");
}

std::string ClearAllProgressText() {
    return Utf8ToWin1251("Снятие меток экспорта…");
}

std::string FetchProgressText(long long rowsFetched) {
    return Utf8ToWin1251("Загрузка записей: ") + std::to_string(rowsFetched);
}

std::string RowCountText(long long rows) {
    return Utf8ToWin1251("Записей: ") + std::to_string(rows);
}

std::string ClearAllQuestion() {
    return Utf8ToWin1251("Снять метку экспорта у всех записей?\r\n"
                         "При следующем экспорте они будут выгружены снова.");
}

} // namespace gravlink
