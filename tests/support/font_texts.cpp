#include "tests/support/font_texts.h"

namespace tavrel::test {

const char kSongTi936[] = "宋体";
const char kYaHei936[] = "微软雅黑";
const char kKaiTi936[] = "楷体";
const char kWenQuanYiZenHei936[] = "文泉驿正黑";

}  // namespace tavrel::test
