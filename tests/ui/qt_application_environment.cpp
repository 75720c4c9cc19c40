#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One QApplication for every test of the window layer, drawn nowhere unless a
// display is asked for.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr)
            return;
        if (std::getenv("QT_QPA_PLATFORM") == nullptr)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        FApplication = std::make_unique<QApplication>(FArgc, FArgv);
    }
    void TearDown() override { FApplication.reset(); }

private:
    int FArgc = 1;
    char FName[8] = "test_ui";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApplication;
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
