// The add-in's tests run against a connected add-in on the simulated host.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/addin_harness.h"

namespace qm::testing {

class AddinTest : public ::testing::Test, public AddinHarness {};

}  // namespace qm::testing
