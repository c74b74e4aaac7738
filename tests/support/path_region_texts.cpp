#include "tests/support/path_region_texts.h"

namespace tavrel::test {

const char kPathClearCaption936[] = "一键清除";
const char kPathSongTi936[] = "宋体";

}  // namespace tavrel::test
