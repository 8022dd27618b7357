#pragma once

// The tool's texts for its users: the whole help, one command's help, the usage lines.

// The name and version, for --version.
void PrintVersion();
// Every command's help when `command` is null, else that command's.
void PrintHelp(const char* command);
// The usage line of `command` (of the tool when null) on standard error; returns exit status 2.
int Usage(const char* command);
