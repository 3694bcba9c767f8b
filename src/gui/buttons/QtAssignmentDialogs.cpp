#include "gui/buttons/QtAssignmentDialogs.h"

#include "gui/buttons/CComboDialog.h"
#include "gui/buttons/CMacroDialog.h"
#include "gui/buttons/CSingleDialog.h"

namespace veldrane {

QtAssignmentDialogs::QtAssignmentDialogs(QWidget& parent, SkinImageCache& images, MessageSink& messages,
                                         const KeyNameSource& keyNames, const IniFile& macroFile, Language language)
    : m_parent(parent), m_images(images), m_messages(messages), m_keyNames(keyNames), m_macroFile(macroFile),
      m_language(language)
{}

std::optional<std::string> QtAssignmentDialogs::RunSingleKeyDialog()
{
    return CSingleDialog::Run(m_images, m_messages, m_keyNames, m_language, &m_parent);
}

std::optional<ComboKeyChoice> QtAssignmentDialogs::RunComboKeyDialog()
{
    return CComboDialog::Run(m_images, m_messages, m_keyNames, m_language, &m_parent);
}

std::optional<MacroBindingChoice> QtAssignmentDialogs::RunMacroKeyDialog()
{
    return CMacroDialog::Run(m_images, m_messages, m_macroFile, m_language, &m_parent);
}

} // namespace veldrane
