const char kHello[] = "一键清除";
