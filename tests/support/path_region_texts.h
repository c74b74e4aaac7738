// Chinese texts for the path and region tests, as the code-page-936 bytes the program hands to
// the ANSI functions. Defined in path_region_texts.cpp, which alone is compiled with
// -fexec-charset=CP936.
#pragma once

namespace tavrel::test {

// "一键清除", the caption of the clear button: four characters, four UTF-16 units.
extern const char kPathClearCaption936[];
// "宋体" (SimSun), the skin's fallback face.
extern const char kPathSongTi936[];

}  // namespace tavrel::test
