#include "core/text/ProfileManagerTexts.h"

namespace veldrane {
namespace {

constexpr ProfileManagerTexts kEnglish{
    .title = "Configuration",
    .baseName = "PROFILE",
    .newRow = "New",
    .deleteEntry = "Delete",
    .editEntry = "Edit",
    .copyEntry = "Copy",
    .loadEntry = "Load",
    .saveEntry = "Save",
    .warningTitle = "Warning",
    .limitMessage = "Profile numbers up to 6.",
    .lastProfile = "At least one profile must remain.",
    .dropChanges = "The current profile has changes that were not saved. Drop them and load the selected profile?",
    .importChanged = "The imported profile held values that the window cannot show. They were changed to the "
                     "nearest ones it can, or to the factory function of the button, in:",
    .readableNotImported = "The profile file could not be imported; nothing was changed:",
    .readableNotExported = "The profile file could not be written:",
};

// Where the program has the same word elsewhere in Chinese ("New", "Copy" and "Save" of the main
// window and the editing shortcuts, "Delete" and the "Warning" caption of the macro manager), the
// manager uses it. The base name stays "PROFILE" in every language, like the "PROFILE 1" to
// "PROFILE 6" of the main window.
constexpr ProfileManagerTexts kSimplifiedChinese{
    .title = "配置管理",
    .baseName = "PROFILE",
    .newRow = "新建",
    .deleteEntry = "刪除",
    .editEntry = "编辑",
    .copyEntry = "复制",
    .loadEntry = "载入",
    .saveEntry = "保存",
    .warningTitle = "警告",
    .limitMessage = "最多可以新建6个配置。",
    .lastProfile = "至少需要保留一个配置。",
    .dropChanges = "当前配置有未保存的更改。放弃这些更改并载入所选配置吗？",
    .importChanged = "导入的配置含有窗口无法显示的数值，已改为最接近的可用数值或按键的出厂功能，涉及：",
    .readableNotImported = "无法导入该配置文件，未做任何更改：",
    .readableNotExported = "无法写入该配置文件：",
};

constexpr ProfileManagerTexts kTraditionalChinese{
    .title = "設定檔管理",
    .baseName = "PROFILE",
    .newRow = "新建",
    .deleteEntry = "刪除",
    .editEntry = "編輯",
    .copyEntry = "複製",
    .loadEntry = "載入",
    .saveEntry = "保存",
    .warningTitle = "警告",
    .limitMessage = "最多可以新建6個設定檔。",
    .lastProfile = "至少需要保留一個配置。",
    .dropChanges = "目前配置有未儲存的變更。放棄這些變更並載入所選配置嗎？",
    .importChanged = "匯入的配置含有視窗無法顯示的數值，已改為最接近的可用數值或按鍵的出廠功能，涉及：",
    .readableNotImported = "無法匯入該設定檔，未做任何變更：",
    .readableNotExported = "無法寫入該設定檔：",
};

} // namespace

const ProfileManagerTexts& ProfileManagerTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
