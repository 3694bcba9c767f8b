#pragma once

#include "core/buttons/AssignmentDialogs.h"
#include "core/text/Language.h"

class QWidget;

namespace veldrane {

class IniFile;
class KeyNameSource;
class MessageSink;
class SkinImageCache;

// Runs CSingleDialog, CComboDialog and CMacroDialog for the assignment menu, modal over the
// main window.
class QtAssignmentDialogs : public AssignmentDialogs
{
public:
    QtAssignmentDialogs(QWidget& parent, SkinImageCache& images, MessageSink& messages, const KeyNameSource& keyNames,
                        const IniFile& macroFile, Language language);

    std::optional<std::string> RunSingleKeyDialog() override;
    std::optional<ComboKeyChoice> RunComboKeyDialog() override;
    std::optional<MacroBindingChoice> RunMacroKeyDialog() override;

private:
    QWidget& m_parent;
    SkinImageCache& m_images;
    MessageSink& m_messages;
    const KeyNameSource& m_keyNames;
    const IniFile& m_macroFile;
    Language m_language;
};

} // namespace veldrane
