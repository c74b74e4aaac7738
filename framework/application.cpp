#include "framework/application.h"
