// Chinese font names for the text-object tests, as the code-page-936 bytes the program hands to
// the ANSI functions. Defined in font_texts.cpp, which alone is compiled with -fexec-charset=CP936.
#pragma once

namespace tavrel::test {

// "宋体" (SimSun).
extern const char kSongTi936[];
// "微软雅黑" (Microsoft YaHei).
extern const char kYaHei936[];
// "楷体" (KaiTi).
extern const char kKaiTi936[];
// "文泉驿正黑", the Chinese name of WenQuanYi Zen Hei, the face Wine's prefix puts in their place.
extern const char kWenQuanYiZenHei936[];

}  // namespace tavrel::test
