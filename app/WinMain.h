#pragma once
// The program entry: the splash window, the application's title and help
// file, the forms made at start-up, the message loop.

#include <functional>

// The start-up before the message loop: the splash window, the title and
// help file, the forms in their order, the command-line file for the frame.
// The splash's bar ends at 40 of 100.
void StartProgram(int argc, char** argv);

// Runs the program with the command line (argv[1], when given, is the file
// to open); answers the exit code.
int WinMain(int argc, char** argv);

// Runs the steps of start-up and the loop; an exception that escapes them is
// reported ("Ошибка в программе!\n" + its message) and gives exit code 1.
int RunProtected(const std::function<int()>& steps);
