#pragma once

// The library is built with hidden visibility; only the two file classes and
// the export functions are exported.
#define SCRIVONA_API __attribute__((visibility("default")))
