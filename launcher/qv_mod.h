// The launcher's start-up: reads the command line, creates the mover for the host product and
// shows the confirmation window while a move is still to be done (always in test mode).
#pragma once
#include <string>

namespace launcher::QvMod {

// The arguments of a full command line: the text after the program's name, quoted or not,
// without the blanks that separate them.
std::wstring ArgumentsOf(const std::wstring& fullCommandLine);
// The arguments of this program's command line (read anew on every call).
std::wstring CommandLine();

// Looks `key` up in the command line `cmd`. "STARTPATH" (any case) finds the first "-"-separated
// segment that is an absolute path; any other key finds the first segment that starts with it (any
// case). True when found, with `value` set; `value` is left alone otherwise.
bool getCommandLineArg(const std::wstring& cmd, const std::wstring& key, std::wstring& value);
// The same on this program's command line.
bool getCommandLineArg(const std::wstring& key, std::wstring& value);

// Runs the launcher on the arguments `cmd` and returns the program's exit code: 0 when it ends
// normally, 1 after an error that stopped it (shown in one message box).
int Main(const std::wstring& cmd);

}  // namespace launcher::QvMod
