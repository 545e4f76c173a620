#pragma once
#include <string>
#include <vector>

namespace vedozer::cli {

// The first word of a command line that is not an option or an option's value: the command the
// person asked for ("" when there is none). Options that take a value are named in valueOptions
// ("--target" ...); "--name=value" carries its own.
std::string commandWord(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions);

// The message for a command that does not exist: it names it and the closest command.
std::string unknownCommandMessage(const std::string& word, const std::vector<std::string>& commands);

}  // namespace vedozer::cli
