#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "gui/buttons/AssignmentListsView.h"
#include "gui/buttons/QtAssignmentDialogs.h"
#include "screens/buttons/AssignmentMenuModel.h"

class QWidget;

namespace veldrane {

class ButtonAssignmentSection;
class FontBook;
class IniFile;
class KeyNameSource;
class MessageSink;
class PanelSection;
class SkinImageCache;

// What the "Button Assignment" section works on: the current record and the button labels
// beside it, the interface language and the window's title text for the row, where messages
// go, the skin, the key names of the capture dialogs and the macro file of the macro dialog.
struct ButtonAssignmentContext
{
    ProfileRecord& record;
    ButtonLabels& buttonLabel;
    Language language;
    std::string_view title; // "Button Assignment" in the interface language
    MessageSink& messages;
    SkinImageCache& images;
    const FontBook& fonts; // the main window's
    const KeyNameSource& keyNames;
    const IniFile& macroFile; // "record.ini" beside the executable
};

// The button assignment of the main window in one piece: the menu model, the section for the
// left panel's first row, the lists as child widgets of the window and the dialogs they run.
//
//   ButtonAssignmentUi assignment(window, context);
//   window.Model().SetLeftSection(LeftPanel::kButtonAssignment, assignment.TakeSection());
//
// The window's model then dispatches presses and hovering to the section and closes its lists
// on "Reset", on the profile manager's closing and on showing from the tray (CloseLists).
class ButtonAssignmentUi
{
public:
    ButtonAssignmentUi(QWidget& window, const ButtonAssignmentContext& context);
    ~ButtonAssignmentUi();
    ButtonAssignmentUi(const ButtonAssignmentUi&) = delete;
    ButtonAssignmentUi& operator=(const ButtonAssignmentUi&) = delete;

    // The section, once, for the left panel; it works on this object, which must outlive it.
    std::unique_ptr<PanelSection> TakeSection();

    AssignmentMenuModel& Model() { return m_model; }
    AssignmentListsView& Lists() { return m_lists; }
    // The mouse picture to show instead of the plain one while a list is open.
    std::optional<std::string> MouseHighlightPicture() const;

private:
    QtAssignmentDialogs m_dialogs;
    AssignmentMenuModel m_model;
    AssignmentListsView m_lists;
    std::unique_ptr<ButtonAssignmentSection> m_ownedSection;
    ButtonAssignmentSection* m_section;
};

} // namespace veldrane
