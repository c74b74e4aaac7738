#pragma once
namespace tavrel::framework {}
