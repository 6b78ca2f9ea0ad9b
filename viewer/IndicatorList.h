// The indicator chooser's captions: one Russian text (UTF-8) per catalogue
// number of Indikator, item k for number k. Plain C++, shared by the viewer
// and the command-line tool.
#pragma once

namespace zentrik::viewer {

inline constexpr int kIndicatorCount = 461;

// Item k is the caption of catalogue number k, exactly as shown to the user.
extern const char* const kIndicatorCaptions[kIndicatorCount];

// Caption of `number`, or nullptr outside 0 .. kIndicatorCount - 1.
const char* IndicatorCaption(int number);

// Number whose caption equals `caption` byte for byte, or -1 when none does
// (the chooser's reading of text the user typed in).
int IndicatorNumberOf(const char* caption);

}  // namespace zentrik::viewer
