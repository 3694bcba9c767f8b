#include "core/text/FileErrorTexts.h"

#include <array>
#include <cerrno>
#include <string_view>
#include <system_error>

#include "core/ini/FileError.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"

namespace veldrane {

namespace {

struct Reason
{
    int code;
    std::array<std::string_view, 3> texts; // English, simplified Chinese, traditional Chinese
};

constexpr int Code(FileError error)
{
    return static_cast<int>(error);
}

constexpr std::array kReasons = {
    Reason{EACCES, {"Permission denied", "没有访问权限", "沒有存取權限"}},
    Reason{EPERM, {"Permission denied", "没有访问权限", "沒有存取權限"}},
    Reason{ENOENT, {"No such file or folder", "文件或文件夹不存在", "檔案或資料夾不存在"}},
    Reason{ENOSPC, {"No space left on the disk", "磁盘空间不足", "磁碟空間不足"}},
    Reason{EDQUOT, {"Disk quota exceeded", "磁盘配额已用完", "磁碟配額已用完"}},
    Reason{EROFS, {"The disk is read-only", "磁盘为只读", "磁碟為唯讀"}},
    Reason{EIO, {"Input/output error", "读写错误", "讀寫錯誤"}},
    Reason{EISDIR, {"It is a folder, not a file", "这是文件夹，不是文件", "這是資料夾，不是檔案"}},
    Reason{Code(FileError::NotRegularFile), {"Not a regular file", "不是普通文件", "不是一般檔案"}},
    Reason{Code(FileError::UndecodableText),
           {"The file holds bytes that are not text in its encoding; it was left as it is",
            "文件含有不符合其编码的字节，已保持原样", "檔案含有不符合其編碼的位元組，已保持原樣"}},
    Reason{Code(FileError::UnencodableText),
           {"The file's character set cannot hold the text; it was left as it is",
            "文件的字符集无法保存该文字，已保持原样", "檔案的字元集無法保存該文字，已保持原樣"}},
    Reason{Code(FileError::WrongProfileSize),
           {"A profile file has 1825 bytes; this one has another size", "配置文件应为 1825 字节，此文件大小不符",
            "設定檔應為 1825 位元組，此檔案大小不符"}},
    Reason{Code(FileError::DamagedJournal), {"The journal is damaged", "日志文件已损坏", "日誌檔案已損毀"}},
    Reason{Code(FileError::FileMissing), {"The file is not there", "文件不存在", "檔案不存在"}},
    Reason{Code(FileError::LabelBreaksLine),
           {"A label holds a line break; the file keeps its own", "标签含有换行符，文件保留原有内容",
            "標籤含有換行符號，檔案保留原有內容"}},
};

} // namespace

std::string FileErrorReason(int errorCode, Language language)
{
    for (const Reason& reason : kReasons) {
        if (reason.code == errorCode) {
            return std::string(ByLanguage(language, reason.texts[0], reason.texts[1], reason.texts[2]));
        }
    }
    return std::generic_category().message(errorCode);
}

std::string FileFailureMessage(const std::filesystem::path& file, int errorCode, Language language)
{
    std::string text = FormatWithErrorCode(kFileOpenErrorFormat, errorCode);
    text += file.string();
    text += ": ";
    text += FileErrorReason(errorCode, language);
    return text;
}

std::string UnreadableProfileMessage(const std::filesystem::path& file, const std::error_code& error, Language language)
{
    std::string text(MainWindowTextsFor(language).profileUnreadable);
    text += '\n';
    text += file.string();
    text += ": ";
    text += FileErrorReason(error.value(), language);
    return text;
}

std::string JournalRecoveryMessage(const std::filesystem::path& journal, const std::error_code& error,
                                   const std::filesystem::path& keptAside, Language language)
{
    if (keptAside.empty()) {
        return FileFailureMessage(journal, error.value(), language);
    }
    std::string text(MainWindowTextsFor(language).journalDamaged);
    text += '\n';
    text += keptAside.string();
    return text;
}

} // namespace veldrane
