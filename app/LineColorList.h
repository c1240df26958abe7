#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

// Colours of the spectrum lines (COLORREF, 0x00BBGGRR), handed to every chart
// when it is set up; a chart gives its lines these colours in turn. Touched
// on the UI thread only.
extern std::list<uint32_t> lineColorList;

// Where the list is kept.
inline constexpr const char* kLineColorFile = "config/spec color.bin";

// The colour dialog offers no more than this many colours.
inline constexpr std::size_t kMaxLineColors = 10;

// Start-up loader. With an empty `colors`, appends the colours of
// "config/spec color.bin" to lineColorList: one per line that starts with a
// number, at most kMaxLineColors, and the five defaults (red, blue, purple,
// dark green, sea green) when the file cannot be read or holds no colour. A
// file that is no regular file or is larger than 16 KiB is not read.
// With a non-empty `colors`, appends those instead and reads nothing.
void LoadLineColorList(const std::list<uint32_t>& colors = {});

// Creates or truncates "config/spec color.bin" and writes one line per colour
// in list order: the decimal value, the letter l and CR LF ("255l\r\n").
// False when the file cannot be written.
bool SaveLineColorList(const std::list<uint32_t>& colors);
