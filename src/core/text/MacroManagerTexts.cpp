#include "core/text/MacroManagerTexts.h"

#include "core/text/MessageTexts.h"

namespace veldrane {
namespace {

// The window text stays English in every language; only the drawn title is translated.
constexpr std::string_view kWindowText = "Macro Manager";

constexpr MacroManagerTexts kEnglish{
    .windowText = kWindowText,
    .ok = "OK",
    .cancel = "Cancel",
    .title = "Macro Manager",
    .selectMacro = "Select Macro",
    .keyPressSequence = "Key Press Sequence",
    .recordOption = "Record Option",
    .recordDelays = "Record delays between key commands",
    .loopTimes = "Loop Times",
    .newMacro = "New",
    .deleteEntry = "Delete",
    .baseName = "Macro",
    .startRecording = "Start Recording",
    .stopRecording = "Stop Recording",
    .recordingWindowText = "Press Ctrl+Break key to stop recording",
    .insertLeftButton = "Insert the left Button",
    .insertMiddleButton = "Insert the middle Button",
    .insertRightButton = "Insert the right button",
    .insertDelay = "Insert Delay",
    .warningTitle = "Warning",
    .limitMessage = "Macro numbers up to 12.",
    .tooLongPart = "The macro is too long for the mouse: only %1 of its %2 events reach it. The lines that do not "
                   "are struck through.",
    .tooLongNothing = "The macro is too long for the mouse: nothing of its %2 events reaches it, since a key stays "
                      "held beyond the room the mouse has. The mouse gets an empty macro.",
    .delayRefused = "A delay is a number of milliseconds, such as 120 or 120 ms. The line keeps its old value.",
    .fileTooLarge = "The macro file record.ini is larger than 4 MB and was not read. Move it away to start a new one.",
    .deleteFailed = "The macro could not be deleted; the macro file and the profiles were left as they are.",
    .saveFailed = "The macro could not be saved; the macro file was left as it is.",
    .nameBlank = kMacroNameBlank,
    .nameExists = kMacroNameExists,
};

// The simplified set writes "按鍵序列" and "刪除" with traditional characters, as users know them.
constexpr MacroManagerTexts kSimplifiedChinese{
    .windowText = kWindowText,
    .ok = "确定",
    .cancel = "取消",
    .title = "宏管理器",
    .selectMacro = "选择宏",
    .keyPressSequence = "按鍵序列",
    .recordOption = "录制选项",
    .recordDelays = "记录按键动作间的延迟",
    .loopTimes = "循环次数",
    .newMacro = "新建",
    .deleteEntry = "刪除",
    .baseName = "宏",
    .startRecording = "开始录制",
    .stopRecording = "停止录制",
    .recordingWindowText = "按 Ctrl+Break 停止录制",
    .insertLeftButton = "插入鼠标左键",
    .insertMiddleButton = "插入鼠标中键",
    .insertRightButton = "插入鼠标右键",
    .insertDelay = "插入延时",
    .warningTitle = "警告",
    .limitMessage = "最多可以新建12个宏。",
    .tooLongPart = "宏太长，鼠标无法容纳：%2 个事件中只有 %1 个送达鼠标。未送达的行已划线标出。",
    .tooLongNothing =
        "宏太长，鼠标无法容纳：%2 个事件都未送达鼠标，因为有按键一直按住超出鼠标的容量。鼠标得到的是空宏。",
    .delayRefused = "延时须为毫秒数，例如 120 或 120 ms。该行保持原值。",
    .fileTooLarge = "宏文件 record.ini 大于 4 MB，未被读取。请将其移走以新建宏文件。",
    .deleteFailed = "无法删除宏；宏文件和配置保持原样。",
    .saveFailed = "无法保存宏；宏文件保持原样。",
    .nameBlank = "宏名称不能为空",
    .nameExists = "宏名称已存在",
};

constexpr MacroManagerTexts kTraditionalChinese{
    .windowText = kWindowText,
    .ok = "確定",
    .cancel = "取消",
    .title = "巨集管理器",
    .selectMacro = "選擇巨集",
    .keyPressSequence = "按鍵序列",
    .recordOption = "錄製選項",
    .recordDelays = "記錄按鍵動作間的延遲",
    .loopTimes = "迴圈次數",
    .newMacro = "新建",
    .deleteEntry = "刪除",
    .baseName = "巨集",
    .startRecording = "開始錄製",
    .stopRecording = "停止錄製",
    .recordingWindowText = "按Ctrl+Break 停止錄製",
    .insertLeftButton = "插入滑鼠左鍵",
    .insertMiddleButton = "插入滑鼠中鍵",
    .insertRightButton = "插入滑鼠右鍵",
    .insertDelay = "插入延時",
    .warningTitle = "警告",
    .limitMessage = "最多可以新建12個巨集。",
    .tooLongPart = "巨集太長，滑鼠無法容納：%2 個事件中只有 %1 個送達滑鼠。未送達的行已劃線標出。",
    .tooLongNothing =
        "巨集太長，滑鼠無法容納：%2 個事件都未送達滑鼠，因為有按鍵一直按住超出滑鼠的容量。滑鼠得到的是空巨集。",
    .delayRefused = "延時須為毫秒數，例如 120 或 120 ms。該行保持原值。",
    .fileTooLarge = "巨集檔案 record.ini 大於 4 MB，未被讀取。請將其移走以新建巨集檔案。",
    .deleteFailed = "無法刪除巨集；巨集檔案和設定保持原樣。",
    .saveFailed = "無法儲存巨集；巨集檔案保持原樣。",
    .nameBlank = "巨集名稱不能為空",
    .nameExists = "巨集名稱已存在",
};

void ReplaceAll(std::string& text, std::string_view marker, std::string_view value)
{
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
    }
}

} // namespace

const MacroManagerTexts& MacroManagerTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

std::string MacroTooLongText(Language language, std::size_t reached, std::size_t events)
{
    const MacroManagerTexts& texts = MacroManagerTextsFor(language);
    std::string text(reached == 0 ? texts.tooLongNothing : texts.tooLongPart);
    ReplaceAll(text, "%1", std::to_string(reached));
    ReplaceAll(text, "%2", std::to_string(events));
    return text;
}

} // namespace veldrane
