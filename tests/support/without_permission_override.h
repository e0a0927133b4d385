#pragma once

#include <functional>
#include <gtest/gtest.h>

// Runs part of a test in a forked child that cannot pass over file permissions, so that a
// folder with mode 0 stays closed even when the tests run as root: the child gives up
// CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH, for itself and for the programs it starts. The
// part uses EXPECT_ and ASSERT_ as usual; their failures are reported to the running test,
// and so is a child that cannot give up those rights, crashes or runs for minutes.
void RunWithoutPermissionOverride(const std::function<void()>& part);
