#include "tests/ui/window_fixture.h"

namespace gravlink::test {

namespace {

QApplication* TheApplication = nullptr;

// Ends the application before the program's exit, while Qt's own globals still live.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        delete TheApplication;
        TheApplication = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

QApplication& Application() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    if (!TheApplication)
        TheApplication = new QApplication(argc, argv);
    return *TheApplication;
}

} // namespace gravlink::test
