#include "app/app_title.h"

#include "support/code_page.h"

namespace gravlink {

const std::string& AppTitle() {
    static const std::string title = Utf8ToWin1251("Экспорт данных весового учёта");
    return title;
}

} // namespace gravlink
