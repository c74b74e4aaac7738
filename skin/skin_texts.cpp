#include "skin/skin_texts.h"

namespace tavrel::skin {

const char kAlreadyAttachedError[] = "已创建，请勿多次创建";
// Three blanks before 错误.
const char kNoWindowRectError[] = "命令：取得窗口矩形()   错误：窗口未创建";
// Two blanks before 错误.
const char kNoTitleError[] = "命令：取窗口标题()  错误：窗口未创建 或 标题为空";
const char kDefaultFace[] = "微软雅黑";
const char kFallbackFace[] = "宋体";

}  // namespace tavrel::skin
