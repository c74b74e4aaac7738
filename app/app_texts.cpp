#include "app/app_texts.h"

namespace tavrel::app {

const char kClearButtonCaption[] = "一键清除";
const char kExitButtonCaption[] = "退出";
const char kWarningText[] = "清理缓存前，请确保缓存目录在游戏默认路径下！！";
const char kMicroblogCaption[] = "Morvik个人微博";
const char kClearedMessage[] = "清理成功，感谢支持Morvik！";
const char kIncompleteMessage[] = "清理未完成：部分文件正在使用或无法删除，请关闭游戏后重试。";
const char kMessageTitle[] = "温馨提示";

}  // namespace tavrel::app
