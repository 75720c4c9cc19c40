// The program's entry. The mode is decided before anything of a window exists: an
// unattended run never loads the window toolkit, in either build.
#include "app/command_line.h"
#include "app/program_information.h"
#include "app/unattended_run.h"
#include "app/window_start.h"

int main(int argc, char** argv) {
    const gravlink::TCommandLine commandLine = gravlink::ProcessCommandLine(argc, argv);
    if (const auto request = gravlink::InformationRequest(commandLine);
        request != gravlink::TInformationRequest::None)
        return gravlink::PrintInformation(request, commandLine);
    if (gravlink::IsAutoMode(commandLine))
        return gravlink::RunUnattended(commandLine);
#ifdef GRAVLINK_WINDOW_MODULE
    return gravlink::StartWindow(commandLine, GRAVLINK_WINDOW_MODULE, argc, argv);
#else
    return gravlink::RefuseWindowStart();
#endif
}
