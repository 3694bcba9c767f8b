#include "gui/buttons/CComboDialog.h"
#include "gui/skin/SkinImageCache.h"

namespace veldrane {

CComboDialog::CComboDialog(SkinImageCache& images, MessageSink& messages, const KeyNameSource& keyNames,
                           Language language, QWidget* parent)
    : SkinnedDialog(images, language, &keyNames, parent), m_model(language)
{
    m_model.Open(images, messages);
    SizeTo(m_model.WindowSize());
}

std::optional<ComboKeyChoice> CComboDialog::Run(SkinImageCache& images, MessageSink& messages,
                                                const KeyNameSource& keyNames, Language language, QWidget* parent)
{
    CComboDialog dialog(images, messages, keyNames, language, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.m_model.Result();
}

} // namespace veldrane
