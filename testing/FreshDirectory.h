#pragma once

namespace quenlix::testing {

// Gives every test its own empty temporary working directory, entered before
// the test body runs and removed after it, and makes config/ there the
// settings folder (made when a setting is written), so settings files never
// leak from one test into another. For the whole run XDG_CONFIG_HOME points into a
// temporary folder too, so nothing a test starts (the program run as a
// child, a test without config/) writes into the user's own settings.
void InstallFreshDirectoryPerTest();

}  // namespace quenlix::testing
