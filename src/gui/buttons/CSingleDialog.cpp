#include "gui/buttons/CSingleDialog.h"
#include "gui/skin/SkinImageCache.h"

namespace veldrane {

CSingleDialog::CSingleDialog(SkinImageCache& images, MessageSink& messages, const KeyNameSource& keyNames,
                             Language language, QWidget* parent)
    : SkinnedDialog(images, language, &keyNames, parent), m_model(language)
{
    m_model.Open(images, messages);
    SizeTo(m_model.WindowSize());
}

std::optional<std::string> CSingleDialog::Run(SkinImageCache& images, MessageSink& messages,
                                              const KeyNameSource& keyNames, Language language, QWidget* parent)
{
    CSingleDialog dialog(images, messages, keyNames, language, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.m_model.KeyName();
}

} // namespace veldrane
