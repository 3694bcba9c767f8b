#include "core/ini/FileError.h"

#include <cerrno>
#include <string>

namespace veldrane {

namespace {

class Category final : public std::error_category
{
public:
    const char* name() const noexcept override { return "veldrane.file"; }
    std::string message(int value) const override
    {
        switch (static_cast<FileError>(value)) {
        case FileError::NotRegularFile:
            return "Not a regular file";
        case FileError::UndecodableText:
            return "The file holds bytes that are no text in its encoding";
        case FileError::UnencodableText:
            return "The file's character set cannot hold the text";
        case FileError::WrongProfileSize:
            return "A profile file has 1825 bytes; this one has another size";
        case FileError::DamagedJournal:
            return "The journal is damaged";
        case FileError::FileMissing:
            return "The file is not there";
        case FileError::LabelBreaksLine:
            return "A label holds a line break";
        }
        return "Unknown file error";
    }
};

} // namespace

std::error_code StreamError()
{
    return errno != 0 ? std::error_code(errno, std::generic_category()) : std::make_error_code(std::errc::io_error);
}

const std::error_category& FileErrorCategory()
{
    static const Category category;
    return category;
}

} // namespace veldrane
