#pragma once

namespace quenlix::testing {

// Gives every test its own empty temporary working directory, entered before
// the test body runs and removed after it, so settings files written under
// config/ never leak from one test into another.
void InstallFreshDirectoryPerTest();

}  // namespace quenlix::testing
