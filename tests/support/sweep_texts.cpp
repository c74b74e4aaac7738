#include "tests/support/sweep_texts.h"

namespace tavrel::test {

const char kSweepExitCaption936[] = "退出";
const char kSweepWarning936[] = "清理缓存前，请确保缓存目录在游戏默认路径下！！";
const char kSweepMicroblog936[] = "Morvik个人微博";

}  // namespace tavrel::test
