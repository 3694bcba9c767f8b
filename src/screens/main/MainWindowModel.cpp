#include "screens/main/MainWindowModel.h"

#include <algorithm>
#include <utility>

#include "core/device/DeviceNotice.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/ControlCaptionTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/WindowStateTexts.h"
#include "ports/Clock.h"
#include "ports/MessageSink.h"
#include "screens/common/ButtonPicture.h"
#include "screens/common/FileMessages.h"
#include "screens/main/DeviceNoticeTarget.h"
#include "screens/main/EmptySection.h"
#include "screens/main/MainWindowLayout.h"
#include "screens/main/MainWindowView.h"
#include "screens/main/MouseConnection.h"

namespace veldrane {
namespace {

// The content pictures of the sections, whose height an open section takes, and the height it
// takes when the picture is missing.
struct SectionBackground
{
    std::string_view picture;
    int fallbackHeight;
};

constexpr std::array<SectionBackground, RightPanel::kSectionCount> kRightBackgrounds{{
    {"/DPISetting/BK_DPISetting.png", 240},
    {"/Lighting/BK_Lighting.png", 115},
    {"/USBReportRate/BK_USBReportRate.png", 140},
    {"/MouseAttribute/BK_MouseAttribute.png", 110},
    {"/MouseAttribute/BK_MouseAttribute.png", 110},
    {"/MouseAttribute/BK_ScrollSpeed.png", 80},
    {"/AngleSnap/BK_AngleSnap.png", 130},
}};
constexpr SectionBackground kButtonAssignmentBackground{"/ButtonAssignment/BK_ButtonAssignment-Side.png", 180};
constexpr SectionBackground kXySensitivityBackground{"/XYSensitivity/BK_XYSensSetting.png", 150};
constexpr SectionBackground kLightButtonBackground{"/MacroManagementBK.png", 60};

constexpr std::array<Rect, MainWindowModel::kTitleBarCount> kTitleBarAreas{kHelpButton, kMinimiseButton, kCloseButton};
// What the title-bar buttons show where the skin lacks their pictures.
constexpr std::array<std::string_view, MainWindowModel::kTitleBarCount> kTitleBarMarks{"?", "_", kCloseMark};
constexpr std::array<std::array<std::string_view, 2>, MainWindowModel::kTitleBarCount> kTitleBarPictures{{
    {kHelpNormal, kHelpOver},
    {kMinimiseNormal, kMinimiseOver},
    {kCloseNormal, kCloseOver},
}};
constexpr std::array<Rect, MainWindowModel::kBottomRowCount> kBottomRowAreas{kConfigButton, kResetButton, kCancelButton,
                                                                             kSaveButton};
constexpr std::array<std::array<std::string_view, 2>, MainWindowModel::kBottomRowCount> kBottomRowPictures{{
    {kConfigNormal, kConfigOver},
    {kCancelNormal, kCancelOver},
    {kCancelNormal, kCancelOver},
    {kSaveNormal, kSaveOver},
}};

constexpr std::array<Rect, MainWindowModel::kViewButtonCount> kViewButtonAreas{kTopViewButton, kSideViewButton};
// Left to right, as they are read.
constexpr std::array<MainWindowModel::ViewButton, MainWindowModel::kViewButtonCount> kViewButtonsInOrder{
    MainWindowModel::kSideView, MainWindowModel::kTopView};

constexpr Colour kConnectedLamp{40, 200, 60, 255};
constexpr Colour kDisconnectedLamp{200, 50, 40, 255};
constexpr int kLampGap = 6;

template <std::size_t N> std::optional<std::size_t> AreaAt(const std::array<Rect, N>& areas, Point p)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (areas[i].Contains(p)) {
            return i;
        }
    }
    return std::nullopt;
}

std::unique_ptr<PanelSection> MakeEmptySection(std::string_view title, const SectionBackground& background,
                                               SkinImageSizes& images)
{
    return std::make_unique<EmptySection>(title, background.picture, background.fallbackHeight, images);
}

std::array<std::unique_ptr<PanelSection>, RightPanel::kSectionCount> MakeRightSections(const MainWindowTexts& texts,
                                                                                       SkinImageSizes& images)
{
    const std::array<std::string_view, RightPanel::kSectionCount> titles{
        texts.cpiSetting,       texts.lighting,    texts.usbReportRate, texts.mouseSpeed,
        texts.doubleClickSpeed, texts.scrollSpeed, texts.angleSnap};
    std::array<std::unique_ptr<PanelSection>, RightPanel::kSectionCount> sections;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        sections[i] = MakeEmptySection(titles[i], kRightBackgrounds[i], images);
    }
    return sections;
}

Point CentreOf(Rect area)
{
    return {area.left + area.Width() / 2, area.top + area.Height() / 2};
}

Rect RingAround(Rect area)
{
    return {area.left - kFocusRingWidth, area.top - kFocusRingWidth, area.right + kFocusRingWidth,
            area.bottom + kFocusRingWidth};
}

ControlAction ActionOf(WindowKey key)
{
    switch (key) {
    case WindowKey::Right:
    case WindowKey::Up:
        return ControlAction::Increase;
    case WindowKey::Left:
    case WindowKey::Down:
        return ControlAction::Decrease;
    case WindowKey::PageUp:
        return ControlAction::IncreaseMore;
    case WindowKey::PageDown:
        return ControlAction::DecreaseMore;
    case WindowKey::Home:
        return ControlAction::ToFirst;
    case WindowKey::End:
        return ControlAction::ToLast;
    case WindowKey::OpenList:
        return ControlAction::OpenList;
    default:
        return ControlAction::Press;
    }
}

Size ThumbSizeOf(SkinImageSizes& images)
{
    return images.ImageSize(kScrollThumbPicture).value_or(ScrollThumb::kDefaultSize);
}

std::uint8_t ColourByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

MainWindowModel::MainWindowModel(AppContext& context, MainWindowView& view)
    : m_context(context), m_view(view), m_commands(context.records, context.files, context.mouse, context.messages,
                                                   context.pointerSettings, context.language),
      m_help(context.language, context.shell, context.messages, context.images, context.installedDirectory),
      m_left(MakeEmptySection(context.texts.buttonAssignment, kButtonAssignmentBackground, context.images),
             context.texts.macroManager,
             MakeEmptySection(context.texts.xySensitivitySetting, kXySensitivityBackground, context.images),
             MakeEmptySection(context.texts.m1M5LightButton, kLightButtonBackground, context.images)),
      m_right(MakeRightSections(context.texts, context.images), ThumbSizeOf(context.images)),
      m_windowSize(context.images.ImageSize(kMainBackground).value_or(kFallbackWindowSize))
{
    // A profile that never had its labels gets them in the window's language before anything
    // shows them; painting only reads.
    m_commands.FillFirstRunLabels();
}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::SetRightSection(RightPanel::SectionIndex index, std::unique_ptr<PanelSection> section)
{
    m_right.Stack().ReplaceSection(index, std::move(section));
    m_right.FollowThumb();
}

void MainWindowModel::SetLeftSection(LeftPanel::RowIndex row, std::unique_ptr<PanelSection> section)
{
    if (row != LeftPanel::kMacroManager) {
        m_left.Stack().ReplaceSection(row, std::move(section));
    }
}

Colour MainWindowModel::TextColour() const
{
    const SkinSettings& skin = m_context.files.Skin();
    return {ColourByte(skin.red), ColourByte(skin.green), ColourByte(skin.blue), 255};
}

// Drawing --------------------------------------------------------------------------------------

void MainWindowModel::Draw(SkinCanvas& canvas)
{
    const MainWindowTexts& texts = m_context.texts;
    const Colour textColour = TextColour();

    canvas.DrawImage(kMainBackground, {0, 0});
    canvas.DrawText(kLogoArea, kMakerWebAddress, FontRole::Text, textColour, TextAlign::Centre);

    for (std::size_t i = 0; i < kTitleBarCount; ++i) {
        DrawButtonPicture(canvas, kTitleBarPictures[i][m_titleBarHover.IsOver(i) ? 1 : 0], kTitleBarAreas[i],
                          kTitleBarMarks[i]);
    }
    const std::array<std::string_view, kBottomRowCount> labels{texts.config, texts.reset, texts.cancel, texts.save};
    for (std::size_t i = 0; i < kBottomRowCount; ++i) {
        DrawButtonPicture(canvas, kBottomRowPictures[i][m_bottomRowHover.IsOver(i) ? 1 : 0], kBottomRowAreas[i]);
        canvas.DrawText(kBottomRowAreas[i], labels[i], FontRole::Text, textColour, TextAlign::Centre);
    }

    const std::optional<std::string> litMouse = SectionMousePicture();
    std::string_view mousePicture = litMouse                        ? std::string_view(*litMouse)
                                    : m_mouseView == MouseView::Top ? kMouseFrontPicture
                                                                    : kMouseSidePicture;
    if (auto size = canvas.ImageSize(mousePicture)) {
        Point at{kMouseArea.left + (kMouseArea.Width() - size->width) / 2,
                 kMouseArea.top + (kMouseArea.Height() - size->height) / 2};
        canvas.DrawImage(mousePicture, at);
    }
    DrawStateLine(canvas, textColour);
    const std::array<std::string_view, kViewButtonCount> viewLabels{texts.top, texts.side};
    for (std::size_t i = 0; i < kViewButtonCount; ++i) {
        // The button of the view that shows stays down; a skin without that picture lights it.
        const bool down = m_mouseView == (i == kTopView ? MouseView::Top : MouseView::Side);
        const Point at = kViewButtonAreas[i].TopLeft();
        if (!down || !canvas.DrawImage(kViewButtonDown, at)) {
            canvas.DrawImage(down || m_viewButtonHover.IsOver(i) ? kViewButtonOver : kViewButtonNormal, at);
        }
        canvas.DrawText(kViewButtonAreas[i], viewLabels[i], FontRole::Text, textColour, TextAlign::Centre);
    }

    auto hoveredMenu = [&](std::size_t first, std::size_t count) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < count; ++i) {
            if (m_menuHover.IsOver(first + i)) {
                return i;
            }
        }
        return std::nullopt;
    };
    m_left.Stack().Draw(canvas, hoveredMenu(0, LeftPanel::kRowCount), textColour);
    m_right.Stack().Draw(canvas, hoveredMenu(LeftPanel::kRowCount, RightPanel::kSectionCount), textColour);

    if (const auto ring = FocusRing()) {
        const Rect& r = *ring;
        const int w = kFocusRingWidth;
        for (const Rect side :
             {Rect{r.left, r.top, r.right, r.top + w}, Rect{r.left, r.bottom - w, r.right, r.bottom},
              Rect{r.left, r.top, r.left + w, r.bottom}, Rect{r.right - w, r.top, r.right, r.bottom}}) {
            canvas.FillRect(side, kFocusRingColour);
        }
    }
}

void MainWindowModel::DrawStateLine(SkinCanvas& canvas, Colour textColour)
{
    const WindowStateTexts& state = WindowStateTextsFor(m_context.language);
    const bool connected = m_context.mouse.IsConnected();
    canvas.FillRect(kConnectionLamp, connected ? kConnectedLamp : kDisconnectedLamp);
    const Rect text{kConnectionStateArea.left, kConnectionStateArea.top, kConnectionLamp.left - kLampGap,
                    kConnectionStateArea.bottom};
    canvas.DrawText(text, connected ? state.mouseConnected : state.mouseNotConnected, FontRole::Text, textColour,
                    TextAlign::Right);
    const std::string& name = m_context.files.LoadedProfileName();
    if (!name.empty()) {
        canvas.DrawText(kProfileNameArea, std::string(state.profileCaption) + name, FontRole::Text, textColour,
                        TextAlign::Left);
    }
}

void MainWindowModel::RedrawPanel(Panel panel)
{
    m_view.Redraw(panel == Panel::Left ? LeftPanel::kViewport : RightPanel::kViewport);
}

SectionStack& MainWindowModel::StackOf(Panel panel)
{
    return panel == Panel::Left ? m_left.Stack() : m_right.Stack();
}

// Clicks -----------------------------------------------------------------------------------------

void MainWindowModel::Press(Point p)
{
    FocusControlAt(p);
    // The open lists are windows of their own: a press that reaches the window is outside them and
    // closes them, unless it is on a section's own control (a button's box opens or closes its
    // list itself).
    if (!SectionTakesPress(p)) {
        CloseListsAndRedraw();
    }
    if (PressFirstGroup(p)) {
        return;
    }
    PressPages(p);
}

bool MainWindowModel::PressFirstGroup(Point p)
{
    if (kLogoArea.Contains(p)) {
        m_context.shell.OpenUrl(kMakerWebAddress);
        return true;
    }
    if (kResetButton.Contains(p)) {
        m_commands.ResetProfile(*this);
        return true;
    }
    if (kCancelButton.Contains(p)) {
        m_context.records.Revert();
        m_reloadOnShow = true;
        HideWindow();
        return true;
    }
    if (kSaveButton.Contains(p)) {
        SaveProfile();
        return true;
    }
    if (m_help.IsOpen() && !kHelpButton.Contains(p)) {
        CloseHelp(); // and the click goes on to the other areas
    }
    if (kHelpButton.Contains(p)) {
        ToggleHelp();
        return true;
    }
    if (kMinimiseButton.Contains(p)) {
        HideWindow();
        return true;
    }
    if (kCloseButton.Contains(p)) {
        m_view.ExitProcess();
        return true;
    }
    if (kConfigButton.Contains(p)) {
        if (!m_profileManagerOpen) {
            m_profileManagerOpen = true;
            m_commands.SetListOwnedElsewhere(true);
            PointerLeft(); // the dialog takes the pointer; "Config" is not lit behind it
            m_view.OpenProfileManager();
        }
        return true;
    }
    if (kTopViewButton.Contains(p)) {
        SetMouseView(MouseView::Top);
        return true;
    }
    if (kSideViewButton.Contains(p)) {
        SetMouseView(MouseView::Side);
        return true;
    }
    if (auto row = m_left.Stack().HeaderAt(p)) {
        if (*row == LeftPanel::kMacroManager) {
            PointerLeft();
            if (auto macroData = m_view.RunMacroManager()) {
                std::copy(macroData->begin(), macroData->end(), m_context.records.Current.macroData.begin());
            }
        } else {
            m_left.Stack().Toggle(*row);
        }
        RedrawPanel(Panel::Left);
        return true;
    }
    return false;
}

void MainWindowModel::PressPages(Point p)
{
    // A press on a header or on a control acts and ends there; one on an empty spot moves the
    // window.
    if (auto header = m_right.Stack().HeaderAt(p)) {
        m_right.Toggle(*header);
        m_view.ScrollThumbMoved();
        RedrawPanel(Panel::Right);
        return;
    }
    if (PressSectionContent(Panel::Right, p)) {
        return;
    }
    if (PressSectionContent(Panel::Left, p)) {
        return;
    }
    m_view.StartWindowDrag(p);
}

bool MainWindowModel::PressSectionContent(Panel panel, Point p)
{
    SectionStack& stack = StackOf(panel);
    const auto row = stack.OpenContentAt(p);
    if (!row) {
        return false;
    }
    PanelSection* section = stack.Section(*row);
    const Point origin = stack.ContentOrigin(*row);
    const bool takes = section->TakesPress(p, origin);
    const std::optional<std::string> litBefore = SectionMousePicture();
    if (section->Press(p, origin)) {
        RedrawPanel(panel);
    }
    if (SectionMousePicture() != litBefore) {
        m_view.Redraw(kMouseArea);
    }
    if (takes) {
        m_pressedSection = PanelRow{panel, *row};
    }
    return takes;
}

void MainWindowModel::Release(Point p)
{
    if (!m_pressedSection) {
        return;
    }
    PanelRow pressed = *m_pressedSection;
    m_pressedSection.reset();
    SectionStack& stack = StackOf(pressed.panel);
    if (PanelSection* section = stack.Section(pressed.row); section && stack.IsOpen(pressed.row)) {
        if (section->Release(p, stack.ContentOrigin(pressed.row))) {
            RedrawPanel(pressed.panel);
        }
    }
}

void MainWindowModel::SaveProfile()
{
    if (!m_applyLock) {
        m_applyLock = true;
        m_commands.ApplyProfile(*this);
        StartTimer(WindowTimer::ApplyLock, kApplyLockPeriod);
    }
}

void MainWindowModel::ToggleHelp()
{
    if (m_help.IsOpen()) {
        CloseHelp();
        return;
    }
    m_help.Open();
    PointerLeft();
    m_view.ShowHelp();
}

void MainWindowModel::CloseHelp()
{
    m_help.Close();
    m_view.CloseHelp();
}

void MainWindowModel::SetMouseView(MouseView view)
{
    // An open list belongs to a button of the old view: a choice in it would change a button that
    // is no longer on screen.
    CloseAllLists();
    m_mouseView = view;
    for (SectionStack* stack : {&m_left.Stack(), &m_right.Stack()}) {
        for (std::size_t row = 0; row < stack->RowCount(); ++row) {
            if (PanelSection* section = stack->Section(row)) {
                section->MouseViewChanged(view);
            }
        }
    }
    m_view.Redraw(std::nullopt);
}

bool MainWindowModel::SectionTakesPress(Point p) const
{
    for (const SectionStack* stack : {&m_left.Stack(), &m_right.Stack()}) {
        if (const auto row = stack->OpenContentAt(p)) {
            return stack->Section(*row)->TakesPress(p, stack->ContentOrigin(*row));
        }
    }
    return false;
}

void MainWindowModel::EscapePressed()
{
    CloseListsAndRedraw();
}

void MainWindowModel::CloseListsAndRedraw()
{
    const std::optional<std::string> litBefore = SectionMousePicture();
    CloseAllLists();
    if (SectionMousePicture() != litBefore) {
        m_view.Redraw(kMouseArea);
        RedrawPanel(Panel::Left);
    }
}

void MainWindowModel::CloseAllLists()
{
    for (SectionStack* stack : {&m_left.Stack(), &m_right.Stack()}) {
        for (std::size_t row = 0; row < stack->RowCount(); ++row) {
            if (PanelSection* section = stack->Section(row)) {
                section->CloseLists();
            }
        }
    }
}

std::optional<std::string> MainWindowModel::SectionMousePicture() const
{
    for (const SectionStack* stack : {&m_left.Stack(), &m_right.Stack()}) {
        for (std::size_t row = 0; row < stack->RowCount(); ++row) {
            const PanelSection* section = stack->Section(row);
            if (section && stack->IsOpen(row)) {
                if (auto picture = section->MousePicture()) {
                    return picture;
                }
            }
        }
    }
    return std::nullopt;
}

// Hover ------------------------------------------------------------------------------------------

void MainWindowModel::Move(Point p, bool leftButtonHeld)
{
    if (leftButtonHeld && m_pressedSection) {
        SectionStack& stack = StackOf(m_pressedSection->panel);
        std::size_t row = m_pressedSection->row;
        if (PanelSection* section = stack.Section(row); section && stack.IsOpen(row)) {
            if (section->Drag(p, stack.ContentOrigin(row))) {
                RedrawPanel(m_pressedSection->panel);
            }
        }
        return;
    }
    Hover(p);
}

void MainWindowModel::PointerLeft()
{
    Hover({-1, -1}); // a point outside every hot area
}

void MainWindowModel::Hover(Point p)
{
    for (std::size_t area : m_titleBarHover.Update(AreaAt(kTitleBarAreas, p))) {
        m_view.Redraw(kTitleBarAreas[area]);
    }
    for (std::size_t area : m_bottomRowHover.Update(AreaAt(kBottomRowAreas, p))) {
        m_view.Redraw(kBottomRowAreas[area]);
    }
    for (std::size_t area : m_viewButtonHover.Update(AreaAt(kViewButtonAreas, p))) {
        m_view.Redraw(kViewButtonAreas[area]);
    }
    HoverMenus(p);
    HoverSections(p);
}

std::optional<std::size_t> MainWindowModel::MenuIndexAt(Point p) const
{
    if (auto row = m_left.Stack().HeaderAt(p)) {
        return *row;
    }
    if (auto header = m_right.Stack().HeaderAt(p)) {
        return LeftPanel::kRowCount + *header;
    }
    return std::nullopt;
}

Rect MainWindowModel::MenuArea(std::size_t index) const
{
    if (index < LeftPanel::kRowCount) {
        return m_left.Stack().HeaderArea(index);
    }
    return m_right.Stack().HeaderArea(index - LeftPanel::kRowCount);
}

void MainWindowModel::HoverMenus(Point p)
{
    for (std::size_t index : m_menuHover.Update(MenuIndexAt(p))) {
        m_view.Redraw(MenuArea(index));
    }
}

void MainWindowModel::HoverSections(Point p)
{
    std::optional<PanelRow> under;
    if (auto row = m_right.Stack().OpenContentAt(p)) {
        under = PanelRow{Panel::Right, *row};
    } else if (auto leftRow = m_left.Stack().OpenContentAt(p)) {
        under = PanelRow{Panel::Left, *leftRow};
    }
    if (m_hoveredSection &&
        (!under || under->panel != m_hoveredSection->panel || under->row != m_hoveredSection->row)) {
        if (PanelSection* left = StackOf(m_hoveredSection->panel).Section(m_hoveredSection->row);
            left && left->Unhover()) {
            RedrawPanel(m_hoveredSection->panel);
        }
    }
    m_hoveredSection = under;
    if (under) {
        SectionStack& stack = StackOf(under->panel);
        if (stack.Section(under->row)->Hover(p, stack.ContentOrigin(under->row))) {
            RedrawPanel(under->panel);
        }
    }
}

void MainWindowModel::Wheel(Point p, int notches)
{
    if (!RightPanel::kViewport.Contains(p) && !m_right.Thumb().Area().Contains(p)) {
        return;
    }
    if (m_right.Wheel(notches)) {
        m_view.ScrollThumbMoved();
        RedrawPanel(Panel::Right);
    }
}

// Keyboard ---------------------------------------------------------------------------------------

void MainWindowModel::KeyPressed(WindowKey key)
{
    if (key != WindowKey::Tab && key != WindowKey::BackTab && ListTakesKey(key)) {
        return;
    }
    switch (key) {
    case WindowKey::Tab:
        CloseListsAndRedraw();
        MoveFocusBy(1);
        return;
    case WindowKey::BackTab:
        CloseListsAndRedraw();
        MoveFocusBy(-1);
        return;
    case WindowKey::Escape:
        if (m_help.IsOpen()) {
            CloseHelp();
        } else {
            EscapePressed();
        }
        return;
    case WindowKey::Help:
        if (!m_help.IsOpen()) {
            ToggleHelp();
        }
        return;
    case WindowKey::Save:
        SaveProfile();
        return;
    case WindowKey::Delete:
    case WindowKey::Rename:
    case WindowKey::Insert:
        return; // the main window has nothing to delete, rename or insert
    default:
        break;
    }
    const std::vector<FocusEntry> entries = FocusEntries();
    if (const auto at = FocusPosition(entries)) {
        (void)ActOnEntry(entries, *at, ActionOf(key));
    }
}

bool MainWindowModel::ListTakesKey(WindowKey key)
{
    // An open list has the keys first; the focus stays on the control the list belongs to.
    for (const Panel panel : {Panel::Left, Panel::Right}) {
        SectionStack& stack = StackOf(panel);
        for (std::size_t row = 0; row < stack.RowCount(); ++row) {
            PanelSection* section = stack.Section(row);
            if (!section || !stack.IsOpen(row)) {
                continue;
            }
            const std::optional<std::string> litBefore = SectionMousePicture();
            if (section->ListKey(key)) {
                RedrawPanel(panel);
                if (SectionMousePicture() != litBefore) {
                    m_view.Redraw(kMouseArea);
                }
                if (const auto at = FocusIndex()) {
                    m_view.ControlChanged(*at);
                }
                return true;
            }
        }
    }
    return false;
}

std::vector<MainWindowModel::FocusEntry> MainWindowModel::FocusEntries() const
{
    const MainWindowTexts& texts = m_context.texts;
    const ControlCaptionTexts& captions = ControlCaptionTextsFor(m_context.language);
    std::vector<FocusEntry> entries;
    const std::array<std::string_view, kTitleBarCount> titleNames{captions.help, captions.minimise, captions.close};
    for (std::size_t i = 0; i < kTitleBarCount; ++i) {
        entries.push_back({{FocusKind::TitleBar, i}, ControlAt(kTitleBarAreas[i], ControlRole::Button, titleNames[i])});
    }
    entries.front().control.expanded = m_help.IsOpen();
    AddPanelEntries(entries, Panel::Left);
    for (ViewButton button : kViewButtonsInOrder) {
        FocusControl control =
            ControlAt(kViewButtonAreas[button], ControlRole::RadioButton, button == kTopView ? texts.top : texts.side);
        control.checked = m_mouseView == (button == kTopView ? MouseView::Top : MouseView::Side);
        entries.push_back({{FocusKind::ViewButton, button}, std::move(control)});
    }
    AddPanelEntries(entries, Panel::Right);
    const std::array<std::string_view, kBottomRowCount> labels{texts.config, texts.reset, texts.cancel, texts.save};
    for (std::size_t i = 0; i < kBottomRowCount; ++i) {
        FocusControl control = ControlAt(kBottomRowAreas[i], ControlRole::Button, labels[i]);
        control.disabled = i == kSave && m_applyLock;
        entries.push_back({{FocusKind::BottomRow, i}, std::move(control)});
    }
    constexpr std::size_t kControlsPerRow = 256;
    constexpr std::size_t kRowsPerKind = 256;
    for (FocusEntry& entry : entries) {
        entry.control.key =
            (static_cast<std::size_t>(entry.id.kind) * kRowsPerKind + entry.id.index) * kControlsPerRow +
            entry.id.control;
    }
    return entries;
}

void MainWindowModel::AddPanelEntries(std::vector<FocusEntry>& entries, Panel panel) const
{
    const SectionStack& stack = panel == Panel::Left ? m_left.Stack() : m_right.Stack();
    const FocusKind headerKind = panel == Panel::Left ? FocusKind::LeftHeader : FocusKind::RightHeader;
    const FocusKind controlKind = panel == Panel::Left ? FocusKind::LeftControl : FocusKind::RightControl;
    for (std::size_t row = 0; row < stack.RowCount(); ++row) {
        const PanelSection* section = stack.Section(row);
        FocusControl header =
            ControlAt(stack.HeaderArea(row), section ? ControlRole::PageTab : ControlRole::Button, stack.Title(row));
        header.expanded = stack.IsOpen(row);
        entries.push_back({{headerKind, row}, std::move(header)});
        if (section && stack.IsOpen(row)) {
            std::vector<FocusControl> controls = section->FocusControls(stack.ContentOrigin(row));
            for (std::size_t i = 0; i < controls.size(); ++i) {
                entries.push_back({{controlKind, row, i}, std::move(controls[i])});
            }
        }
    }
}

std::optional<std::size_t> MainWindowModel::FocusPosition(const std::vector<FocusEntry>& entries) const
{
    if (!m_focus) {
        return std::nullopt;
    }
    // A control of a section that has been shut leaves the focus on the section's header.
    FocusId header = *m_focus;
    if (header.kind == FocusKind::LeftControl || header.kind == FocusKind::RightControl) {
        header = {header.kind == FocusKind::LeftControl ? FocusKind::LeftHeader : FocusKind::RightHeader, header.index};
    }
    std::optional<std::size_t> fallback;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id == *m_focus) {
            return i;
        }
        if (entries[i].id == header) {
            fallback = i;
        }
    }
    return fallback;
}

std::vector<FocusControl> MainWindowModel::Controls() const
{
    std::vector<FocusControl> controls;
    for (FocusEntry& entry : FocusEntries()) {
        controls.push_back(std::move(entry.control));
    }
    return controls;
}

std::optional<std::size_t> MainWindowModel::FocusIndex() const
{
    return FocusPosition(FocusEntries());
}

void MainWindowModel::SetFocus(std::size_t index)
{
    const std::vector<FocusEntry> entries = FocusEntries();
    if (index < entries.size()) {
        MoveFocus(entries, index);
    }
}

void MainWindowModel::MoveFocusBy(int step)
{
    const std::vector<FocusEntry> entries = FocusEntries();
    const auto count = static_cast<long long>(entries.size());
    long long next = step > 0 ? 0 : count - 1;
    if (const auto at = FocusPosition(entries)) {
        next = (static_cast<long long>(*at) + step + count) % count;
    }
    MoveFocus(entries, static_cast<std::size_t>(next));
}

void MainWindowModel::MoveFocus(const std::vector<FocusEntry>& entries, std::size_t index, bool scroll)
{
    const std::optional<Rect> before = FocusRing();
    m_focus = entries[index].id;
    const FocusKind kind = entries[index].id.kind;
    if (scroll && (kind == FocusKind::RightHeader || kind == FocusKind::RightControl) &&
        m_right.ScrollIntoView(entries[index].control.area)) {
        m_view.ScrollThumbMoved();
        RedrawPanel(Panel::Right);
    }
    RedrawFocusRing(before);
    RedrawFocusRing(FocusRing());
    m_view.FocusMoved();
}

void MainWindowModel::FocusControlAt(Point p)
{
    // The ring follows the pointer: a press on a control gives it the keyboard focus, one on an
    // empty spot leaves the focus where it was. The right panel's controls count only inside its
    // viewport, where they show.
    const std::vector<FocusEntry> entries = FocusEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FocusKind kind = entries[i].id.kind;
        const bool right = kind == FocusKind::RightHeader || kind == FocusKind::RightControl;
        if (entries[i].control.area.Contains(p) && (!right || RightPanel::kViewport.Contains(p))) {
            if (m_focus != entries[i].id) {
                // The press goes on at p: the panel must not scroll under the pointer.
                MoveFocus(entries, i, false);
            }
            return;
        }
    }
}

std::optional<Rect> MainWindowModel::FocusRing() const
{
    const std::vector<FocusEntry> entries = FocusEntries();
    if (const auto at = FocusPosition(entries)) {
        return RingAround(entries[*at].control.area);
    }
    return std::nullopt;
}

void MainWindowModel::RedrawFocusRing(std::optional<Rect> area)
{
    if (area) {
        m_view.Redraw(*area);
    }
}

bool MainWindowModel::ActOn(std::size_t index, ControlAction action)
{
    const std::vector<FocusEntry> entries = FocusEntries();
    return index < entries.size() && ActOnEntry(entries, index, action);
}

bool MainWindowModel::StepTowards(std::size_t index, int number)
{
    bool moved = false;
    // Every slider has fewer steps than this.
    constexpr int kMostSteps = 1000;
    for (int i = 0; i < kMostSteps; ++i) {
        const std::vector<FocusControl> controls = Controls();
        if (index >= controls.size() || !controls[index].number || *controls[index].number == number) {
            break;
        }
        const int before = *controls[index].number;
        const bool up = before < number;
        if (!ActOn(index, up ? ControlAction::Increase : ControlAction::Decrease)) {
            break;
        }
        const std::optional<int> after = Controls()[index].number;
        if (after && (up ? *after > number : *after < number)) {
            (void)ActOn(index, up ? ControlAction::Decrease : ControlAction::Increase); // one step too far
            break;
        }
        moved = true;
    }
    return moved;
}

bool MainWindowModel::ActOnEntry(const std::vector<FocusEntry>& entries, std::size_t index, ControlAction action)
{
    const FocusEntry& entry = entries[index];
    const FocusId id = entry.id;
    bool acted = false;
    switch (id.kind) {
    case FocusKind::TitleBar:
    case FocusKind::ViewButton:
    case FocusKind::BottomRow:
    case FocusKind::LeftHeader:
        // Each acts as a click on it; the left panel never scrolls.
        if (action == ControlAction::Press && !entry.control.disabled) {
            Press(CentreOf(entry.control.area));
            acted = true;
        }
        break;
    case FocusKind::RightHeader:
        if (action == ControlAction::Press) {
            CloseListsAndRedraw();
            m_right.Toggle(id.index);
            m_view.ScrollThumbMoved();
            RedrawPanel(Panel::Right);
            acted = true;
        }
        break;
    case FocusKind::LeftControl:
    case FocusKind::RightControl: {
        const Panel panel = id.kind == FocusKind::LeftControl ? Panel::Left : Panel::Right;
        SectionStack& stack = StackOf(panel);
        PanelSection* section = stack.Section(id.index);
        if (!section || !stack.IsOpen(id.index)) {
            break;
        }
        const std::optional<std::string> litBefore = SectionMousePicture();
        acted = section->Act(id.control, action);
        if (acted) {
            RedrawPanel(panel);
        }
        if (SectionMousePicture() != litBefore) {
            m_view.Redraw(kMouseArea);
        }
        break;
    }
    }
    if (acted) {
        m_view.ControlChanged(index);
    }
    return acted;
}

// Scroll thumb -----------------------------------------------------------------------------------

void MainWindowModel::ThumbPress(Point p)
{
    m_right.Thumb().Press(p);
}

void MainWindowModel::ThumbDrag(Point p)
{
    if (m_right.Thumb().Drag(p)) {
        m_right.FollowThumb();
        m_view.ScrollThumbMoved();
        RedrawPanel(Panel::Right);
    }
}

void MainWindowModel::ThumbRelease()
{
    m_right.Thumb().Release();
}

// Help panel -------------------------------------------------------------------------------------

void MainWindowModel::HelpPanelPress(Point p)
{
    if (m_help.Press(p) == HelpPanelModel::PressResult::UpdateRequested) {
        OnUpdateRequest(0);
    }
}

void MainWindowModel::OnUpdateRequest(int request)
{
    if (request == 0) {
        m_help.StartUpdater();
    }
}

// Window life ------------------------------------------------------------------------------------

void MainWindowModel::ShowFromTray()
{
    CloseAllLists();
    if (std::exchange(m_reloadOnShow, false)) {
        ReloadProfile();
    } else {
        m_view.Redraw(std::nullopt);
    }
    m_view.ShowAndRaise();
    if (!m_context.mouse.IsConnected()) {
        m_context.notices.SendDeviceNotice(DeviceNotice{kNoticeMouseNotDetected, 0});
    }
}

void MainWindowModel::ReloadProfile()
{
    const FileOutcome loaded = m_context.files.LoadConfig(m_context.records.Current);
    m_context.files.LoadLabels(m_context.language);
    m_view.Redraw(std::nullopt);
    ShowLoadFailure(m_context.messages, loaded, m_context.files.FactoryStandsIn(), m_context.language);
}

void MainWindowModel::CloseRequested()
{
    HideWindow();
}

void MainWindowModel::HideWindow()
{
    PointerLeft();
    m_view.Hide();
}

void MainWindowModel::OnProfileManagerNotice(int notice)
{
    // The profile manager runs import (0) and export (1) itself; an import changed the current
    // profile and its labels, which the pages show.
    if (notice == 0) {
        m_view.Redraw(std::nullopt);
    }
    if (notice == 2) {
        m_profileManagerOpen = false;
        m_commands.SetListOwnedElsewhere(false);
        CloseAllLists();
        SetMouseView(MouseView::Side);
    }
}

// Timers and commands ----------------------------------------------------------------------------

void MainWindowModel::StartTimer(WindowTimer timer, std::chrono::milliseconds period)
{
    m_deadlines[static_cast<std::size_t>(timer)] = m_context.clock.Now() + period;
    m_view.TimersChanged();
}

bool MainWindowModel::IsTimerRunning(WindowTimer timer) const
{
    return m_deadlines[static_cast<std::size_t>(timer)].has_value();
}

std::optional<std::chrono::milliseconds> MainWindowModel::NextDeadline() const
{
    std::optional<std::chrono::milliseconds> next;
    for (const auto& deadline : m_deadlines) {
        if (deadline && (!next || *deadline < *next)) {
            next = deadline;
        }
    }
    return next;
}

void MainWindowModel::OnTimer()
{
    const auto now = m_context.clock.Now();
    bool expired = false;
    for (std::size_t id = 1; id < m_deadlines.size(); ++id) {
        if (!m_deadlines[id] || *m_deadlines[id] > now) {
            continue;
        }
        m_deadlines[id].reset(); // each timer kills itself when it fires
        expired = true;
        if (static_cast<WindowTimer>(id) == WindowTimer::ApplyLock) {
            m_applyLock = false;
        }
    }
    if (expired) {
        m_view.TimersChanged();
    }
}

void MainWindowModel::SetWaitCursor(bool wait)
{
    m_view.SetWaitCursor(wait);
}

void MainWindowModel::ReturnToFirstPage()
{
    CloseAllLists();
    if (m_right.ScrollToTop()) {
        m_view.ScrollThumbMoved();
    }
    m_view.Redraw(std::nullopt);
}

} // namespace veldrane
