#include "tests/support/skin_window_texts.h"

namespace tavrel::test {

const char kAlreadyAttached936[] = "已创建，请勿多次创建";
const char kNoWindowRect936[] = "命令：取得窗口矩形()   错误：窗口未创建";
const char kNoTitle936[] = "命令：取窗口标题()  错误：窗口未创建 或 标题为空";
const char kDefaultFace936[] = "微软雅黑";
const char kFallbackFace936[] = "宋体";
const char kWarningText936[] = "清理缓存前，请确保缓存目录在游戏默认路径下！！";
const char kMicroblogText936[] = "Morvik个人微博";

}  // namespace tavrel::test
