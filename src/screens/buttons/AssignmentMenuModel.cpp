#include "screens/buttons/AssignmentMenuModel.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "core/buttons/AssignmentDialogs.h"
#include "core/text/AssignmentTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/TextMeasure.h"

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
// Without a measure a list is as wide as the system's (103 pixels), and never narrower than the
// box it opens under.
constexpr int kBareListWidth = 103;
// Wide enough for any one line the fonts draw.
constexpr int kUnbounded = 100000;
// Front Buttons 1 to 7 are rows 1 to 7; side Buttons 8 to 12 are rows 1 to 5.
constexpr std::size_t kFirstSideButton = 7;
// The section's height without its picture: the rows and a margin above and below.
constexpr int kContentTop = kFirstRowTop + kRowPitch - AssignmentMenuModel::kContentOrigin.y;
constexpr int kContentBottomMargin = 6;

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

void AssignmentMenuModel::SetLayout(const TextMeasure* measure, Rect room)
{
    m_measure = measure;
    m_room = room;
}

int AssignmentMenuModel::RowHeight() const
{
    if (!m_measure) {
        return kListRowHeight;
    }
    const int line =
        m_measure->WrappedSize("Ag", FontRole::Text, m_measure->PixelSize(FontRole::Text), kUnbounded).height;
    return std::max(kListRowHeight, line + 2 * kItemVerticalPadding);
}

PaintedList AssignmentMenuModel::MakeList(std::vector<std::string> entries, std::vector<bool> submenuRows,
                                          int leastWidth, int mostWidth) const
{
    int width = kBareListWidth;
    if (m_measure) {
        const int pixelSize = m_measure->PixelSize(FontRole::Text);
        int longest = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int text = m_measure->WrappedSize(entries[i], FontRole::Text, pixelSize, kUnbounded).width;
            const bool arrow = i < submenuRows.size() && submenuRows[i];
            longest = std::max(longest, text + (arrow ? PaintedList::kArrowRoom : 0));
        }
        width = longest + 2 * kItemPadding + 2 * PaintedList::kBorder;
    }
    width = std::max(width, leastWidth);
    const bool cut = width > mostWidth;
    width = std::min(width, mostWidth);
    const int height = static_cast<int>(entries.size()) * RowHeight() + 2 * PaintedList::kBorder;
    PaintedList list({0, 0, width, height}, RowHeight(), std::move(entries));
    list.SetTextPadding(kItemPadding);
    list.SetSubmenuRows(std::move(submenuRows));
    list.SetElided(cut);
    return list;
}

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
    OpenMainList(button, box);
}

void AssignmentMenuModel::OpenMainList(std::size_t button, Rect box)
{
    m_leaveButton.reset();
    m_openButton = button;
    std::vector<bool> submenuRows(m_texts.functions.size());
    for (std::size_t entry = 0; entry < submenuRows.size(); ++entry) {
        submenuRows[entry] = IsSubmenuFunction(static_cast<FunctionCode>(entry));
    }
    // Under the box and left-aligned with it, over it where the window has no room below.
    const PaintedList list = MakeList(Entries(m_texts.functions), std::move(submenuRows), box.Width(),
                                      std::max(box.Width(), m_room.right - box.left));
    const Size size{list.Area().Width(), list.Area().Height()};
    int top = box.bottom;
    if (top + size.height > m_room.bottom) {
        top = std::max(m_room.top, box.top - size.height);
    }
    m_mainList = list;
    m_mainList->Move(Rect::At({box.left, top}, size));
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
        CloseSubmenu();
        changed = true;
    }
    return changed;
}

void AssignmentMenuModel::OpenSubmenu(FunctionCode function, Rect entry)
{
    // Beside its entry at the list's right edge, its first row level with the entry; left of the
    // list where the window has no room on the right, and moved up as far as the window needs.
    const Rect main = m_mainList->Area();
    PaintedList submenu = MakeList(Entries(SubmenuTexts(m_texts, function)), {}, 0,
                                   std::max(m_room.right - main.right, main.left - m_room.left));
    const Size size{submenu.Area().Width(), submenu.Area().Height()};
    int left = main.right;
    if (left + size.width > m_room.right) {
        left = main.left - size.width;
    }
    int top = entry.top - PaintedList::kBorder;
    top = std::max(m_room.top, std::min(top, m_room.bottom - size.height));
    submenu.Move(Rect::At({left, top}, size));
    m_submenuFunction = function;
    m_submenu = std::move(submenu);
    m_inSubmenu = false;
}

void AssignmentMenuModel::CloseSubmenu()
{
    m_submenu.reset();
    m_submenuFunction.reset();
    m_inSubmenu = false;
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
    CloseSubmenu();
    m_leaveButton.reset();
    return changed;
}

std::vector<FocusControl> AssignmentMenuModel::FocusControls(Point contentOrigin, AssignmentView view) const
{
    std::vector<FocusControl> controls;
    for (int row = 1; row <= RowCount(view); ++row) {
        const std::size_t button = *ButtonOfRow(row, view);
        FocusControl control;
        control.area = DropdownBox(row, contentOrigin);
        control.role = ControlRole::ComboBox;
        control.name = ButtonName(button);
        control.value = Label(button);
        control.expanded = m_openButton == button;
        controls.push_back(std::move(control));
    }
    return controls;
}

bool AssignmentMenuModel::ActOnRow(int row, Point contentOrigin, AssignmentView view, ControlAction action)
{
    const std::optional<std::size_t> button = ButtonOfRow(row, view);
    if (!button || (action != ControlAction::Press && action != ControlAction::OpenList)) {
        return false;
    }
    if (m_openButton == button) {
        return false; // the open list has the keys
    }
    ClickDropdown(*button, DropdownBox(row, contentOrigin));
    if (m_mainList) {
        // The keyboard starts on the button's own function.
        (void)m_mainList->Highlight(m_record.buttonFunction[*button]);
    }
    return true;
}

std::optional<std::string> AssignmentMenuModel::CutEntryAt(Point p) const
{
    for (const auto* list : {&m_submenu, &m_mainList}) {
        if (*list && (*list)->Area().Contains(p)) {
            const std::optional<std::size_t> entry = (*list)->RowAt(p);
            if (entry && (*list)->Elided()) {
                return (*list)->Entry(*entry);
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

bool AssignmentMenuModel::ListKey(WindowKey key)
{
    if (!m_mainList) {
        return false;
    }
    PaintedList& list = m_inSubmenu && m_submenu ? *m_submenu : *m_mainList;
    const std::optional<std::size_t> at = list.Highlighted();
    const std::size_t last = list.Count() - 1;
    auto walkTo = [&](std::size_t entry) {
        if (m_inSubmenu) {
            return list.Highlight(entry);
        }
        // Walking the main list shuts a submenu that another entry opened.
        bool changed = m_mainList->Highlight(entry);
        if (m_submenu && m_submenuFunction != static_cast<FunctionCode>(entry)) {
            CloseSubmenu();
            changed = true;
        }
        return changed;
    };
    switch (key) {
    case WindowKey::Down:
        return walkTo(at ? std::min(*at + 1, last) : 0);
    case WindowKey::Up:
        return walkTo(at && *at > 0 ? *at - 1 : 0);
    case WindowKey::Home:
    case WindowKey::PageUp:
        return walkTo(0);
    case WindowKey::End:
    case WindowKey::PageDown:
        return walkTo(last);
    case WindowKey::Left:
        if (m_inSubmenu) {
            CloseSubmenu();
            return true;
        }
        return false;
    case WindowKey::Escape:
        if (m_inSubmenu) {
            CloseSubmenu();
        } else {
            CloseAll();
        }
        return true;
    case WindowKey::Right:
    case WindowKey::Return:
    case WindowKey::Space:
        break;
    default:
        return false;
    }
    if (!at) {
        return false;
    }
    if (m_inSubmenu) {
        if (key == WindowKey::Right) {
            return false;
        }
        ChooseSubmenuEntry(*at);
        return true;
    }
    const auto function = static_cast<FunctionCode>(*at);
    if (IsSubmenuFunction(function)) {
        if (m_submenuFunction != function) {
            OpenSubmenu(function, m_mainList->RowRect(*at));
        }
        m_inSubmenu = true;
        (void)m_submenu->Highlight(0);
        return true;
    }
    if (key == WindowKey::Right) {
        return false;
    }
    ChooseMainEntry(*at);
    return true;
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
