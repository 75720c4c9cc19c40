#include "app/program_information.h"

#include <cstdio>
#include <string>

namespace gravlink {
namespace {

// The usage in Russian and English, around the program's folder.
constexpr const char* UsageHead =
    "Использование: gravlink [-auto] [файл-настроек]\n"
    "Usage:         gravlink [-auto] [settings-file]\n"
    "\n"
    "  -auto          выгрузить записи без окна и завершиться\n"
    "                 export once without the window, then exit\n"
    "  файл-настроек  файл настроек в папке программы (по умолчанию gravlink.ini)\n"
    "  settings-file  the settings file in the program's folder (default gravlink.ini)\n"
    "                 без -auto: любой первый аргумент, например gravlink - site2.ini\n"
    "                 without -auto: any first argument, e.g. gravlink - site2.ini\n"
    "  -h, --help     эта справка / this help\n"
    "  --version      версия программы / the program's version\n"
    "\n"
    "Папка программы / the program's folder: ";
constexpr const char* UsageTail =
    "\n"
    "  gravlink.ini   настройки / the settings\n"
    "  error.log      журнал ошибок выгрузки без окна / the unattended run's error log\n"
    "\n"
    "Коды завершения / exit statuses:\n"
    "  0  ошибок не было / nothing was reported\n"
    "  1  была ошибка (при -auto записана в error.log) /\n"
    "     a failure was reported (with -auto, in error.log)\n"
    "  2  работа не начата: нет дисплея для окна, сборка без окна,\n"
    "     непригодная командная строка /\n"
    "     the work could not start: no display for the window, a build without\n"
    "     the window, an unusable command line\n"
    "\n"
    "Подробнее / more: man gravlink\n";

} // namespace

TInformationRequest InformationRequest(const TCommandLine& commandLine) {
    const std::string first = TrimmedArgument(commandLine, 1);
    if (first == "--help" || first == "-h")
        return TInformationRequest::Usage;
    if (first == "--version")
        return TInformationRequest::Version;
    return TInformationRequest::None;
}

int PrintInformation(TInformationRequest request, const TCommandLine& commandLine) {
    if (request == TInformationRequest::Version) {
        std::printf("gravlink %s\n", GRAVLINK_VERSION);
    } else {
        std::fputs(UsageHead, stdout);
        std::fputs(FolderOf(commandLine.ExecutablePath).c_str(), stdout);
        std::fputs(UsageTail, stdout);
    }
    return 0;
}

} // namespace gravlink
