// Linked into the test exes that open the program's windows in their own process: those windows
// run as they do in the program, in a hardened process with COM on the test thread.
#include <gtest/gtest.h>

#include <memory>

#include "ui/process_hardening.h"

namespace zelvaran::testing {
namespace {

class ProgramProcess : public ::testing::Environment {
public:
    void SetUp() override {
        ui::HardenProcess();
        com_ = std::make_unique<ui::ComApartment>();
    }
    void TearDown() override { com_.reset(); }

private:
    std::unique_ptr<ui::ComApartment> com_;
};

[[maybe_unused]] ::testing::Environment* const kProgramProcess =
    ::testing::AddGlobalTestEnvironment(new ProgramProcess);

} // namespace
} // namespace zelvaran::testing
