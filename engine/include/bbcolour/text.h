// Text model shared by every engine routine.
#pragma once

#include <string>
#include <vector>

namespace bbcolour {

// A byte string in code page 936 / GB18030. Lengths and positions count
// bytes, never characters. An empty text and an absent text are the same.
using Text = std::string;

// An ordered list of texts; routines that fill one empty it first.
using TextList = std::vector<Text>;

}  // namespace bbcolour
