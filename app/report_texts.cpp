#include "app/report_texts.h"

#include "support/code_page.h"

namespace gravlink {

const TReportTexts& ReportTexts() {
    static const TReportTexts texts{
        Utf8ToWin1251("Ошибка подключения к базе данных.\r\nПроверьте параметры подключения."),
        Utf8ToWin1251("Ошибка формата базы данных.\r\nПроверьте параметры подключения."),
        Utf8ToWin1251("Ошибка запроса данных.\r\nПроверьте параметры подключения."),
        Utf8ToWin1251("Ошибка выполнения операции."),
        Utf8ToWin1251("Файл настроек повреждён и прочитан не полностью."),
        Utf8ToWin1251("Чтение остановлено на байте"),
        Utf8ToWin1251("Экспорт не выполнен, метки не установлены."),
    };
    return texts;
}

} // namespace gravlink
