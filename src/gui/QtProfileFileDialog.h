#pragma once

#include <QString>

#include <string_view>

#include "core/profile/ProfileFileDialog.h"

class QWidget;

namespace veldrane {

// The profile file dialogs as Qt's standard file dialogs, filtered to "Gaming Mouse Profile(*.bin)".
// The save dialog asks before it lets an existing file be chosen.
class QtProfileFileDialog : public ProfileFileDialog
{
public:
    explicit QtProfileFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<std::filesystem::path> AskOpenFile(const std::filesystem::path& proposed) override;
    std::optional<std::filesystem::path> AskSaveFile(const std::filesystem::path& proposed) override;

    // A filter in the platform's "description|pattern|...||" form as Qt writes it: the
    // descriptions, which name their patterns in parentheses, joined by ";;".
    static QString QtFilter(std::string_view platformFilter);

private:
    QWidget* m_parent;
};

} // namespace veldrane
