// Our small application framework over Win32: start-up, the message loop, the end of the program,
// message boxes, the screen and time. Forms live in framework/form.h, files in file_system.h.
#pragma once

#include <windows.h>

#include <string>

namespace tavrel::framework {

// Prepares the process: common controls, COM for the shell.
void Initialize();

// The routine that runs once when the program ends, after the message loop or from EndProgram.
void RegisterTermination(void (*routine)());
// Runs the termination routine unless it has run already.
void RunTermination();

// Runs the message loop until the last form window has been destroyed.
void RunMessageLoop();

// Ends the program at once: the termination routine, then the process ends with the code.
[[noreturn]] void EndProgram(int exitCode);

// A modal box without owner window; task-modal unless the style asks for system modality.
// Returns the button pressed.
int ShowMessageBox(const std::string& text, UINT style, const std::string& title);

int ScreenWidth();
int ScreenHeight();

// Milliseconds since start-up, with sub-millisecond precision.
double Uptime();
// Sleeps a whole number of milliseconds; a negative duration sleeps 0 ms.
void Sleep(int milliseconds);

}  // namespace tavrel::framework
