// Chinese texts for tests, as the code-page-936 bytes the program hands to the ANSI functions.
// They are defined in chinese_texts.cpp, which alone is compiled with -fexec-charset=CP936.
#pragma once

namespace tavrel::test {

// "一键清除", the caption of the clear button: four characters, eight bytes in code page 936.
extern const char kClearCaption936[];

}  // namespace tavrel::test
