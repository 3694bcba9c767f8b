#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/ProfileManager.h"
#include "core/profile/ProfileTransfer.h"
#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"
#include "screens/common/DialogBackground.h"
#include "screens/common/FocusControl.h"
#include "screens/common/HoverGroup.h"

namespace veldrane {

class ConfigFiles;
class IniFile;
class MessageSink;
class ProfileFileDialog;
class TextCodec;
struct ProfileRecords;

struct ConfigDialogContext
{
    ConfigFiles& files;
    // The current profile and its backup: an import into it replaces the current record, and a
    // close that selects another profile loads that one into both.
    ProfileRecords& records;
    const TextCodec& codec;
    MessageSink& messages;
    ProfileFileDialog& fileDialog;
    Language language;
    Colour textColour; // the skin's text colour
    // Message 0xB03 to the main window.
    std::function<void(ProfileManagerNotice)> notifyMainWindow;
    // The program's macro file, which a readable (".json") profile's macros join; the file in the
    // data folder, read on its own, when not given.
    IniFile* macroFile = nullptr;
    // "Applications..." for the selected name: the applications that bring that profile. The menu
    // has no such entry without it.
    std::function<void(const std::string& profile)> openApplications{};
};

// The entries of the list's context menu "ProfileList", in menu order.
enum class ProfileMenuCommand
{
    Delete,
    Edit,
    Copy,
    Load,
    Save,
};

// The controls of the manager that take the keyboard focus, in Tab order; each one's number is its
// key in ConfigDialogModel::Controls().
enum class ConfigControl
{
    Close,
    List,
    New,
};

// What the view does after an event the model has handled.
struct ConfigDialogOutcome
{
    std::optional<std::size_t> editLine;      // open the in-place editor (profile-name mode) over this line
    std::optional<ProfileManagerNotice> post; // once this event is over, RunTransfer this notice
    bool close = false;                       // the manager has closed: the window goes away
    bool startMove = false;                   // the window follows the pointer, as a caption would
};

// The model of the profile manager's window (CConfigDialog): its surface of a title row with
// the close button, the list and the "New" row, what a press, a hover, a list gesture and a
// menu entry do, and the import and export it asks the main window for. The list's rules are
// ProfileManager's; the Qt view lays a list control over the list area and shows Names().
class ConfigDialogModel
{
public:
    static constexpr Size kWindowSize{263, 598};
    // The window is drawn with this constant alpha out of 255.
    static constexpr std::uint8_t kWindowAlpha = 178;
    static constexpr Rect kTitleRow{0, 0, 263, 31};
    static constexpr Point kCloseButtonAt{240, 8};
    static constexpr Rect kCloseButton{240, 8, 255, 23};
    static constexpr Rect kListArea{0, 31, 263, 575};
    // The list control, inside the well that the picture draws 5 pixels inside the list's area,
    // its rows 3 pixels from the well's edge as in the macro manager.
    static constexpr Rect kListControl{8, 39, 255, 567};
    static constexpr Rect kNewRow{0, 575, 263, 598};

    static constexpr std::string_view kBackgroundPicture = "/Config/Config.png";
    static constexpr std::string_view kNewRowPicture = "/Config/New-Config.png";
    static constexpr std::string_view kCloseNormalPicture = "/button-close-normal.png";
    static constexpr std::string_view kCloseOverPicture = "/button-close-over.png";

    explicit ConfigDialogModel(ConfigDialogContext context);

    // Opening: the background (reported when missing; the window then keeps its size, so the
    // close button still works) and the stored list. Returns the window's size.
    Size Open(SkinImageSizes& images);

    const ProfileManagerTexts& Texts() const { return m_manager.Texts(); }
    Language InterfaceLanguage() const { return m_context.language; }
    Colour TextColour() const { return m_context.textColour; }
    std::vector<std::string> Names() const { return m_manager.Names(); }
    std::optional<std::size_t> Selected() const { return m_manager.Selected(); }
    bool CloseOver() const { return m_hover.IsOver(0); }
    bool Closed() const { return m_closed; }
    const ProfileManager& Manager() const { return m_manager; }

    // A left press on the surface (not on the list).
    ConfigDialogOutcome Press(Point p);
    // The pointer over the surface, or gone; true when a picture changed.
    bool Hover(std::optional<Point> p);

    // The list control's selection changed to `line`, or `line` was double-clicked.
    ConfigDialogOutcome SelectionChanged(std::size_t line);
    ConfigDialogOutcome DoubleClicked(std::size_t line);
    // The in-place editor committed `text` for `line`.
    void CommitRename(std::size_t line, std::string_view text);

    struct MenuEntry
    {
        ProfileMenuCommand command;
        std::string_view text;
    };
    // The context menu of a right-button release over the list, in the interface language.
    std::vector<MenuEntry> ListMenu() const;
    ConfigDialogOutcome RunMenuCommand(ProfileMenuCommand command);

    // The keyboard: Tab and Shift+Tab walk the close button, the list and the "New" row; the
    // arrows, Home and End walk the names; Return on the list closes the manager, which makes the
    // selected profile the current one; F2 renames, Delete deletes, Insert adds a name as "New"
    // does; Escape closes as the close button does; Return or Space presses a focused button.
    ConfigDialogOutcome KeyPressed(WindowKey key);
    std::vector<FocusControl> Controls() const;
    ConfigControl Focus() const { return m_focus; }
    std::optional<std::size_t> FocusIndex() const { return static_cast<std::size_t>(m_focus); }
    // The focus went to a control by other means (a click into the list, a screen reader).
    void SetFocus(ConfigControl control) { m_focus = control; }
    // A press of control `key` by the keyboard or a screen reader.
    ConfigDialogOutcome PressControl(ConfigControl control);

    // The posted import or export (ConfigDialogOutcome::post); the main window hears of it after.
    void RunTransfer(ProfileManagerNotice notice);

    // The close button, or the window system closing the window: the list is stored, the main
    // window told. Only the first close does anything. A selected profile other than the loaded
    // one is loaded (record, backup and labels); changes of the current profile that were not
    // saved are dropped only when the user agrees. The manager stays open when the user does not
    // agree or the list cannot be stored.
    ConfigDialogOutcome Close();

    void Draw(SkinCanvas& canvas) const;

private:
    // The readable form, chosen by a file name that ends in ".json": the profile at `configFile`
    // and `labelFile` written to `chosen`, or `chosen` read into them.
    void ExportReadable(const std::filesystem::path& chosen, const std::filesystem::path& configFile,
                        const std::filesystem::path& labelFile);
    void ImportReadable(const std::filesystem::path& chosen, const std::filesystem::path& configFile,
                        const std::filesystem::path& labelFile, bool current);

    ConfigDialogContext m_context;
    ProfileManager m_manager;
    ProfileTransfer m_transfer;
    DialogBackground m_background;
    HoverGroup m_hover{1}; // the close button
    // The profile a transfer was asked for; the export proposes its name as the file name.
    std::size_t m_transferPosition = 0;
    std::string m_transferName;
    bool m_closed = false;
    ConfigControl m_focus = ConfigControl::List;
};

} // namespace veldrane
