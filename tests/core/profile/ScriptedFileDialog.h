#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/profile/ProfileFileDialog.h"

namespace veldrane::test {

// Answers each file dialog with `answer` and keeps what it was asked: "open <proposed path>" or
// "save <proposed path>".
class ScriptedFileDialog : public ProfileFileDialog
{
public:
    std::optional<std::filesystem::path> AskOpenFile(const std::filesystem::path& proposed) override
    {
        asked.push_back("open " + proposed.string());
        return answer;
    }
    std::optional<std::filesystem::path> AskSaveFile(const std::filesystem::path& proposed) override
    {
        asked.push_back("save " + proposed.string());
        return answer;
    }

    std::optional<std::filesystem::path> answer;
    std::vector<std::string> asked;
};

} // namespace veldrane::test
