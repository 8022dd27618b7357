#pragma once

#include <string>
#include <vector>

// The tool's commands, each given the arguments after its name; each returns the exit status.
int Pack(const std::vector<std::string>& args);
int Info(const std::vector<std::string>& args);
int Unpack(const std::vector<std::string>& args);
int Check(const std::vector<std::string>& args);
int CheckName(const std::vector<std::string>& args);
