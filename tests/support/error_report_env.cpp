#include "error_report_env.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/errreport.h"

namespace {

struct ErrorReportEnvironment : ::testing::Environment {
    void SetUp() override { ASSERT_EQ(1, InitErrorReport(GetModuleHandleA(nullptr), kTestTitle)); }
    void TearDown() override { FinErrorReport(); }
};

const auto* const s_environment = ::testing::AddGlobalTestEnvironment(new ErrorReportEnvironment);

}  // namespace
