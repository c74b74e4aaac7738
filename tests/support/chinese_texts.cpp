#include "tests/support/chinese_texts.h"

namespace tavrel::test {

const char kClearCaption936[] = "一键清除";

}  // namespace tavrel::test
