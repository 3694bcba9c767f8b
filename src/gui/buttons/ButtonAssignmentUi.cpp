#include "gui/buttons/ButtonAssignmentUi.h"

#include "gui/buttons/ButtonAssignmentSection.h"
#include "gui/skin/SkinImageCache.h"

namespace veldrane {

ButtonAssignmentUi::ButtonAssignmentUi(QWidget& window, const ButtonAssignmentContext& context)
    : m_dialogs(window, context.images, context.messages, context.keyNames, context.macroFile, context.language),
      m_model(context.record, context.buttonLabel, context.language, m_dialogs, context.messages),
      m_lists(window, m_model, context.images, context.fonts),
      m_ownedSection(std::make_unique<ButtonAssignmentSection>(m_model, context.title, context.images)),
      m_section(m_ownedSection.get())
{
    m_section->SetListsChanged([this] { m_lists.Sync(); });
}

ButtonAssignmentUi::~ButtonAssignmentUi() = default;

std::unique_ptr<PanelSection> ButtonAssignmentUi::TakeSection()
{
    return std::move(m_ownedSection);
}

std::optional<std::string> ButtonAssignmentUi::MouseHighlightPicture() const
{
    return m_section->MousePicture();
}

} // namespace veldrane
