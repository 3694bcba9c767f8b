#include "screens/buttons/AssignmentMenuModel.h"

#include <array>
#include <span>
#include <vector>

#include "core/buttons/AssignmentDialogs.h"
#include "core/text/AssignmentTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"

namespace veldrane {
namespace {

// Row r (from 1) of the section at kContentOrigin: the box's top is at 134 + 20 r.
constexpr int kFirstRowTop = 134;
constexpr int kRowPitch = 20;
constexpr int kRowHeight = 16;
constexpr int kBoxLeft = 120;
constexpr int kBoxRight = 250;
// The arrow at the right end of a dropdown box, which its label stops short of.
constexpr int kDropdownArrowWidth = 16;
constexpr int kNameLeft = 30;
// The main list opens right of the box: (262, box top, 365, box top + 260).
constexpr int kListLeft = 262;
constexpr int kListRight = 365;
constexpr int kListHeight = 260;
// Front Buttons 1 to 7 are rows 1 to 7; side Buttons 8 to 12 are rows 1 to 5.
constexpr std::size_t kFirstSideButton = 7;
// The section's height without its picture: the rows and a margin above and below.
constexpr int kContentTop = kFirstRowTop + kRowPitch - AssignmentMenuModel::kContentOrigin.y;
constexpr int kContentBottomMargin = 6;

struct SubmenuShape
{
    FunctionCode function;
    Size size;
};

constexpr std::array<SubmenuShape, 4> kSubmenuShapes = {{
    {FunctionCode::CpiCycle, {60, 60}},
    {FunctionCode::Multimedia, {90, 130}},
    {FunctionCode::HotKey, {60, 162}},
    {FunctionCode::Windows, {90, 114}},
}};

Size SubmenuSizeOf(FunctionCode function)
{
    for (const SubmenuShape& shape : kSubmenuShapes) {
        if (shape.function == function) {
            return shape.size;
        }
    }
    return {};
}

std::vector<std::string> Entries(std::span<const std::string_view> texts)
{
    return {texts.begin(), texts.end()};
}

} // namespace

AssignmentMenuModel::AssignmentMenuModel(ProfileRecord& record, ButtonLabels& buttonLabel, Language language,
                                         AssignmentDialogs& dialogs, MessageSink& messages)
    : m_record(record), m_buttonLabel(buttonLabel), m_texts(AssignmentTextsFor(language)),
      m_assignment(record, buttonLabel, language), m_dialogs(dialogs), m_messages(messages)
{}

std::optional<std::size_t> AssignmentMenuModel::ButtonOfRow(int row, AssignmentView view)
{
    if (row < 1 || row > RowCount(view)) {
        return std::nullopt;
    }
    const std::size_t first = view == AssignmentView::Front ? 0 : kFirstSideButton;
    return first + static_cast<std::size_t>(row - 1);
}

int AssignmentMenuModel::RowCount(AssignmentView view)
{
    return view == AssignmentView::Front ? kFrontRows : kSideRows;
}

Rect AssignmentMenuModel::DropdownBox(int row, Point contentOrigin)
{
    const int top = kFirstRowTop + kRowPitch * row;
    return Rect{kBoxLeft, top, kBoxRight, top + kRowHeight}.Offset(contentOrigin.x - kContentOrigin.x,
                                                                   contentOrigin.y - kContentOrigin.y);
}

Rect AssignmentMenuModel::LabelArea(Rect dropdownBox)
{
    return {dropdownBox.left, dropdownBox.top, dropdownBox.right - kDropdownArrowWidth, dropdownBox.bottom};
}

Rect AssignmentMenuModel::ButtonNameArea(int row, Point contentOrigin)
{
    const Rect box = DropdownBox(row, contentOrigin);
    return {box.left - (kBoxLeft - kNameLeft), box.top, box.left, box.bottom};
}

int AssignmentMenuModel::BareContentHeight(AssignmentView view)
{
    return kContentTop + RowCount(view) * kRowPitch + kContentBottomMargin;
}

std::string_view AssignmentMenuModel::ButtonName(std::size_t button) const
{
    return m_texts.buttonNames[button];
}

AssignmentMenuModel::BoxState AssignmentMenuModel::BoxStateOf(int row, AssignmentView view) const
{
    if (m_hoveredRow == row) {
        return BoxState::Over;
    }
    const std::optional<std::size_t> button = ButtonOfRow(row, view);
    if (button && m_leaveButton == button) {
        return BoxState::Leave;
    }
    return BoxState::Normal;
}

std::optional<int> AssignmentMenuModel::RowAt(Point p, Point contentOrigin)
{
    for (int row = 1; row <= kRowCount; ++row) {
        if (DropdownBox(row, contentOrigin).Contains(p)) {
            return row;
        }
    }
    return std::nullopt;
}

bool AssignmentMenuModel::Press(Point p, Point contentOrigin, AssignmentView view)
{
    const std::optional<int> row = RowAt(p, contentOrigin);
    if (!row) {
        return false;
    }
    // Rows 6 and 7 of the side view hold no button: the press ends there all the same.
    if (const auto button = ButtonOfRow(*row, view)) {
        ClickDropdown(*button, DropdownBox(*row, contentOrigin));
    }
    return true;
}

bool AssignmentMenuModel::Hover(Point p, Point contentOrigin, AssignmentView view)
{
    std::optional<int> hovered;
    for (int row = 1; row <= RowCount(view); ++row) {
        if (DropdownBox(row, contentOrigin).Contains(p)) {
            hovered = row;
            break;
        }
    }
    if (hovered == m_hoveredRow) {
        return false;
    }
    m_hoveredRow = hovered;
    return true;
}

bool AssignmentMenuModel::Unhover()
{
    const bool changed = m_hoveredRow.has_value();
    m_hoveredRow.reset();
    return changed;
}

void AssignmentMenuModel::ClickDropdown(std::size_t button, Rect box)
{
    if (button >= kButtonCount) {
        return;
    }
    if (m_openButton == button) {
        CloseAll();
        return;
    }
    CloseAll();
    if (OnlyClickButton(button)) {
        // The mouse must keep a left button: its only "Click" cannot be given away.
        m_messages.ShowMessage(m_texts.leftKeyRequired, m_texts.warningTitle);
        return;
    }
    m_leaveButton.reset();
    m_openButton = button;
    m_mainList.emplace(
        Rect{box.left + (kListLeft - kBoxLeft), box.top, box.left + (kListRight - kBoxLeft), box.top + kListHeight},
        kListRowHeight, Entries(m_texts.functions));
}

bool AssignmentMenuModel::OnlyClickButton(std::size_t button) const
{
    constexpr auto kClick = static_cast<std::uint8_t>(FunctionCode::Click);
    if (m_record.buttonFunction[button] != kClick) {
        return false;
    }
    for (std::size_t other = 0; other < kButtonCount; ++other) {
        if (other != button && m_record.buttonFunction[other] == kClick) {
            return false;
        }
    }
    return true;
}

bool AssignmentMenuModel::HoverList(Point p)
{
    if (!m_mainList) {
        return false;
    }
    // A submenu lies over the main list's edge, so it is tested first.
    if (m_submenu && m_submenu->Area().Contains(p)) {
        return m_submenu->HighlightAt(p);
    }
    if (!m_mainList->Area().Contains(p)) {
        return false;
    }
    const std::optional<std::size_t> entry = m_mainList->RowAt(p);
    if (!entry) {
        return false;
    }
    return HoverMainEntry(*entry);
}

bool AssignmentMenuModel::HoverMainEntry(std::size_t entry)
{
    const Rect entryRect = m_mainList->RowRect(entry);
    bool changed = m_mainList->HighlightAt(entryRect.TopLeft());
    const auto function = static_cast<FunctionCode>(entry);
    if (IsSubmenuFunction(function)) {
        if (m_submenuFunction != function) {
            OpenSubmenu(function, entryRect);
            changed = true;
        }
    } else if (m_submenu) {
        m_submenu.reset();
        m_submenuFunction.reset();
        changed = true;
    }
    return changed;
}

void AssignmentMenuModel::OpenSubmenu(FunctionCode function, Rect entry)
{
    const Size size = SubmenuSizeOf(function);
    Rect area;
    if (function == FunctionCode::CpiCycle) {
        // Beside the entry, level with its top.
        area = Rect::At({entry.right, entry.top}, size);
    } else {
        // At the list's right edge, its bottom level with the entry's bottom.
        const int left = m_mainList->Area().right;
        area = {left, entry.bottom - size.height, left + size.width, entry.bottom};
    }
    m_submenuFunction = function;
    m_submenu.emplace(area, kListRowHeight, Entries(SubmenuTexts(m_texts, function)));
}

bool AssignmentMenuModel::PressList(Point p)
{
    if (!m_mainList) {
        return false;
    }
    if (m_submenu && m_submenu->Area().Contains(p)) {
        const std::optional<std::size_t> entry = m_submenu->RowAt(p);
        if (!entry) {
            return false;
        }
        ChooseSubmenuEntry(*entry);
        return true;
    }
    if (!m_mainList->Area().Contains(p)) {
        return false;
    }
    const std::optional<std::size_t> entry = m_mainList->RowAt(p);
    if (!entry) {
        return false;
    }
    if (IsSubmenuFunction(static_cast<FunctionCode>(*entry))) {
        // These act through their submenus; a press only shows the one that resting shows.
        return HoverMainEntry(*entry);
    }
    ChooseMainEntry(*entry);
    return true;
}

void AssignmentMenuModel::ChooseMainEntry(std::size_t entry)
{
    // The dialogs run modally; whatever happens meanwhile, the choice is for this button.
    const std::size_t button = *m_openButton;
    const auto function = static_cast<FunctionCode>(entry);
    switch (function) {
    case FunctionCode::SingleKey:
        if (const auto keyName = m_dialogs.RunSingleKeyDialog()) {
            m_assignment.StoreSingleKey(button, *keyName);
        }
        break;
    case FunctionCode::ComboKey:
        if (const auto combo = m_dialogs.RunComboKeyDialog()) {
            m_assignment.StoreComboKey(button, combo->modifierName, combo->key1Name, combo->key2Name);
        }
        break;
    case FunctionCode::MacroKey:
        if (const auto binding = m_dialogs.RunMacroKeyDialog()) {
            m_assignment.StoreMacroBinding(button, binding->macroNumber, binding->macroRepeat, binding->macroName);
        }
        break;
    default:
        m_assignment.StorePlainFunction(button, function);
        break;
    }
    FinishChoice(button);
}

void AssignmentMenuModel::ChooseSubmenuEntry(std::size_t entry)
{
    const std::size_t button = *m_openButton;
    m_assignment.StoreSubmenuChoice(button, *m_submenuFunction, entry);
    FinishChoice(button);
}

void AssignmentMenuModel::FinishChoice(std::size_t button)
{
    CloseAll();
    m_leaveButton = button;
}

bool AssignmentMenuModel::CloseAll()
{
    const bool changed = m_openButton.has_value() || m_leaveButton.has_value();
    m_openButton.reset();
    m_mainList.reset();
    m_submenu.reset();
    m_submenuFunction.reset();
    m_leaveButton.reset();
    return changed;
}

std::optional<int> AssignmentMenuModel::OpenRow(AssignmentView view) const
{
    if (!m_openButton) {
        return std::nullopt;
    }
    for (int row = 1; row <= RowCount(view); ++row) {
        if (ButtonOfRow(row, view) == m_openButton) {
            return row;
        }
    }
    return std::nullopt;
}

} // namespace veldrane
